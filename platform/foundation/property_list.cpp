#include "platform/foundation/property_list.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/foundation/text_error.h"
#include "platform/foundation/utf16.h"

namespace foundation {

PlistValue::PlistValue() : storage_(std::string()) {}
PlistValue::PlistValue(bool value) : storage_(value) {}
PlistValue::PlistValue(double value) : storage_(value) {}
PlistValue::PlistValue(float value) : storage_(static_cast<double>(value)) {}
PlistValue::PlistValue(std::string value) : storage_(std::move(value)) {}
PlistValue::PlistValue(std::string_view value) : storage_(std::string(value)) {}
PlistValue::PlistValue(const char* value) : storage_(std::string(value ? value : "")) {}
PlistValue::PlistValue(Data value) : storage_(std::move(value)) {}
PlistValue::PlistValue(Date value) : storage_(value) {}
PlistValue::PlistValue(Array value) : storage_(std::move(value)) {}
PlistValue::PlistValue(Dictionary value) : storage_(std::move(value)) {}

PlistKind PlistValue::kind() const { return static_cast<PlistKind>(storage_.index()); }

std::optional<bool> PlistValue::boolValue() const {
  if (auto* value = std::get_if<bool>(&storage_)) return *value;
  return std::nullopt;
}

std::optional<std::int64_t> PlistValue::integerValue() const {
  if (auto* value = std::get_if<std::int64_t>(&storage_)) return *value;
  return std::nullopt;
}

std::optional<double> PlistValue::doubleValue() const {
  if (auto* value = std::get_if<double>(&storage_)) return *value;
  if (auto* value = std::get_if<std::int64_t>(&storage_)) return static_cast<double>(*value);
  return std::nullopt;
}

const std::string* PlistValue::stringValue() const { return std::get_if<std::string>(&storage_); }
const PlistValue::Data* PlistValue::dataValue() const { return std::get_if<Data>(&storage_); }
std::optional<PlistValue::Date> PlistValue::dateValue() const {
  if (auto* value = std::get_if<Date>(&storage_)) return *value;
  return std::nullopt;
}
const PlistValue::Array* PlistValue::arrayValue() const { return std::get_if<Array>(&storage_); }
const PlistValue::Dictionary* PlistValue::dictionaryValue() const {
  return std::get_if<Dictionary>(&storage_);
}
PlistValue::Array* PlistValue::arrayValue() { return std::get_if<Array>(&storage_); }
PlistValue::Dictionary* PlistValue::dictionaryValue() { return std::get_if<Dictionary>(&storage_); }

namespace {

// ---- Numbers and dates as text (never locale-dependent) ----

std::string realText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "+infinity" : "-infinity";
  return fmt::format("{}", value);  // shortest form that reads back exactly
}

// Days from 1970-01-01 of a proleptic Gregorian date, and back (Howard Hinnant's civil algorithms).
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const auto yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

struct Civil {
  std::int64_t year;
  unsigned month;
  unsigned day;
};

Civil civilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
  const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const unsigned mp = (5 * dayOfYear + 2) / 153;
  const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const unsigned month = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2), month, day};
}

std::string dateText(PlistValue::Date date) {
  using namespace std::chrono;
  const auto sinceEpoch = date.time_since_epoch();
  auto seconds = floor<std::chrono::seconds>(sinceEpoch);
  const auto fraction = duration_cast<nanoseconds>(sinceEpoch - seconds).count();
  std::int64_t total = seconds.count();
  std::int64_t days = total >= 0 ? total / 86400 : -((-total + 86399) / 86400);
  std::int64_t secondOfDay = total - days * 86400;
  const Civil civil = civilFromDays(days);
  std::string text = fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}", civil.year, civil.month, civil.day,
                                 secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60);
  if (fraction != 0) {
    std::string digits = fmt::format("{:09}", fraction);
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    text += "." + digits;
  }
  return text + "Z";
}

// ---- Base64 ----

