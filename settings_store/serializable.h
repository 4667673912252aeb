// Storable setting values: the conversions between a value and the property-list object the user
// defaults keep (storableValue, typedValue), with every bridge they use.
#pragma once

#include <optional>
#include <type_traits>
#include <utility>

#include "settings_store/any_serializable.h"
#include "settings_store/bridges.h"
#include "settings_store/serialization.h"

namespace Defaults {

namespace detail {

template <class T>
struct OptionalWrapped {
  using type = void;
};
template <class W>
struct OptionalWrapped<std::optional<W>> {
  using type = W;
};

// The value handed to a type's bridge: the value itself, or for an optional the wrapped value (an empty
// optional hands the bridge nothing).
template <class T, class B>
std::optional<typename B::Value> bridgeInput(const T& value) {
  using BridgeValue = typename B::Value;
  if constexpr (std::is_same_v<T, BridgeValue>) {
    return value;
  } else if constexpr (std::is_same_v<typename OptionalWrapped<T>::type, BridgeValue>) {
    return value;
  } else {
    return BridgeValue(value);
  }
}

}  // namespace detail

template <Serializable T>
StoredObject storableValue(const T& value) {
  using S = Serialization<T>;
  if constexpr (S::isStoredNatively) {
    return S::toPropertyList(value);
  } else {
    using B = typename S::Bridge;
    using Form = typename B::Serializable;
    std::optional<Form> stored = B{}.encodeForStore(detail::bridgeInput<T, B>(value));
    if (!stored) return std::nullopt;
    if constexpr (std::is_same_v<Form, PlistValue>) {
      return std::move(*stored);
    } else {
      static_assert(Serializable<Form>, "a bridge's stored form must be a property-list value or storable");
      return storableValue<Form>(*stored);
    }
  }
}

template <Serializable T>
std::optional<T> typedValue(const PlistValue& object) {
  using S = Serialization<T>;
  if constexpr (S::isStoredNatively) {
    if (auto value = S::fromPropertyList(object)) return value;
  }
  using B = typename S::Bridge;
  using Form = typename B::Serializable;
  auto decoded = B{}.decodeFromStore(detail::storedFormOf<Form>(object));
  if (!decoded) return std::nullopt;
  return T(std::move(*decoded));
}

}  // namespace Defaults
