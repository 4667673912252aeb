// How a value type is kept in the user defaults: stored natively as a property-list value, or through a
// bridge. `Serialization<T>` holds that choice for every storable type; specialise it to give a type a
// bridge of its own.
#pragma once

#include <chrono>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/foundation/json_text.h"
#include "platform/foundation/property_list.h"
#include "settings_store/number_conversion.h"

namespace foundation {
class URL;
class UUID;
}  // namespace foundation
namespace ui {
class Color;
}  // namespace ui

namespace Defaults {

using foundation::PlistValue;

// The stored form of a setting: a property-list value, or nothing when a value has no stored form.
using StoredObject = std::optional<PlistValue>;

// Specialised (or derived automatically, below) for every type a setting may hold. Members:
//   static constexpr bool isStoredNatively;
//   using Bridge = ...;  // converter for values that are not stored natively (see bridges.h)
// and, for natively stored types,
//   static std::optional<PlistValue> toPropertyList(const T&);
//   static std::optional<T> fromPropertyList(const PlistValue&);  // by the number-conversion table
template <class T>
struct Serialization;

// A type a setting may hold.
template <class T>
concept Serializable = requires {
  typename Serialization<T>::Bridge;
  { Serialization<T>::isStoredNatively } -> std::convertible_to<bool>;
};

template <class T>
inline constexpr bool storedNatively = Serializable<T>&& Serialization<T>::isStoredNatively;

// A converter between values and their stored form:
//   using Value = ...; using Serializable = ...;
//   std::optional<Serializable> encodeForStore(const std::optional<Value>&) const;
//   std::optional<Value> decodeFromStore(const std::optional<Serializable>&) const;
// Nothing in gives nothing out (except for AnyBridge, whose decoding never gives nothing).
template <class B>
concept Bridge = requires(const B& bridge, const std::optional<typename B::Value>& value,
                          const std::optional<typename B::Serializable>& stored) {
  { bridge.encodeForStore(value) } -> std::same_as<std::optional<typename B::Serializable>>;
  { bridge.decodeFromStore(stored) } -> std::same_as<std::optional<typename B::Value>>;
};

// ---- Capabilities that select a bridge --------------------------------------------------------------

// Codable: `to_json` and `from_json` beside the type (found by argument-dependent lookup), for either the
// ordered JSON value of the JSON text helper or nlohmann's plain one. nlohmann's built-in conversions of
// enumerations to numbers do not count: an enumeration is codable only when it declares its own.
template <class T>
concept OrderedJsonCodable = requires(foundation::Json& json, const T& value, T& target) {
  to_json(json, value);
  from_json(std::as_const(json), target);
};
template <class T>
concept PlainJsonCodable = requires(nlohmann::json& json, const T& value, T& target) {
  to_json(json, value);
  from_json(std::as_const(json), target);
};
template <class T>
concept Codable = std::default_initializable<T> &&(OrderedJsonCodable<T> || PlainJsonCodable<T>);

// Raw-representable: a raw value and the value made back from one. Specialise RawRepresentation for a
// type, or give it either
//   members  `rawValue()` and `static std::optional<T> fromRawValue(raw)`, or
//   free functions (beside the type) `rawValue(value)` and `fromRawValue(std::type_identity<T>, raw)`
// (the form that suits enumerations).
template <class T>
struct RawRepresentation {};

template <class T>
concept MemberRawRepresentable = requires(const T& value) {
  { T::fromRawValue(value.rawValue()) } -> std::same_as<std::optional<T>>;
};
template <class T>
concept FreeRawRepresentable = requires(const T& value) {
  { fromRawValue(std::type_identity<T>{}, rawValue(value)) } -> std::same_as<std::optional<T>>;
};

template <class T>
requires MemberRawRepresentable<T>
struct RawRepresentation<T> {
  using RawValue = std::remove_cvref_t<decltype(std::declval<const T&>().rawValue())>;
  static RawValue rawValue(const T& value) { return value.rawValue(); }
  static std::optional<T> fromRawValue(const RawValue& raw) { return T::fromRawValue(raw); }
};

namespace detail {
// Here, outside any class with members of these names, the calls find the type's own functions.
template <class T>
auto freeRawValue(const T& value) {
  return rawValue(value);
}
template <class T, class Raw>
std::optional<T> freeFromRawValue(const Raw& raw) {
  return fromRawValue(std::type_identity<T>{}, raw);
}
}  // namespace detail

template <class T>
requires(FreeRawRepresentable<T> && !MemberRawRepresentable<T>) struct RawRepresentation<T> {
  using RawValue = std::remove_cvref_t<decltype(rawValue(std::declval<const T&>()))>;
  static RawValue rawValue(const T& value) { return detail::freeRawValue(value); }
  static std::optional<T> fromRawValue(const RawValue& raw) { return detail::freeFromRawValue<T>(raw); }
};

template <class T>
concept RawRepresentable = requires(const T& value) {
  typename RawRepresentation<T>::RawValue;
  { RawRepresentation<T>::rawValue(value) } -> std::convertible_to<typename RawRepresentation<T>::RawValue>;
};

// A codable, raw-representable type that sets this is stored by its raw value rather than by the JSON
// text of its raw value.
template <class T>
inline constexpr bool prefersRawRepresentable = false;

// Secure coding: a keyed archive as a data block. Specialise SecureCoding for a type with
//   static std::optional<PlistValue::Data> archivedData(const T&);  // nothing when archiving fails
//   static T unarchivedObject(const PlistValue::Data&);  // throws foundation::TextError on bad data
template <class T>
struct SecureCoding {};

template <class T>
concept SecureCodable = requires(const T& value, const PlistValue::Data& data) {
  { SecureCoding<T>::archivedData(value) } -> std::same_as<std::optional<PlistValue::Data>>;
  { SecureCoding<T>::unarchivedObject(data) } -> std::same_as<T>;
};

// A codable, secure-coding type that sets this is archived rather than stored as JSON text.
template <class T>
inline constexpr bool prefersSecureCoding = false;

// A set-like type stored as the list of its elements: `elementsArray()` gives them, and
// `T::fromElementsArray(list)` makes the value back.
template <class T>
concept SetAlgebraSerializable = requires(const T& value) {
  typename T::value_type;
  { value.elementsArray() } -> std::same_as<std::vector<typename T::value_type>>;
  { T::fromElementsArray(value.elementsArray()) } -> std::same_as<T>;
};

// A collection stored as the list of its elements, in its own order: iterable, and made back with
// `T::fromElementsArray(list)`.
template <class T>
concept CollectionSerializable = !SetAlgebraSerializable<T> && requires(const T& value) {
  typename T::value_type;
  value.begin();
  value.end();
  { T::fromElementsArray(std::vector<typename T::value_type>{}) } -> std::same_as<T>;
};

// A range of two bounds, half-open or closed: `Bound`, the members `lowerBound` and `upperBound`, and
// construction from both. The order of the bounds is not checked.
template <class T>
concept RangeValue = requires(const T& value) {
  typename T::Bound;
  { value.lowerBound } -> std::convertible_to<typename T::Bound>;
  { value.upperBound } -> std::convertible_to<typename T::Bound>;
  T{std::declval<typename T::Bound>(), std::declval<typename T::Bound>()};
};

// Keys of dictionaries that are not stored natively: converted to and from text.
template <class K>
concept TextConvertibleKey = std::same_as<K, std::string> ||(std::integral<K> && !std::same_as<K, bool>);

// ---- Bridges (defined in bridges.h) -------------------------------------------------------------------

template <class T>
struct TopLevelCodableBridge;
template <class T>
struct RawRepresentableCodableBridge;
template <class T>
struct CodableSecureCodingBridge;
struct URLBridge;
template <class T>
struct RawRepresentableBridge;
template <class T>
struct SecureCodingBridge;
template <class W>
struct OptionalBridge;
template <class E>
struct ArrayBridge;
template <class Map>
struct DictionaryBridge;
template <class Set>
struct SetBridge;
template <class T>
struct SetAlgebraBridge;
template <class T>
struct CollectionBridge;
struct UUIDBridge;
template <class T>
struct RangeBridge;
struct ColorBridge;
struct AnyBridge;
class AnySerializable;

// ---- Values that may be empty -------------------------------------------------------------------------

template <class T>
struct IsOptional : std::false_type {};
template <class W>
struct IsOptional<std::optional<W>> : std::true_type {};

// Whether a value is empty: an empty optional, or an AnySerializable holding the empty value. Empty
// defaults are not registered and writing an empty value removes the stored entry.
template <class T>
bool isNilValue(const T& value) {
  if constexpr (IsOptional<T>::value) {
    return !value.has_value();
  } else if constexpr (requires { value.isNilValue(); }) {
    return value.isNilValue();
  } else {
    return false;
  }
}

// ---- Native types -------------------------------------------------------------------------------------

namespace detail {

// JSON coding of any value that has a JSON form (natively stored types and codable types), defined in
// bridges.h. jsonOfValue throws on failure; valueOfJson gives nothing.
template <class T>
foundation::Json jsonOfValue(const T& value);
template <class T>
std::optional<T> valueOfJson(const foundation::Json& json);

// The JSON form of natively stored values (their codable form): what JSON text written by the store's
// earlier format, or by TopLevelCodableBridge, holds for them.
template <class T>
struct NativeJson {};

template <class T>
concept HasNativeJson = requires(const foundation::Json& json) {
  NativeJson<T>::fromJson(json);
};

// Types with a JSON form: natively stored ones, and codable ones.
template <class T>
concept JsonConvertible = HasNativeJson<T> || Codable<T>;

template <NumericValue T>
struct NativeJson<T> {
  static foundation::Json toJson(const T& value) { return foundation::Json(value); }
  static std::optional<T> fromJson(const foundation::Json& json) {
    if (json.is_boolean()) return numberFromBool<T>(json.get<bool>());
    if (json.is_number_unsigned()) return numberFromWhole<T>(json.get<std::uint64_t>());
    if (json.is_number_integer()) return numberFromWhole<T>(json.get<std::int64_t>());
    if (json.is_number_float()) return numberFromDouble<T>(json.get<double>());
    return std::nullopt;
  }
};

// A data block's JSON form is the base64 text of its bytes (standard alphabet, with padding).
std::string base64Text(const PlistValue::Data& data);
std::optional<PlistValue::Data> dataOfBase64Text(std::string_view text);

template <>
struct NativeJson<PlistValue::Data> {
  static foundation::Json toJson(const PlistValue::Data& value) {
    return foundation::Json(base64Text(value));
  }
  static std::optional<PlistValue::Data> fromJson(const foundation::Json& json) {
    if (!json.is_string()) return std::nullopt;
    return dataOfBase64Text(json.get_ref<const std::string&>());
  }
};

// A date's JSON form is its number of seconds since 2001-01-01 00:00:00 UTC.
template <>
struct NativeJson<PlistValue::Date> {
  static constexpr std::chrono::seconds referenceDate{978307200};  // 2001-01-01 in Unix time
  static foundation::Json toJson(const PlistValue::Date& value) {
    return foundation::Json(std::chrono::duration<double>(value.time_since_epoch() - referenceDate).count());
  }
  static std::optional<PlistValue::Date> fromJson(const foundation::Json& json) {
    if (!json.is_number() || json.is_boolean()) return std::nullopt;
    const double seconds = json.get<double>();
    // Beyond about 290 years either way the clock's count would overflow.
    if (!std::isfinite(seconds) || std::abs(seconds) > 9.0e9) return std::nullopt;
    const auto offset =
        std::chrono::duration_cast<PlistValue::Date::duration>(std::chrono::duration<double>(seconds));
    return PlistValue::Date(referenceDate + offset);
  }
};

template <>
struct NativeJson<std::string> {
  static foundation::Json toJson(const std::string& value) { return foundation::Json(value); }
  static std::optional<std::string> fromJson(const foundation::Json& json) {
    if (!json.is_string()) return std::nullopt;
    return json.get<std::string>();
  }
};

template <JsonConvertible E>
requires(!std::same_as<E, std::uint8_t>) struct NativeJson<std::vector<E>> {
  static foundation::Json toJson(const std::vector<E>& value) {
    foundation::Json list = foundation::Json::array();
    for (const E& element : value) list.push_back(jsonOfValue(element));
    return list;
  }
  static std::optional<std::vector<E>> fromJson(const foundation::Json& json) {
    if (!json.is_array()) return std::nullopt;
    std::vector<E> result;
    for (const auto& element : json) {
      auto converted = valueOfJson<E>(element);
      if (!converted) return std::nullopt;
      result.push_back(std::move(*converted));
    }
    return result;
  }
};

template <JsonConvertible V>
struct NativeJson<std::map<std::string, V>> {
  static foundation::Json toJson(const std::map<std::string, V>& value) {
    foundation::Json object = foundation::Json::object();
    for (const auto& [key, element] : value) object[key] = jsonOfValue(element);
    return object;
  }
  static std::optional<std::map<std::string, V>> fromJson(const foundation::Json& json) {
    if (!json.is_object()) return std::nullopt;
    std::map<std::string, V> result;
    for (const auto& [key, element] : json.items()) {
      auto converted = valueOfJson<V>(element);
      if (!converted) return std::nullopt;
      result.insert_or_assign(key, std::move(*converted));
    }
    return result;
  }
};

template <JsonConvertible W>
struct NativeJson<std::optional<W>> {
  static foundation::Json toJson(const std::optional<W>& value) {
    return value ? jsonOfValue(*value) : foundation::Json(nullptr);
  }
  // JSON null is the empty optional; anything else must be a W.
  static std::optional<std::optional<W>> fromJson(const foundation::Json& json) {
    if (json.is_null()) return std::optional<W>();
    auto converted = valueOfJson<W>(json);
    if (!converted) return std::nullopt;
    return std::optional<W>(std::move(*converted));
  }
};

}  // namespace detail

template <NumericValue T>
struct Serialization<T> {
  static constexpr bool isStoredNatively = true;
  using Bridge = TopLevelCodableBridge<T>;

