#include "platform/foundation/url.h"

#include <algorithm>
#include <cstdint>

namespace foundation {
namespace {

bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool isUnreserved(char c) { return isAlpha(c) || isDigit(c) || c == '-' || c == '.' || c == '_' || c == '~'; }
bool isSubDelimiter(char c) {
  switch (c) {
    case '!':
    case '$':
    case '&':
    case '\'':
    case '(':
    case ')':
    case '*':
    case '+':
    case ',':
    case ';':
    case '=':
      return true;
    default:
      return false;
  }
}
bool isGeneralDelimiter(char c) {
  switch (c) {
    case ':':
    case '/':
    case '?':
    case '#':
    case '[':
    case ']':
    case '@':
      return true;
    default:
      return false;
  }
}
// pchar of RFC 3986 without the percent-encoded form.
bool isPathCharacter(char c) { return isUnreserved(c) || isSubDelimiter(c) || c == ':' || c == '@'; }

int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

// Whether every character of a text is one RFC 3986 allows somewhere in a URI, and every "%" starts a
// percent-encoded byte.
bool hasOnlyUriCharacters(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '%') {
      if (i + 2 >= text.size() || !isHexDigit(text[i + 1]) || !isHexDigit(text[i + 2])) return false;
      i += 2;
    } else if (!isUnreserved(c) && !isSubDelimiter(c) && !isGeneralDelimiter(c)) {
      return false;
    }
  }
  return true;
}

// Whether every character is allowed by the predicate or part of a percent-encoded byte (already checked).
template <typename Allowed>
bool consistsOf(std::string_view text, Allowed allowed) {
  return std::all_of(text.begin(), text.end(), [&](char c) { return c == '%' || allowed(c); });
}

bool isValidScheme(std::string_view scheme) {
  if (scheme.empty() || !isAlpha(scheme.front())) return false;
  return std::all_of(scheme.begin(), scheme.end(),
                     [](char c) { return isAlpha(c) || isDigit(c) || c == '+' || c == '-' || c == '.'; });
}

bool isValidIpLiteral(std::string_view literal) {
  if (literal.empty()) return false;
  if (literal.front() == 'v' || literal.front() == 'V') {  // IPvFuture: "v" 1*HEXDIG "." 1*(...)
    const auto dot = literal.find('.');
    if (dot == std::string_view::npos || dot < 2 || dot + 1 == literal.size()) return false;
    const auto version = literal.substr(1, dot - 1);
    const auto rest = literal.substr(dot + 1);
    return std::all_of(version.begin(), version.end(), isHexDigit) &&
           std::all_of(rest.begin(), rest.end(),
                       [](char c) { return isUnreserved(c) || isSubDelimiter(c) || c == ':'; });
  }
  // An IPv6 address (possibly ending in dotted IPv4); the exact grouping is not checked.
  return literal.find(':') != std::string_view::npos &&
         std::all_of(literal.begin(), literal.end(),
                     [](char c) { return isHexDigit(c) || c == ':' || c == '.'; });
}

// RFC 3986 section 5.2.4.
std::string removingDotSegments(std::string_view input) {
  std::string output;
  while (!input.empty()) {
    if (input.starts_with("../")) {
      input.remove_prefix(3);
    } else if (input.starts_with("./")) {
      input.remove_prefix(2);
    } else if (input.starts_with("/./")) {
      input.remove_prefix(2);
    } else if (input == "/.") {
      input = "/";
    } else if (input.starts_with("/../") || input == "/..") {
      input = input.size() == 3 ? std::string_view("/") : input.substr(3);
      const auto lastSlash = output.rfind('/');
      output.erase(lastSlash == std::string::npos ? 0 : lastSlash);
    } else if (input == "." || input == "..") {
      input = {};
    } else {
      const std::size_t start = input.front() == '/' ? 1 : 0;
      const auto nextSlash = input.find('/', start);
      const std::size_t end = nextSlash == std::string_view::npos ? input.size() : nextSlash;
      output.append(input.substr(0, end));
      input.remove_prefix(end);
    }
  }
  return output;
}