constexpr std::string_view base64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64(const PlistValue::Data& bytes) {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned n = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
    for (int shift = 18; shift >= 0; shift -= 6) text += base64Alphabet[(n >> shift) & 63];
  }
  if (const std::size_t rest = bytes.size() - i; rest > 0) {
    const unsigned n = (bytes[i] << 16) | (rest == 2 ? bytes[i + 1] << 8 : 0);
    text += base64Alphabet[(n >> 18) & 63];
    text += base64Alphabet[(n >> 12) & 63];
    text += rest == 2 ? base64Alphabet[(n >> 6) & 63] : '=';
    text += '=';
  }
  return text;
}

// ---- Writing ----

// The first of the lone surrogates that stand for the bytes 0x80 to 0xFF outside well-formed UTF-8.
constexpr std::uint32_t escapedByteBase = 0xDC00;

void appendEscaped(std::string& out, std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      if (const std::size_t length = validUtf8SequenceLength(text, i)) {
        out.append(text.substr(i, length));
        i += length;
      } else {
        out += fmt::format("&#x{:X};", escapedByteBase + byte);
        ++i;
      }
      continue;
    }
    ++i;
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        // Carriage returns and other control characters are written as references so that they survive
        // line-end normalisation of XML readers.
        if ((byte < 0x20 && c != '\t' && c != '\n') || byte == 0x7f) {
          out += fmt::format("&#{};", static_cast<unsigned>(byte));
        } else {
          out += c;
        }
    }
  }
}

void writeValue(std::string& out, const PlistValue& value, int depth) {
  const std::string indent(static_cast<std::size_t>(depth), '\t');
  out += indent;
  std::visit(
      [&](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
          out += v ? "<true/>" : "<false/>";
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          out += fmt::format("<integer>{}</integer>", v);
        } else if constexpr (std::is_same_v<T, double>) {
          out += "<real>" + realText(v) + "</real>";
        } else if constexpr (std::is_same_v<T, std::string>) {
          out += "<string>";
          appendEscaped(out, v);
          out += "</string>";
        } else if constexpr (std::is_same_v<T, PlistValue::Data>) {
          out += "<data>" + base64(v) + "</data>";
        } else if constexpr (std::is_same_v<T, PlistValue::Date>) {
          out += "<date>" + dateText(v) + "</date>";
        } else if constexpr (std::is_same_v<T, PlistValue::Array>) {
          if (v.empty()) {
            out += "<array/>";
            return;
          }
          out += "<array>\n";
          for (const auto& element : v) writeValue(out, element, depth + 1);
          out += indent + "</array>";
        } else {
          if (v.empty()) {
            out += "<dict/>";
            return;
          }
          out += "<dict>\n";
          for (const auto& [key, element] : v) {
            out += indent + "\t<key>";
            appendEscaped(out, key);
            out += "</key>\n";
            writeValue(out, element, depth + 1);
          }
          out += indent + "</dict>";
        }
      },
      value.storage());
  out += '\n';
}

