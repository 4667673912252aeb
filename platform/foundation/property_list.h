// Property-list values (the kinds user defaults and Info files hold) and their XML text form.
#pragma once

#include <chrono>
#include <concepts>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace foundation {

// The kinds of property-list value, in the order of PlistValue's storage.
enum class PlistKind { boolean, integer, real, string, data, date, array, dictionary };

// One property-list value. Kinds stay distinct: a bool is never an integer, an integer never a real,
// and values of different kinds are never equal (true != 1, 1 != 1.0).
class PlistValue {
 public:
  using Data = std::vector<std::uint8_t>;
  // An instant; the XML form keeps it in UTC with its fraction of a second.
  using Date = std::chrono::system_clock::time_point;
  using Array = std::vector<PlistValue>;
  // Keys sorted by byte order, so writing is deterministic.
  using Dictionary = std::map<std::string, PlistValue>;
  using Storage = std::variant<bool, std::int64_t, double, std::string, Data, Date, Array, Dictionary>;

  // The empty string (containers need a default).
  PlistValue();
  PlistValue(bool value);
  // Any integer type but bool; an unsigned value above the int64 range wraps as the platform's does.
  template <std::integral T>
  requires(!std::same_as<T, bool>) PlistValue(T value) : storage_(static_cast<std::int64_t>(value)) {}
  PlistValue(double value);
  PlistValue(float value);
  PlistValue(std::string value);
  PlistValue(std::string_view value);
  PlistValue(const char* value);
  PlistValue(Data value);
  PlistValue(Date value);
  PlistValue(Array value);
  PlistValue(Dictionary value);

  PlistKind kind() const;
  const Storage& storage() const { return storage_; }

  bool isBoolean() const { return kind() == PlistKind::boolean; }
  bool isInteger() const { return kind() == PlistKind::integer; }
  bool isReal() const { return kind() == PlistKind::real; }
  bool isString() const { return kind() == PlistKind::string; }
  bool isData() const { return kind() == PlistKind::data; }
  bool isDate() const { return kind() == PlistKind::date; }
  bool isArray() const { return kind() == PlistKind::array; }
  bool isDictionary() const { return kind() == PlistKind::dictionary; }

  // The bool, only when this is a bool.
  std::optional<bool> boolValue() const;
  // The integer, only when this is an integer.
  std::optional<std::int64_t> integerValue() const;
  // The number as a double: a real, or an integer widened; never a bool.
  std::optional<double> doubleValue() const;
  // The contents when the kind matches, else null.
  const std::string* stringValue() const;
  const Data* dataValue() const;
  std::optional<Date> dateValue() const;
  const Array* arrayValue() const;
  const Dictionary* dictionaryValue() const;
  Array* arrayValue();
  Dictionary* dictionaryValue();

  bool operator==(const PlistValue& other) const = default;

 private:
  Storage storage_;
};

// A short, one-line readable form for diagnostics and test output (not a file format).
std::string describe(const PlistValue& value);
std::ostream& operator<<(std::ostream& stream, const PlistValue& value);

// The XML property-list document of a value: XML declaration, DOCTYPE, <plist version="1.0">, tab
// indentation, dictionary keys in sorted order, text XML-escaped, data as base64, dates as ISO 8601 UTC.
//
// Strings and keys are byte strings, and every one reads back equal. Bytes that XML text cannot hold are
// written as character references that the reader maps back: control characters (NUL included) and
// DEL as "&#N;", and each byte that is not part of well-formed UTF-8 as "&#xDCnn;", nn being the byte
// (0x80 to 0xFF). The lone surrogates U+DC80 to U+DCFF are no character any text holds, so these
// references never stand for anything else; raw bytes of either kind in a file are read as they are.
std::string writeXMLPropertyList(const PlistValue& value);

// Reads an XML property-list document. Any malformed, truncated or too deeply nested input throws
// foundation::TextError; it never crashes.
PlistValue readXMLPropertyList(std::string_view text);

// What could be read of a document whose top level is a dictionary.
struct SalvagedPropertyList {
  // Every top-level entry that was read whole.
  PlistValue::Dictionary entries;
  // One text per damaged entry (dropped whole) or damaged part of the document; empty when the whole
  // document was read.
  std::vector<std::string> faults;
};

// Reads a document whose top level should be a dictionary, keeping every top-level entry that can be read
// whole when others are damaged, the document is cut short or stray text follows it. Throws TextError
// only when there is no top-level dictionary to read.
SalvagedPropertyList salvageXMLPropertyList(std::string_view text);

// The deepest nesting of arrays and dictionaries the reader accepts.
inline constexpr int maximumPropertyListDepth = 256;

}  // namespace foundation

template <>
struct std::hash<foundation::PlistValue> {
  std::size_t operator()(const foundation::PlistValue& value) const;
};