std::string encodedWhere(std::string_view text, bool (*allowed)(char)) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (allowed(c)) {
      out.push_back(c);
    } else {
      const auto byte = static_cast<std::uint8_t>(c);
      out.push_back('%');
      out.push_back(digits[byte >> 4]);
      out.push_back(digits[byte & 0x0F]);
    }
  }
  return out;
}

bool isPathOrSlash(char c) { return isPathCharacter(c) || c == '/'; }

}  // namespace

std::optional<URL> URL::parse(std::string_view text) {
  if (text.empty() || !hasOnlyUriCharacters(text)) return std::nullopt;
  URL url;
  url.relativeString_ = std::string(text);
  std::string_view rest = text;

  // Scheme: text before a ":" that comes before any "/", "?" or "#".
  const auto firstDelimiter = rest.find_first_of(":/?#");
  if (firstDelimiter != std::string_view::npos && rest[firstDelimiter] == ':') {
    const auto scheme = rest.substr(0, firstDelimiter);
    // A relative reference may not have ":" in its first segment, so this must be a scheme.
    if (!isValidScheme(scheme)) return std::nullopt;
    url.scheme_ = std::string(scheme);
    rest.remove_prefix(firstDelimiter + 1);
  }

  if (const auto hash = rest.find('#'); hash != std::string_view::npos) {
    const auto fragment = rest.substr(hash + 1);
    if (!consistsOf(fragment, [](char c) { return isPathCharacter(c) || c == '/' || c == '?'; }))
      return std::nullopt;
    url.fragment_ = std::string(fragment);
    rest = rest.substr(0, hash);
  }
  if (const auto question = rest.find('?'); question != std::string_view::npos) {
    const auto query = rest.substr(question + 1);
    if (!consistsOf(query, [](char c) { return isPathCharacter(c) || c == '/' || c == '?'; }))
      return std::nullopt;
    url.query_ = std::string(query);
    rest = rest.substr(0, question);
  }

  if (rest.starts_with("//")) {
    rest.remove_prefix(2);
    const auto slash = rest.find('/');
    const auto authority = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    url.authority_ = std::string(authority);

    std::string_view hostAndPort = authority;
    if (const auto at = authority.find('@'); at != std::string_view::npos) {
      const auto userInfo = authority.substr(0, at);
      if (!consistsOf(userInfo, [](char c) { return isUnreserved(c) || isSubDelimiter(c) || c == ':'; })) {
        return std::nullopt;
      }
      const auto colon = userInfo.find(':');
      url.user_ = std::string(userInfo.substr(0, colon));
      if (colon != std::string_view::npos) url.password_ = std::string(userInfo.substr(colon + 1));
      hostAndPort = authority.substr(at + 1);
    }
    std::string_view host = hostAndPort;
    std::string_view portText;
    bool hasPort = false;
    if (hostAndPort.starts_with("[")) {
      const auto close = hostAndPort.find(']');
      if (close == std::string_view::npos || !isValidIpLiteral(hostAndPort.substr(1, close - 1)))
        return std::nullopt;
      host = hostAndPort.substr(1, close - 1);
      const auto after = hostAndPort.substr(close + 1);
      if (!after.empty()) {
        if (after.front() != ':') return std::nullopt;
        hasPort = true;
        portText = after.substr(1);
      }
    } else {
      if (const auto colon = hostAndPort.find(':'); colon != std::string_view::npos) {
        hasPort = true;
        portText = hostAndPort.substr(colon + 1);
        host = hostAndPort.substr(0, colon);
      }
      if (!consistsOf(host, [](char c) { return isUnreserved(c) || isSubDelimiter(c); })) return std::nullopt;
    }
    if (hasPort) {
      if (!std::all_of(portText.begin(), portText.end(), isDigit) || portText.size() > 5) return std::nullopt;
      if (!portText.empty()) {
        int port = 0;
        for (char c : portText) port = port * 10 + (c - '0');
        if (port > 65535) return std::nullopt;
        url.port_ = port;
      }
    }
    if (!host.empty()) url.host_ = std::string(host);
  }

  if (!consistsOf(rest, isPathOrSlash)) return std::nullopt;
  url.path_ = std::string(rest);
  return url;
}

