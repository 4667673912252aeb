// A setting value of no fixed type: holds the property-list form of whatever it was made from.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "settings_store/serialization.h"

namespace Defaults {

// Holds a property-list value, or the empty value (no value at all, distinct from every property-list
// value). Compares and hashes by the kind of what it holds: data, date, truth value, whole number,
// fractional number, text, dictionary, list, tried in that order; a whole number and a fractional number
// of the same value are equal, a truth value and a number never are.
class AnySerializable {
 public:
  // The empty value.
  AnySerializable() = default;
  AnySerializable(std::nullopt_t) {}
  AnySerializable(std::nullptr_t) {}
  // Holds what the value's stored form is (a record's JSON text, say), or the empty value when it has
  // none.
  template <Serializable T>
  requires(!std::same_as<std::remove_cvref_t<T>, AnySerializable>) static AnySerializable of(const T& value) {
    AnySerializable result;
    result.assign(value);
    return result;
  }
  // Holds the given value, or the empty value for nothing.
  explicit AnySerializable(std::optional<PlistValue> value) : value_(std::move(value)) {}
  AnySerializable(PlistValue value) : value_(std::move(value)) {}

  // A null text pointer is the empty value.
  AnySerializable(const char* text) {
    if (text) value_ = PlistValue(std::string(text));
  }
  AnySerializable(std::string text) : value_(PlistValue(std::move(text))) {}
  AnySerializable(std::string_view text) : value_(PlistValue(std::string(text))) {}
  // A single character is a text of one character, not a number.
  AnySerializable(char character) : value_(PlistValue(std::string(1, character))) {}
  AnySerializable(bool flag) : value_(PlistValue(flag)) {}
  template <std::integral T>
  requires(!std::same_as<T, bool>) AnySerializable(T number)
      : value_(PlistValue(static_cast<std::int64_t>(number))) {}
  AnySerializable(double number) : value_(PlistValue(number)) {}

  // A list of the given values; empty values among them are left out.
  static AnySerializable list(std::initializer_list<AnySerializable> elements);
  // A dictionary of the given entries; an entry with the empty value is left out, and of entries with
  // the same key the last one counts.
  static AnySerializable dictionary(std::initializer_list<std::pair<std::string, AnySerializable>> entries);

  const std::optional<PlistValue>& value() const { return value_; }
  bool isNilValue() const { return !value_.has_value(); }

  // What the held value reads as in type T, or nothing.
  template <Serializable T>
  std::optional<T> typed() const {
    if (!value_) return std::nullopt;
    return typedValue<T>(*value_);
  }

  // Holds the stored form of `value` from now on (the empty value when it has none).
  template <Serializable T>
  void assign(const T& value) {
    value_ = storableValue<T>(value);
  }

  bool operator==(const AnySerializable& other) const;
  std::size_t hashValue() const;

 private:
  std::optional<PlistValue> value_;
};

}  // namespace Defaults

template <>
struct std::hash<Defaults::AnySerializable> {
  std::size_t operator()(const Defaults::AnySerializable& value) const { return value.hashValue(); }
};
