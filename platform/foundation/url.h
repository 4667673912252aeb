// URLs and relative references (RFC 3986): strict parsing, resolution against a base, percent-encoding.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// A URI reference: either absolute (with a scheme) or relative. Components are kept as written
// (percent-encoded); the accessors marked "decoded" return percent-decoded text. A URL made relative to a
// base is stored resolved: its absoluteString is the resolved reference, its relativeString the text given.
class URL {
 public:
  // The URL of a text, or nothing when the text is not a URI reference by RFC 3986: an empty text, a text
  // with a space, a non-ASCII character or any other character RFC 3986 does not allow (a character may
  // appear percent-encoded as "%" and two hexadecimal digits), a malformed scheme, authority or port.
  static std::optional<URL> parse(std::string_view text);

  // The URL of a text resolved against a base (RFC 3986 section 5.2) when the text is a relative reference
  // and a base is given; without a base, or for an absolute text, the same as parse(text).
  static std::optional<URL> parse(std::string_view text, const std::optional<URL>& base);

  // A "file" URL of an absolute file-system path (a relative path is taken from the root); the path is
  // percent-encoded where needed and ends with "/" when `isDirectory` is true.
  static URL fileURL(std::string_view path, bool isDirectory = false);

  // The complete text of the URL (resolved when it was made relative to a base).
  std::string absoluteString() const;
  // The text the URL was made from (the same as absoluteString for URLs made in other ways).
  const std::string& relativeString() const { return relativeString_; }

  // Components as written. Absent components are nothing; a present but empty query ("?") is "".
  const std::optional<std::string>& scheme() const { return scheme_; }
  // The authority ("user@host:port") when the URL has one.
  const std::optional<std::string>& authority() const { return authority_; }
  const std::optional<std::string>& user() const { return user_; }
  const std::optional<std::string>& password() const { return password_; }
  // The host without the brackets of an IP literal ("::1" for "http://[::1]/").
  const std::optional<std::string>& host() const { return host_; }
  std::optional<int> port() const { return port_; }
  // The path as written, percent-encoded ("" when there is none).
  const std::string& percentEncodedPath() const { return path_; }
  const std::optional<std::string>& query() const { return query_; }
  const std::optional<std::string>& fragment() const { return fragment_; }

  // The path, percent-decoded.
  std::string path() const;
  // Whether the URL has a scheme (an absolute URI, possibly with a fragment).
  bool isAbsolute() const { return scheme_.has_value(); }
  // Whether the scheme is "file" (ignoring case).
  bool isFileURL() const;
  // The last non-empty segment of the path, percent-decoded ("/" for the root path, "" for no path).
  std::string lastPathComponent() const;
  // The URL with a path component appended: a "/" separator is added when the path does not end with one,
  // and characters a path may not hold are percent-encoded ("/" inside the component separates segments,
  // "%" is taken literally). The query and fragment are kept.
  URL appendingPathComponent(std::string_view component) const;
  // This reference resolved against a base (RFC 3986 section 5.2.2); an absolute URL is returned with its
  // dot segments removed.
  URL resolvedAgainst(const URL& base) const;

  // URLs are equal when their absolute strings are equal (no normalisation).
  bool operator==(const URL& other) const { return absoluteString() == other.absoluteString(); }

 private:
  URL() = default;

  std::string relativeString_;
  std::optional<std::string> scheme_;
  std::optional<std::string> authority_;
  std::optional<std::string> user_;
  std::optional<std::string> password_;
  std::optional<std::string> host_;
  std::optional<int> port_;
  std::string path_;
  std::optional<std::string> query_;
  std::optional<std::string> fragment_;
};

// The text with every byte outside the unreserved set (ASCII letters, digits, "-", ".", "_", "~")
// written as "%" and two upper-case hexadecimal digits; fit for a path segment or a query value.
std::string percentEncoded(std::string_view text);

// The text with every "%" and two hexadecimal digits replaced by that byte, or nothing when a "%" is not
// followed by two hexadecimal digits. The result is bytes; it is not checked to be valid UTF-8.
std::optional<std::string> percentDecoded(std::string_view text);

}  // namespace foundation

template <>
struct std::hash<foundation::URL> {
  std::size_t operator()(const foundation::URL& url) const noexcept;
};