std::optional<URL> URL::parse(std::string_view text, const std::optional<URL>& base) {
  auto url = parse(text);
  if (!url || !base || url->isAbsolute()) return url;
  URL resolved = url->resolvedAgainst(*base);
  resolved.relativeString_ = std::string(text);
  return resolved;
}

URL URL::fileURL(std::string_view path, bool isDirectory) {
  URL url;
  url.scheme_ = "file";
  url.authority_ = "";
  url.path_ = encodedWhere(path, isPathOrSlash);
  if (!url.path_.starts_with("/")) url.path_.insert(0, "/");
  if (isDirectory && !url.path_.ends_with("/")) url.path_.push_back('/');
  url.relativeString_ = url.absoluteString();
  return url;
}

std::string URL::absoluteString() const {
  std::string text;
  if (scheme_) text.append(*scheme_).push_back(':');
  if (authority_) text.append("//").append(*authority_);
  text.append(path_);
  if (query_) text.append("?").append(*query_);
  if (fragment_) text.append("#").append(*fragment_);
  return text;
}

std::string URL::path() const { return percentDecoded(path_).value_or(path_); }

bool URL::isFileURL() const {
  if (!scheme_ || scheme_->size() != 4) return false;
  std::string lower;
  for (char c : *scheme_) lower.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
  return lower == "file";
}

std::string URL::lastPathComponent() const {
  std::string_view path = path_;
  if (path.empty()) return {};
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  if (path == "/") return "/";
  const auto slash = path.rfind('/');
  const auto component = slash == std::string_view::npos ? path : path.substr(slash + 1);
  return percentDecoded(component).value_or(std::string(component));
}

URL URL::appendingPathComponent(std::string_view component) const {
  URL url = *this;
  const bool needsSeparator = url.path_.empty() ? url.authority_.has_value() : !url.path_.ends_with("/");
  if (needsSeparator) url.path_.push_back('/');
  url.path_.append(encodedWhere(component, isPathOrSlash));
  url.relativeString_ = url.absoluteString();
  return url;
}

URL URL::resolvedAgainst(const URL& base) const {
  URL target;
  if (scheme_) {
    target = *this;
    target.path_ = removingDotSegments(path_);
  } else {
    if (authority_) {
      target = *this;
      target.path_ = removingDotSegments(path_);
    } else {
      target.authority_ = base.authority_;
      target.user_ = base.user_;
      target.password_ = base.password_;
      target.host_ = base.host_;
      target.port_ = base.port_;
      if (path_.empty()) {
        target.path_ = base.path_;
        target.query_ = query_ ? query_ : base.query_;
      } else {
        if (path_.starts_with("/")) {
          target.path_ = removingDotSegments(path_);
        } else if (base.authority_ && base.path_.empty()) {
          target.path_ = removingDotSegments("/" + path_);
        } else {
          const auto slash = base.path_.rfind('/');
          const std::string merged =
              (slash == std::string::npos ? std::string() : base.path_.substr(0, slash + 1)) + path_;
          target.path_ = removingDotSegments(merged);
        }
        target.query_ = query_;
      }
    }
    target.scheme_ = base.scheme_;
  }
  target.fragment_ = fragment_;
  target.relativeString_ = target.absoluteString();
  return target;
}

std::string percentEncoded(std::string_view text) { return encodedWhere(text, isUnreserved); }

std::optional<std::string> percentDecoded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size() || !isHexDigit(text[i + 1]) || !isHexDigit(text[i + 2])) return std::nullopt;
    out.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
    i += 2;
  }
  return out;
}

}  // namespace foundation

std::size_t std::hash<foundation::URL>::operator()(const foundation::URL& url) const noexcept {
  return std::hash<std::string>()(url.absoluteString());
}