// ---- Reading ----

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  PlistValue document() {
    const bool isWrapped = openDocument();
    PlistValue result = value(openTag(), 0);
    closeDocument(isWrapped);
    return result;
  }

  // Reads a document whose top level is a dictionary, entry by entry: a damaged entry is skipped and
  // noted, and the entries read up to a point where the document can no longer be followed are kept.
  SalvagedPropertyList salvagedDocument() {
    SalvagedPropertyList result;
    const bool isWrapped = openDocument();
    const Tag tag = openTag();
    if (tag.name != "dict") fail("its top level is not a dictionary");
    if (!tag.selfClosing && !salvageEntries(result)) return result;
    try {
      if (!tag.selfClosing) closeTag("dict");
      closeDocument(isWrapped);
    } catch (const TextError& error) {
      result.faults.push_back(error.text());
    }
    return result;
  }

 private:
  struct Tag {
    std::string name;
    bool selfClosing = false;
  };

  // Skips what precedes the top-level value; true when that value is wrapped in a plist element.
  bool openDocument() {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    skipMisc();
    const std::size_t start = pos_;
    const Tag tag = openTag();
    if (tag.name != "plist") {
      pos_ = start;
      return false;
    }
    if (tag.selfClosing) fail("the plist element is empty");
    skipMisc();
    return true;
  }

  void closeDocument(bool isWrapped) {
    if (isWrapped) {
      skipMisc();
      closeTag("plist");
    }
    skipMisc();
    if (pos_ != text_.size()) fail("unexpected text after the document");
  }

  // Reads the entries of an open dictionary up to its closing tag, at which it stops. An entry that
  // cannot be read is noted and skipped; false when the rest of the dictionary cannot be found.
  bool salvageEntries(SalvagedPropertyList& result) {
    for (;;) {
      const std::size_t entryStart = pos_;
      try {
        skipMisc();
        if (atEnd()) fail("unterminated <dict>");
        if (startsWith("</")) return true;
        std::string key = entryKey();
        result.entries.insert_or_assign(std::move(key), value(openTag(), 1));
      } catch (const TextError& error) {
        result.faults.push_back(error.text());
        pos_ = entryStart;
        if (!skipEntry()) return false;
      }
    }
  }

  // The key of a dictionary entry, leaving the reader at its value.
  std::string entryKey() {
    const Tag keyTag = openTag();
    if (keyTag.name != "key") fail("expected <key> in a dictionary");
    std::string key = text(keyTag);
    skipMisc();
    if (startsWith("</")) fail("a dictionary key has no value");
    return key;
  }

  // Steps over one damaged entry by its tags alone: its key (or what stands in its place) and the element
  // after it, unless that is the next entry's key. False when the elements cannot be followed.
  bool skipEntry() {
    try {
      skipMisc();
      if (!atEnd() && text_[pos_] != '<') {
        // Stray text between entries: the next element may still be whole.
        pos_ = std::min(text_.find('<', pos_), text_.size());
        return !atEnd();
      }
      skipElement();
      skipMisc();
      if (startsWith("</") || nextElementName() == "key") return true;
      skipElement();
      return true;
    } catch (const TextError&) {
      return false;
    }
  }

  std::string nextElementName() {
    const std::size_t start = pos_;
    std::string name;
    if (startsWith("<")) {
      ++pos_;
      while (!atEnd() && isNameChar(text_[pos_])) name += text_[pos_++];
    }
    pos_ = start;
    return name;
  }

  // Steps over one element and everything inside it, matching tags by nesting only.
  void skipElement() {
    if (openTag().selfClosing) return;
    for (int depth = 1; depth > 0;) {
      const std::size_t next = text_.find('<', pos_);
      if (next == std::string_view::npos) fail("unterminated element");
      pos_ = next;
      if (startsWith("<!--")) {
        skipPast("-->", "comment");
      } else if (startsWith("<![CDATA[")) {
        skipPast("]]>", "CDATA section");
      } else if (startsWith("<?")) {
        skipPast("?>", "processing instruction");
      } else if (startsWith("</")) {
        skipPast(">", "element");
        --depth;
      } else if (!openTag().selfClosing) {
        ++depth;
      }
    }
  }

  [[noreturn]] void fail(std::string_view reason) const {
    std::size_t line = 1;
    for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) line += text_[i] == '\n';
    throw TextError(fmt::format("The property list is not valid: {} (line {}).", reason, line));
  }

  bool atEnd() const { return pos_ >= text_.size(); }
  bool startsWith(std::string_view prefix) const { return text_.substr(pos_).starts_with(prefix); }
  static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
  void skipSpace() {
    while (!atEnd() && isSpace(text_[pos_])) ++pos_;
  }

  void skipPast(std::string_view terminator, std::string_view what) {
    const std::size_t end = text_.find(terminator, pos_);
    if (end == std::string_view::npos) fail(fmt::format("unterminated {}", what));
    pos_ = end + terminator.size();
  }

  // Skips white space, comments, processing instructions and a document type declaration.
  void skipMisc() {
    for (;;) {
      skipSpace();
      if (startsWith("<!--")) {
        skipPast("-->", "comment");
      } else if (startsWith("<?")) {
        skipPast("?>", "processing instruction");
      } else if (startsWith("<!DOCTYPE")) {
        int brackets = 0;
        for (;;) {
          if (atEnd()) fail("unterminated document type declaration");
          const char c = text_[pos_++];
          if (c == '[') ++brackets;
          if (c == ']') --brackets;
          if (c == '>' && brackets <= 0) break;
        }
      } else {
        return;
      }
    }
  }

  static bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == ':';
  }

  // Reads "<name attributes...>" or "<name .../>"; attributes are skipped.
  Tag openTag() {
    if (atEnd() || text_[pos_] != '<') fail("expected an element");
    ++pos_;
    Tag tag;
    while (!atEnd() && isNameChar(text_[pos_])) tag.name += text_[pos_++];
    if (tag.name.empty()) fail("expected an element name");
    char quote = 0;
    for (;;) {
      if (atEnd()) fail("unterminated element");
      const char c = text_[pos_++];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '<') {
        fail("unexpected \"<\" inside an element");
      } else if (c == '/') {
        if (atEnd() || text_[pos_] != '>') fail("malformed empty element");
        ++pos_;
        tag.selfClosing = true;
        return tag;
      } else if (c == '>') {
        return tag;
      }
    }
  }

  void closeTag(std::string_view name) {
    if (!startsWith("</")) fail(fmt::format("expected </{}>", name));
    pos_ += 2;
    if (text_.substr(pos_, name.size()) != name) fail(fmt::format("expected </{}>", name));
    pos_ += name.size();
    skipSpace();
    if (atEnd() || text_[pos_] != '>') fail(fmt::format("expected </{}>", name));
    ++pos_;
  }

  void entity(std::string& out) {
    const std::size_t end = text_.find(';', pos_);
    if (end == std::string_view::npos || end - pos_ > 12) fail("malformed character reference");
    const std::string_view name = text_.substr(pos_ + 1, end - pos_ - 1);
    if (name == "amp") {
      out += '&';
    } else if (name == "lt") {
      out += '<';
    } else if (name == "gt") {
      out += '>';
    } else if (name == "quot") {
      out += '"';
    } else if (name == "apos") {
      out += '\'';
    } else if (name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string_view digits = name.substr(hex ? 2 : 1);
      std::uint32_t cp = 0;
      const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), cp, hex ? 16 : 10);
      if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size() || cp > 0x10FFFF) {
        fail("invalid character reference");
      }
      if (cp >= escapedByteBase + 0x80 && cp <= escapedByteBase + 0xFF) {
        out += static_cast<char>(cp - escapedByteBase);  // a byte outside well-formed UTF-8
      } else if (cp >= 0xD800 && cp <= 0xDFFF) {
        fail("invalid character reference");
      } else {
        out += utf8(cp);
      }
    } else {
      fail("unknown entity");
    }
    pos_ = end + 1;
  }

  // The text content of an element up to and including its closing tag.
  std::string content(std::string_view name) {
    std::string out;
    for (;;) {
      if (atEnd()) fail(fmt::format("unterminated <{}>", name));
      const char c = text_[pos_];
      if (c == '<') {
        if (startsWith("<!--")) {
          skipPast("-->", "comment");
        } else if (startsWith("<![CDATA[")) {
          pos_ += 9;
          const std::size_t end = text_.find("]]>", pos_);
          if (end == std::string_view::npos) fail("unterminated CDATA section");
          out += text_.substr(pos_, end - pos_);
          pos_ = end + 3;
        } else {
          closeTag(name);
          return out;
        }
      } else if (c == '&') {
        entity(out);
      } else {
        out += c;
        ++pos_;
      }
    }
  }

  static std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
  }

  std::string text(const Tag& tag) { return tag.selfClosing ? std::string() : content(tag.name); }

  PlistValue value(const Tag& tag, int depth) {
    if (depth > maximumPropertyListDepth) fail("nesting too deep");
    const std::string& name = tag.name;
    if (name == "true" || name == "false") {
      if (!tag.selfClosing && !trimmed(content(name)).empty()) fail("unexpected text in a Boolean");
      return PlistValue(name == "true");
    }
    if (name == "string") return PlistValue(text(tag));
    if (name == "integer") return integer(trimmed(text(tag)));
    if (name == "real") return real(trimmed(text(tag)));
    if (name == "data") return data(text(tag));
    if (name == "date") return date(trimmed(text(tag)));
    if (name == "array") {
      PlistValue::Array array;
      if (tag.selfClosing) return PlistValue(std::move(array));
      for (;;) {
        skipMisc();
        if (startsWith("</")) break;
        array.push_back(value(openTag(), depth + 1));
      }
      closeTag("array");
      return PlistValue(std::move(array));
    }
    if (name == "dict") {
      PlistValue::Dictionary dictionary;
      if (tag.selfClosing) return PlistValue(std::move(dictionary));
      for (;;) {
        skipMisc();
        if (startsWith("</")) break;
        std::string key = entryKey();
        dictionary.insert_or_assign(std::move(key), value(openTag(), depth + 1));
      }
      closeTag("dict");
      return PlistValue(std::move(dictionary));
    }
    fail(fmt::format("unknown element <{}>", name));
  }

  PlistValue integer(std::string_view digits) {
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    std::int64_t number = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size()) fail("invalid integer");
    return PlistValue(number);
  }

  PlistValue real(std::string_view digits) {
    std::string lower;
    for (const char c : digits) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (lower == "nan") return PlistValue(std::numeric_limits<double>::quiet_NaN());
    if (lower == "+infinity" || lower == "infinity" || lower == "+inf" || lower == "inf") {
      return PlistValue(std::numeric_limits<double>::infinity());
    }
    if (lower == "-infinity" || lower == "-inf") return PlistValue(-std::numeric_limits<double>::infinity());
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    double number = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size()) fail("invalid real");
    return PlistValue(number);
  }

  PlistValue data(std::string_view encoded) {
    PlistValue::Data bytes;
    unsigned buffer = 0;
    int bits = 0;
    int padding = 0;
    for (const char c : encoded) {
      if (isSpace(c)) continue;
      if (c == '=') {
        ++padding;
        continue;
      }
      const std::size_t index = base64Alphabet.find(c);
      if (index == std::string_view::npos || padding > 0) fail("invalid base64 data");
      buffer = (buffer << 6) | static_cast<unsigned>(index);
      bits += 6;
      if (bits >= 8) {
        bits -= 8;
        bytes.push_back(static_cast<std::uint8_t>((buffer >> bits) & 0xFF));
      }
    }
    if (padding > 2 || bits >= 6) fail("invalid base64 data");
    return PlistValue(std::move(bytes));
  }

  PlistValue date(std::string_view text) {
    // YYYY-MM-DDTHH:MM:SS[.fraction]Z
    auto number = [&](std::size_t at, std::size_t length) -> int {
      if (at + length > text.size()) fail("invalid date");
      int n = 0;
      for (std::size_t i = at; i < at + length; ++i) {
        if (text[i] < '0' || text[i] > '9') fail("invalid date");
        n = n * 10 + (text[i] - '0');
      }
      return n;
    };
    auto expect = [&](std::size_t at, char c) {
      if (at >= text.size() || text[at] != c) fail("invalid date");
    };
    const int year = number(0, 4);
    expect(4, '-');
    const int month = number(5, 2);
    expect(7, '-');
    const int day = number(8, 2);
    expect(10, 'T');
    const int hour = number(11, 2);
    expect(13, ':');
    const int minute = number(14, 2);
    expect(16, ':');
    const int second = number(17, 2);
    std::size_t at = 19;
    std::int64_t nanoseconds = 0;
    if (at < text.size() && text[at] == '.') {
      ++at;
      int digits = 0;
      while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        if (digits < 9) {
          nanoseconds = nanoseconds * 10 + (text[at] - '0');
          ++digits;
        }
        ++at;
      }
      if (digits == 0) fail("invalid date");
      for (; digits < 9; ++digits) nanoseconds *= 10;
    }
    expect(at, 'Z');
    if (at + 1 != text.size()) fail("invalid date");
    static constexpr std::array<int, 12> monthDays = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month < 1 || month > 12 || day < 1 || day > monthDays[static_cast<std::size_t>(month - 1)] ||
        (month == 2 && day == 29 && !leap) || hour > 23 || minute > 59 || second > 59) {
      fail("invalid date");
    }
    const std::int64_t seconds =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 + hour * 3600 +
        minute * 60 + second;
    // The clock's nanosecond ticks cover about 292 years either side of 1970.
    using Duration = PlistValue::Date::duration;
    const auto limit = std::chrono::duration_cast<std::chrono::seconds>(Duration::max()).count() - 1;
    if (seconds > limit || seconds < -limit) fail("date out of range");
    return PlistValue(
        PlistValue::Date(std::chrono::duration_cast<Duration>(std::chrono::seconds(seconds)) +
                         std::chrono::duration_cast<Duration>(std::chrono::nanoseconds(nanoseconds))));
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

