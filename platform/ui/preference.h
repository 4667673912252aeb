// Preference keys: values that flow up the view tree from views to an ancestor's handler.
#pragma once

#include <any>
#include <concepts>
#include <functional>
#include <typeindex>

namespace ui {

// A key of preferences: its value type, the value when no view sets one, and how the values of
// siblings combine (`reduce(accumulated, next)`, in tree order).
template <class K>
concept PreferenceKey = requires(typename K::Value& value) {
  { K::defaultValue() } -> std::convertible_to<typename K::Value>;
  K::reduce(value, std::function<typename K::Value()>());
}
&&std::equality_comparable<typename K::Value>;

namespace detail {

// A preference key with its value type erased, so the graph can combine values of any key.
struct PreferenceKeyOps {
  std::type_index key = typeid(void);
  std::function<std::any()> defaultValue;
  std::function<void(std::any&, const std::any&)> reduce;
  std::function<bool(const std::any&, const std::any&)> isEqual;

  template <PreferenceKey K>
  static PreferenceKeyOps of() {
    using V = typename K::Value;
    return {typeid(K), [] { return std::any(V(K::defaultValue())); },
            [](std::any& accumulated, const std::any& next) {
              K::reduce(*std::any_cast<V>(&accumulated), [&next] { return std::any_cast<V>(next); });
            },
            [](const std::any& a, const std::any& b) { return std::any_cast<V>(a) == std::any_cast<V>(b); }};
  }
};

}  // namespace detail
}  // namespace ui