  static std::optional<PlistValue> toPropertyList(const T& value) {
    if constexpr (std::is_same_v<T, bool>) {
      return PlistValue(value);
    } else if constexpr (std::is_floating_point_v<T>) {
      return PlistValue(static_cast<double>(value));
    } else {
      // Whole numbers are kept in 64 signed bits; an unsigned value beyond them has no stored form.
      if (!std::in_range<std::int64_t>(value)) return std::nullopt;
      return PlistValue(static_cast<std::int64_t>(value));
    }
  }
  static std::optional<T> fromPropertyList(const PlistValue& object) {
    if (auto flag = object.boolValue()) return numberFromBool<T>(*flag);
    if (auto integer = object.integerValue()) return numberFromWhole<T>(*integer);
    if (object.isReal()) return numberFromDouble<T>(*object.doubleValue());
    return std::nullopt;
  }
};

template <>
struct Serialization<std::string> {
  static constexpr bool isStoredNatively = true;
  using Bridge = TopLevelCodableBridge<std::string>;
  static std::optional<PlistValue> toPropertyList(const std::string& value) { return PlistValue(value); }
  static std::optional<std::string> fromPropertyList(const PlistValue& object) {
    if (const auto* text = object.stringValue()) return *text;
    return std::nullopt;
  }
};

// A data block (a list of bytes is a data block, never a list of numbers).
template <>
struct Serialization<PlistValue::Data> {
  static constexpr bool isStoredNatively = true;
  using Bridge = TopLevelCodableBridge<PlistValue::Data>;
  static std::optional<PlistValue> toPropertyList(const PlistValue::Data& value) { return PlistValue(value); }
  static std::optional<PlistValue::Data> fromPropertyList(const PlistValue& object) {
    if (const auto* data = object.dataValue()) return *data;
    return std::nullopt;
  }
};

template <>
struct Serialization<PlistValue::Date> {
  static constexpr bool isStoredNatively = true;
  using Bridge = TopLevelCodableBridge<PlistValue::Date>;
  static std::optional<PlistValue> toPropertyList(const PlistValue::Date& value) { return PlistValue(value); }
  static std::optional<PlistValue::Date> fromPropertyList(const PlistValue& object) {
    return object.dateValue();
  }
};

// Any property-list value, kept as it is: the stored form of bridges whose form is "any object".
template <>
struct Serialization<PlistValue> {
  static constexpr bool isStoredNatively = true;
  using Bridge = TopLevelCodableBridge<PlistValue>;  // never reached: every object converts natively
  static std::optional<PlistValue> toPropertyList(const PlistValue& value) { return value; }
  static std::optional<PlistValue> fromPropertyList(const PlistValue& object) { return object; }
};

template <Serializable W>
struct Serialization<std::optional<W>> {
  static constexpr bool isStoredNatively = storedNatively<W>;
  using Bridge = OptionalBridge<W>;
  static std::optional<PlistValue> toPropertyList(const std::optional<W>& value) requires(storedNatively<W>) {
    if (!value) return std::nullopt;
    return Serialization<W>::toPropertyList(*value);
  }
  static std::optional<std::optional<W>> fromPropertyList(const PlistValue& object) requires(
      storedNatively<W>) {
    auto converted = Serialization<W>::fromPropertyList(object);
    if (!converted) return std::nullopt;
    return std::optional<W>(std::move(*converted));
  }
};

template <Serializable E>
requires(!std::same_as<E, std::uint8_t>) struct Serialization<std::vector<E>> {
  static constexpr bool isStoredNatively = storedNatively<E>;
  using Bridge = ArrayBridge<E>;
  static std::optional<PlistValue> toPropertyList(const std::vector<E>& value) requires(storedNatively<E>) {
    PlistValue::Array list;
    list.reserve(value.size());
    for (const E& element : value) {
      auto stored = Serialization<E>::toPropertyList(element);
      if (!stored) return std::nullopt;
      list.push_back(std::move(*stored));
    }
    return PlistValue(std::move(list));
  }
  static std::optional<std::vector<E>> fromPropertyList(const PlistValue& object) requires(
      storedNatively<E>) {
    const auto* list = object.arrayValue();
    if (!list) return std::nullopt;
    std::vector<E> result;
    result.reserve(list->size());
    for (const PlistValue& element : *list) {
      auto converted = Serialization<E>::fromPropertyList(element);
      if (!converted) return std::nullopt;
      result.push_back(std::move(*converted));
    }
    return result;
  }
};

namespace detail {
template <class Map>
struct MapSerialization {
  using K = typename Map::key_type;
  using V = typename Map::mapped_type;
  // Only text keys fit the property-list form; other keys go through DictionaryBridge.
  static constexpr bool isStoredNatively = std::same_as<K, std::string> && storedNatively<V>;
  using Bridge = DictionaryBridge<Map>;
  static std::optional<PlistValue> toPropertyList(const Map& value) requires(isStoredNatively) {
    PlistValue::Dictionary dictionary;
    for (const auto& [key, element] : value) {
      auto stored = Serialization<V>::toPropertyList(element);
      if (!stored) return std::nullopt;
      dictionary.insert_or_assign(key, std::move(*stored));
    }
    return PlistValue(std::move(dictionary));
  }
  static std::optional<Map> fromPropertyList(const PlistValue& object) requires(isStoredNatively) {
    const auto* dictionary = object.dictionaryValue();
    if (!dictionary) return std::nullopt;
    Map result;
    for (const auto& [key, element] : *dictionary) {
      auto converted = Serialization<V>::fromPropertyList(element);
      if (!converted) return std::nullopt;
      result.insert_or_assign(key, std::move(*converted));
    }
    return result;
  }
};
}  // namespace detail

template <TextConvertibleKey K, Serializable V>
struct Serialization<std::map<K, V>> : detail::MapSerialization<std::map<K, V>> {};
template <TextConvertibleKey K, Serializable V>
struct Serialization<std::unordered_map<K, V>> : detail::MapSerialization<std::unordered_map<K, V>> {};

template <Serializable E>
struct Serialization<std::set<E>> {
  static constexpr bool isStoredNatively = false;
  using Bridge = SetBridge<std::set<E>>;
};
template <Serializable E>
struct Serialization<std::unordered_set<E>> {
  static constexpr bool isStoredNatively = false;
  using Bridge = SetBridge<std::unordered_set<E>>;
};

template <>
struct Serialization<foundation::URL> {
  static constexpr bool isStoredNatively = false;
  using Bridge = URLBridge;
};
template <>
struct Serialization<foundation::UUID> {
  static constexpr bool isStoredNatively = false;
  using Bridge = UUIDBridge;
};
template <>
struct Serialization<ui::Color> {
  static constexpr bool isStoredNatively = false;
  using Bridge = ColorBridge;
};
template <>
struct Serialization<AnySerializable> {
  static constexpr bool isStoredNatively = false;
  using Bridge = AnyBridge;
};

// ---- Every other type: the bridge follows from its capabilities -------------------------------------

namespace detail {

template <class T>
struct NoBridge {};

template <class T>
consteval auto selectedBridge() {
  if constexpr (RangeValue<T>) {
    return std::type_identity<RangeBridge<T>>{};
  } else if constexpr (SetAlgebraSerializable<T>) {
    return std::type_identity<SetAlgebraBridge<T>>{};
  } else if constexpr (CollectionSerializable<T>) {
    return std::type_identity<CollectionBridge<T>>{};
  } else if constexpr (Codable<T> && RawRepresentable<T>) {
    if constexpr (prefersRawRepresentable<T>) {
      return std::type_identity<RawRepresentableBridge<T>>{};
    } else {
      return std::type_identity<RawRepresentableCodableBridge<T>>{};
    }
  } else if constexpr (Codable<T> && SecureCodable<T>) {
    if constexpr (prefersSecureCoding<T>) {
      return std::type_identity<SecureCodingBridge<T>>{};
    } else {
      return std::type_identity<CodableSecureCodingBridge<T>>{};
    }
  } else if constexpr (Codable<T>) {
    return std::type_identity<TopLevelCodableBridge<T>>{};
  } else if constexpr (RawRepresentable<T>) {
    return std::type_identity<RawRepresentableBridge<T>>{};
  } else if constexpr (SecureCodable<T>) {
    return std::type_identity<SecureCodingBridge<T>>{};
  } else {
    return std::type_identity<NoBridge<T>>{};
  }
}

template <class T, class Selected = typename decltype(selectedBridge<T>())::type>
struct AutomaticSerialization {
  static constexpr bool isStoredNatively = false;
  using Bridge = Selected;
};
template <class T>
struct AutomaticSerialization<T, NoBridge<T>> {};

}  // namespace detail

template <class T>
struct Serialization : detail::AutomaticSerialization<T> {};

}  // namespace Defaults

namespace Defaults {

// ---- The two conversions every read and write passes through (defined in serializable.h) ------------

// The stored form of a value: the value itself for natively stored types, else its bridge's stored form,
// converted further while that form is itself a storable type. Nothing when a bridge fails.
template <Serializable T>
StoredObject storableValue(const T& value);

// The value of type T that a stored object holds: the object itself when it converts natively (by the
// number-conversion table), else what the type's bridge decodes from it. Nothing when neither works.
template <Serializable T>
std::optional<T> typedValue(const PlistValue& object);

}  // namespace Defaults