void describeInto(std::string& out, const PlistValue& value) {
  std::visit(
      [&](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, bool>) {
          out += v ? "true" : "false";
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
          out += fmt::format("{}", v);
        } else if constexpr (std::is_same_v<T, double>) {
          out += realText(v) + "r";
        } else if constexpr (std::is_same_v<T, std::string>) {
          out += "\"" + v + "\"";
        } else if constexpr (std::is_same_v<T, PlistValue::Data>) {
          out += "<" + base64(v) + ">";
        } else if constexpr (std::is_same_v<T, PlistValue::Date>) {
          out += "@" + dateText(v);
        } else if constexpr (std::is_same_v<T, PlistValue::Array>) {
          out += "[";
          for (std::size_t i = 0; i < v.size(); ++i) {
            if (i) out += ", ";
            describeInto(out, v[i]);
          }
          out += "]";
        } else {
          out += "{";
          bool first = true;
          for (const auto& [key, element] : v) {
            if (!first) out += ", ";
            first = false;
            out += "\"" + key + "\": ";
            describeInto(out, element);
          }
          out += "}";
        }
      },
      value.storage());
}

}  // namespace

std::string describe(const PlistValue& value) {
  std::string out;
  describeInto(out, value);
  return out;
}

std::ostream& operator<<(std::ostream& stream, const PlistValue& value) { return stream << describe(value); }

