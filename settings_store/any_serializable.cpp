#include "settings_store/any_serializable.h"

#include <bit>
#include <cstdint>
#include <functional>

#include "settings_store/number_conversion.h"

namespace Defaults {

namespace {

// A value read as a whole number: an integer, or a fractional number that is exactly one.
std::optional<std::int64_t> wholeNumber(const PlistValue& value) {
  if (auto integer = value.integerValue()) return integer;
  if (value.isReal()) return numberFromDouble<std::int64_t>(*value.doubleValue());
  return std::nullopt;
}

bool heldValuesEqual(const std::optional<PlistValue>& first, const std::optional<PlistValue>& second);

bool plistValuesEqual(const PlistValue& a, const PlistValue& b) {
  if (a.isData() && b.isData()) return *a.dataValue() == *b.dataValue();
  if (a.isDate() && b.isDate()) return *a.dateValue() == *b.dateValue();
  if (a.isBoolean() && b.isBoolean()) return *a.boolValue() == *b.boolValue();
  if (auto x = wholeNumber(a), y = wholeNumber(b); x && y) return *x == *y;
  if (auto x = a.doubleValue(), y = b.doubleValue(); x && y) return *x == *y;
  if (a.isString() && b.isString()) return *a.stringValue() == *b.stringValue();
  if (a.isDictionary() && b.isDictionary()) {
    const auto& first = *a.dictionaryValue();
    const auto& second = *b.dictionaryValue();
    if (first.size() != second.size()) return false;
    for (const auto& [key, value] : first) {
      auto found = second.find(key);
      if (found == second.end() || !heldValuesEqual(value, found->second)) return false;
    }
    return true;
  }
  if (a.isArray() && b.isArray()) {
    const auto& first = *a.arrayValue();
    const auto& second = *b.arrayValue();
    if (first.size() != second.size()) return false;
    for (std::size_t index = 0; index < first.size(); ++index) {
      if (!heldValuesEqual(first[index], second[index])) return false;
    }
    return true;
  }
  return false;
}

bool heldValuesEqual(const std::optional<PlistValue>& first, const std::optional<PlistValue>& second) {
  // Two empty values are equal (equality stays reflexive); the empty value equals nothing else.
  if (!first || !second) return !first && !second;
  return plistValuesEqual(*first, *second);
}

std::size_t mixed(std::size_t seed, std::size_t value) {
  return seed ^ (value + 0x9e3779b97f4a7c15ull + (seed << 6) + (seed >> 2));
}

// Hashes by the first kind the value reads as, so values that compare equal hash alike (1 and 1.0).
std::size_t plistHash(const PlistValue& value) {
  if (const auto* data = value.dataValue()) {
    std::size_t seed = 1;
    for (std::uint8_t byte : *data) seed = mixed(seed, byte);
    return seed;
  }
  if (auto date = value.dateValue()) return std::hash<std::int64_t>{}(date->time_since_epoch().count());
  if (auto flag = value.boolValue()) return std::hash<std::uint8_t>{}(*flag ? 1 : 0);
  if (auto whole = wholeNumber(value)) return std::hash<std::int64_t>{}(*whole);
  if (auto real = value.doubleValue()) {
    return std::hash<std::uint64_t>{}(*real == 0.0 ? 0 : std::bit_cast<std::uint64_t>(*real));
  }
  if (const auto* text = value.stringValue()) return std::hash<std::string>{}(*text);
  if (const auto* dictionary = value.dictionaryValue()) {
    std::size_t combined = 0;
    for (const auto& [key, element] : *dictionary) {
      combined ^= mixed(std::hash<std::string>{}(key), plistHash(element));
    }
    return mixed(2, combined);
  }
  if (const auto* list = value.arrayValue()) {
    std::size_t seed = mixed(3, list->size());
    for (const PlistValue& element : *list) seed = mixed(seed, plistHash(element));
    return seed;
  }
  return 0;
}

}  // namespace

AnySerializable AnySerializable::list(std::initializer_list<AnySerializable> elements) {
  PlistValue::Array list;
  for (const AnySerializable& element : elements) {
    if (element.value_) list.push_back(*element.value_);
  }
  return AnySerializable(PlistValue(std::move(list)));
}

AnySerializable AnySerializable::dictionary(
    std::initializer_list<std::pair<std::string, AnySerializable>> entries) {
  PlistValue::Dictionary dictionary;
  for (const auto& [key, element] : entries) {
    if (element.value_) {
      dictionary.insert_or_assign(key, *element.value_);
    } else {
      dictionary.erase(key);
    }
  }
  return AnySerializable(PlistValue(std::move(dictionary)));
}

bool AnySerializable::operator==(const AnySerializable& other) const {
  return heldValuesEqual(value_, other.value_);
}

std::size_t AnySerializable::hashValue() const { return value_ ? plistHash(*value_) : 0; }

}  // namespace Defaults
