// The value bridges: converters between a setting's value and the form the user defaults keep. The
// forms written here are the settings file format; they must stay exactly as they are.
#pragma once

#include <charconv>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/foundation/json_text.h"
#include "platform/foundation/log.h"
#include "platform/foundation/text_error.h"
#include "platform/foundation/url.h"
#include "platform/foundation/uuid.h"
#include "platform/ui/color.h"
#include "settings_store/serialization.h"

namespace Defaults {

namespace detail {

// The JSON value of a codable value. Throws on failure (the caller reports it).
template <class T>
foundation::Json jsonOfValue(const T& value) {
  if constexpr (HasNativeJson<T>) {
    return NativeJson<T>::toJson(value);
  } else if constexpr (OrderedJsonCodable<T>) {
    foundation::Json json;
    to_json(json, value);
    return json;
  } else if constexpr (PlainJsonCodable<T>) {
    nlohmann::json json;
    to_json(json, value);
    return foundation::Json::parse(json.dump());
  } else {
    throw foundation::TextError("The value has no JSON form.");
  }
}

// The value of a JSON value, or nothing when it does not decode as T.
template <class T>
std::optional<T> valueOfJson(const foundation::Json& json) {
  try {
    if constexpr (HasNativeJson<T>) {
      return NativeJson<T>::fromJson(json);
    } else if constexpr (OrderedJsonCodable<T>) {
      T value{};
      from_json(json, value);
      return value;
    } else if constexpr (PlainJsonCodable<T>) {
      T value{};
      from_json(nlohmann::json::parse(json.dump()), value);
      return value;
    } else {
      return std::nullopt;
    }
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// The JSON text form: the value encoded as the only element of a list, without the list's brackets.
// An encoding failure is printed (the error's own description) and gives nothing.
template <class T>
std::optional<std::string> jsonTextForm(const std::optional<T>& value) {
  if (!value) return std::nullopt;
  try {
    foundation::Json list = foundation::Json::array();
    list.push_back(jsonOfValue(*value));
    std::string text = foundation::jsonText(list);
    return text.substr(1, text.size() - 2);
  } catch (const std::exception& error) {
    foundation::log(error.what());
    return std::nullopt;
  }
}

// Reads the JSON text form back: the text inside a list's brackets, decoded as a list of T, whose first
// element is the result. Several comma-separated values thus read as the first; an empty text, as nothing.
template <class T>
std::optional<T> valueOfJsonTextForm(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  const auto list = foundation::parseJsonIfValid("[" + *text + "]");
  if (!list || !list->is_array() || list->empty()) return std::nullopt;
  std::optional<T> first;
  for (const auto& element : *list) {
    auto value = valueOfJson<T>(element);
    if (!value) return std::nullopt;
    if (!first) first = std::move(value);
  }
  return first;
}

// Keys of dictionaries that are not stored natively, as texts (decimal for whole numbers).
template <TextConvertibleKey K>
std::string textOfKey(const K& key) {
  if constexpr (std::same_as<K, std::string>) {
    return key;
  } else {
    return std::to_string(key);
  }
}

template <TextConvertibleKey K>
std::optional<K> keyOfText(const std::string& text) {
  if constexpr (std::same_as<K, std::string>) {
    return text;
  } else {
    K key{};
    const char* end = text.data() + text.size();
    const char* start = text.data();
    if (start != end && *start == '+') return std::nullopt;
    auto [stop, error] = std::from_chars(start, end, key);
    if (error != std::errc() || stop != end || text.empty()) return std::nullopt;
    return key;
  }
}

// A stored object as a bridge's stored form: as it is, converted natively, or read as that storable type.
template <class Form>
std::optional<Form> storedFormOf(const PlistValue& object) {
  if constexpr (std::is_same_v<Form, PlistValue>) {
    return object;
  } else if constexpr (storedNatively<Form>) {
    // A natively stored form converts natively or not at all: falling back to its own bridge would go
    // round in a circle (a text's bridge reads texts).
    return Serialization<Form>::fromPropertyList(object);
  } else {
    return typedValue<Form>(object);
  }
}

// The stored forms of a sequence's elements, in order; elements without one are left out.
template <class E, class Sequence>
PlistValue::Array storedElements(const Sequence& elements) {
  PlistValue::Array list;
  for (const E& element : elements) {
    if (auto stored = storableValue<E>(element)) list.push_back(std::move(*stored));
  }
  return list;
}

// The elements a stored list holds. For natively stored elements every one must convert (else nothing);
// for bridged elements the ones that do not decode are left out.
template <class E>
std::optional<std::vector<E>> elementsOfStoredList(const std::optional<PlistValue>& object) {
  if (!object) return std::nullopt;
  const auto* list = object->arrayValue();
  if (!list) return std::nullopt;
  std::vector<E> elements;
  for (const PlistValue& stored : *list) {
    if constexpr (storedNatively<E>) {
      auto element = Serialization<E>::fromPropertyList(stored);
      if (!element) return std::nullopt;
      elements.push_back(std::move(*element));
    } else {
      if (auto element = typedValue<E>(stored)) elements.push_back(std::move(*element));
    }
  }
  return elements;
}

}  // namespace detail

// ---- JSON text form ---------------------------------------------------------------------------------------

template <class T>
struct TopLevelCodableBridge {
  using Value = T;
  using Serializable = std::string;
  std::optional<std::string> encodeForStore(const std::optional<T>& value) const {
    return detail::jsonTextForm(value);
  }
  std::optional<T> decodeFromStore(const std::optional<std::string>& text) const {
    return detail::valueOfJsonTextForm<T>(text);
  }
};

// The JSON text of the value, which a codable raw-representable value writes as its raw value.
template <class T>
struct RawRepresentableCodableBridge : TopLevelCodableBridge<T> {};

template <class T>
struct CodableSecureCodingBridge : TopLevelCodableBridge<T> {};

// A URL as the JSON string of its absolute text ("https:\/\/example.com\/").
struct URLBridge {
  using Value = foundation::URL;
  using Serializable = std::string;
  std::optional<std::string> encodeForStore(const std::optional<foundation::URL>& url) const;
  std::optional<foundation::URL> decodeFromStore(const std::optional<std::string>& text) const;
};

// ---- Raw value ------------------------------------------------------------------------------------------

template <class T>
struct RawRepresentableBridge {
  using Value = T;
  using Serializable = typename RawRepresentation<T>::RawValue;
  std::optional<Serializable> encodeForStore(const std::optional<T>& value) const {
    if (!value) return std::nullopt;
    return RawRepresentation<T>::rawValue(*value);
  }
  std::optional<T> decodeFromStore(const std::optional<Serializable>& raw) const {
    if (!raw) return std::nullopt;
    return RawRepresentation<T>::fromRawValue(*raw);
  }
};

// ---- Keyed archive --------------------------------------------------------------------------------------

template <class T>
struct SecureCodingBridge {
  using Value = T;
  using Serializable = PlistValue::Data;
  std::optional<PlistValue::Data> encodeForStore(const std::optional<T>& value) const {
    if (!value) return std::nullopt;
    return SecureCoding<T>::archivedData(*value);
  }
  std::optional<T> decodeFromStore(const std::optional<PlistValue::Data>& data) const {
    if (!data) return std::nullopt;
    try {
      return SecureCoding<T>::unarchivedObject(*data);
    } catch (const std::exception& error) {
      foundation::log(error.what());
      return std::nullopt;
    }
  }
};

// ---- Containers -----------------------------------------------------------------------------------------

template <class W>
struct OptionalBridge {
  using WrappedBridge = typename Serialization<W>::Bridge;
  using Value = typename WrappedBridge::Value;
  using Serializable = typename WrappedBridge::Serializable;
  std::optional<Serializable> encodeForStore(const std::optional<Value>& value) const {
    return WrappedBridge{}.encodeForStore(value);
  }
  std::optional<Value> decodeFromStore(const std::optional<Serializable>& stored) const {
    return WrappedBridge{}.decodeFromStore(stored);
  }
};

// A list as the list of its elements' stored forms; elements without one are left out, the rest kept.
template <class E>
struct ArrayBridge {
  using Value = std::vector<E>;
  using Serializable = PlistValue;
  std::optional<PlistValue> encodeForStore(const std::optional<std::vector<E>>& value) const {
    if (!value) return std::nullopt;
    return PlistValue(detail::storedElements<E>(*value));
  }
  // Every stored element must have the form E's bridge reads (else nothing); the elements that it then
  // cannot decode are left out.
  std::optional<std::vector<E>> decodeFromStore(const std::optional<PlistValue>& object) const {
    using ElementBridge = typename Serialization<E>::Bridge;
    if (!object || !object->isArray()) return std::nullopt;
    std::vector<E> elements;
    for (const PlistValue& stored : *object->arrayValue()) {
      auto form = detail::storedFormOf<typename ElementBridge::Serializable>(stored);
      if (!form) return std::nullopt;
      if (auto element = ElementBridge{}.decodeFromStore(form)) elements.push_back(E(std::move(*element)));
    }
    return elements;
  }
};

// A dictionary whose keys are not texts, or whose values are not stored natively: text keys (decimal
// for whole numbers) to the values' stored forms. Entries whose value has no stored form are left out;
// on reading, entries whose key or value does not convert are left out.
template <class Map>
struct DictionaryBridge {
  using K = typename Map::key_type;
  using V = typename Map::mapped_type;
  using Value = Map;
  using Serializable = PlistValue;
  std::optional<PlistValue> encodeForStore(const std::optional<Map>& value) const {
    if (!value) return std::nullopt;
    PlistValue::Dictionary dictionary;
    for (const auto& [key, element] : *value) {
      const std::string text = detail::textOfKey(key);
      if (auto stored = storableValue<V>(element)) {
        dictionary.insert_or_assign(text, std::move(*stored));
      } else {
        dictionary.erase(text);
      }
    }
    return PlistValue(std::move(dictionary));
  }
  std::optional<Map> decodeFromStore(const std::optional<PlistValue>& object) const {
    if (!object || !object->isDictionary()) return std::nullopt;
    Map result;
    for (const auto& [text, stored] : *object->dictionaryValue()) {
      auto key = detail::keyOfText<K>(text);
      if (!key) continue;
      if (auto element = typedValue<V>(stored)) result.insert_or_assign(std::move(*key), std::move(*element));
    }
    return result;
  }
};

// A set as the list of its elements in the set's iteration order.
template <class Set>
struct SetBridge {
  using E = typename Set::value_type;
  using Value = Set;
  using Serializable = PlistValue;
  std::optional<PlistValue> encodeForStore(const std::optional<Set>& value) const {
    if (!value) return std::nullopt;
    return PlistValue(detail::storedElements<E>(*value));
  }
  std::optional<Set> decodeFromStore(const std::optional<PlistValue>& object) const {
    auto elements = detail::elementsOfStoredList<E>(object);
    if (!elements) return std::nullopt;
    return Set(std::make_move_iterator(elements->begin()), std::make_move_iterator(elements->end()));
  }
};

template <class T>
struct SetAlgebraBridge {
  using E = typename T::value_type;
  using Value = T;
  using Serializable = PlistValue;
  std::optional<PlistValue> encodeForStore(const std::optional<T>& value) const {
    if (!value) return std::nullopt;
    return PlistValue(detail::storedElements<E>(value->elementsArray()));
  }
  std::optional<T> decodeFromStore(const std::optional<PlistValue>& object) const {
    auto elements = detail::elementsOfStoredList<E>(object);
    if (!elements) return std::nullopt;
    return T::fromElementsArray(std::move(*elements));
  }
};

template <class T>
struct CollectionBridge {
  using E = typename T::value_type;
  using Value = T;
  using Serializable = PlistValue;
  std::optional<PlistValue> encodeForStore(const std::optional<T>& value) const {
    if (!value) return std::nullopt;
    return PlistValue(detail::storedElements<E>(*value));
  }
  std::optional<T> decodeFromStore(const std::optional<PlistValue>& object) const {
    auto elements = detail::elementsOfStoredList<E>(object);
    if (!elements) return std::nullopt;
    return T::fromElementsArray(std::move(*elements));
  }
};

// ---- Identifiers, ranges, colours ------------------------------------------------------------------------

// A UUID as its canonical text (upper-case hexadecimal digits, groups 8-4-4-4-12).
struct UUIDBridge {
  using Value = foundation::UUID;
  using Serializable = std::string;
  std::optional<std::string> encodeForStore(const std::optional<foundation::UUID>& uuid) const;
  std::optional<foundation::UUID> decodeFromStore(const std::optional<std::string>& text) const;
};

// A range as the two-element list [lower bound, upper bound]. Reading takes the first two elements of a
// longer list; the order of the bounds is not checked.
template <class T>
struct RangeBridge {
  using Bound = typename T::Bound;
  using Value = T;
  using Serializable = PlistValue;
  std::optional<PlistValue> encodeForStore(const std::optional<T>& range) const {
    if (!range) return std::nullopt;
    auto lower = storableValue<Bound>(range->lowerBound);
    auto upper = storableValue<Bound>(range->upperBound);
    if (!lower || !upper) return std::nullopt;
    return PlistValue(PlistValue::Array{std::move(*lower), std::move(*upper)});
  }
  std::optional<T> decodeFromStore(const std::optional<PlistValue>& object) const {
    if (!object) return std::nullopt;
    const auto* list = object->arrayValue();
    if (!list || list->size() < 2) return std::nullopt;
    auto lower = bound((*list)[0]);
    auto upper = bound((*list)[1]);
    if (!lower || !upper) return std::nullopt;
    return T{std::move(*lower), std::move(*upper)};
  }

 private:
  static std::optional<Bound> bound(const PlistValue& stored) {
    if constexpr (storedNatively<Bound>) {
      return Serialization<Bound>::fromPropertyList(stored);
    } else {
      return typedValue<Bound>(stored);
    }
  }
};

// A colour with a fixed colour-space form as [colour-space name, [components..., alpha]]; any other colour
// (system, catalogue, light/dark) as a colour archive (data block).
struct ColorBridge {
  using Value = ui::Color;
  using Serializable = PlistValue;
  std::optional<PlistValue> encodeForStore(const std::optional<ui::Color>& color) const;
  std::optional<ui::Color> decodeFromStore(const std::optional<PlistValue>& object) const;
};

// ---- Any ---------------------------------------------------------------------------------------------

// Stores what an AnySerializable holds; reading wraps the stored object (the empty value when there is
// none), so it never gives nothing.
struct AnyBridge {
  using Value = AnySerializable;
  using Serializable = PlistValue;
  std::optional<PlistValue> encodeForStore(const std::optional<AnySerializable>& value) const;
  std::optional<AnySerializable> decodeFromStore(const std::optional<PlistValue>& object) const;
};

}  // namespace Defaults