std::string writeXMLPropertyList(const PlistValue& value) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
      "<plist version=\"1.0\">\n";
  writeValue(out, value, 0);
  out += "</plist>\n";
  return out;
}

PlistValue readXMLPropertyList(std::string_view text) { return Reader(text).document(); }

SalvagedPropertyList salvageXMLPropertyList(std::string_view text) { return Reader(text).salvagedDocument(); }

}  // namespace foundation

std::size_t std::hash<foundation::PlistValue>::operator()(const foundation::PlistValue& value) const {
  std::size_t seed = value.storage().index();
  auto combine = [&seed](std::size_t h) { seed ^= h + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2); };
  std::visit(
      [&](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        using foundation::PlistValue;
        if constexpr (std::is_same_v<T, PlistValue::Data>) {
          combine(std::hash<std::string_view>()(
              std::string_view(reinterpret_cast<const char*>(v.data()), v.size())));
        } else if constexpr (std::is_same_v<T, PlistValue::Date>) {
          combine(std::hash<std::int64_t>()(v.time_since_epoch().count()));
        } else if constexpr (std::is_same_v<T, PlistValue::Array>) {
          for (const auto& element : v) combine((*this)(element));
        } else if constexpr (std::is_same_v<T, PlistValue::Dictionary>) {
          for (const auto& [key, element] : v) {
            combine(std::hash<std::string>()(key));
            combine((*this)(element));
          }
        } else {
          combine(std::hash<T>()(v));
        }
      },
      value.storage());
  return seed;
}
