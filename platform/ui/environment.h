// Environment values: what flows down the view tree (colour scheme, font, foreground style, enabled
// state, custom keys, observable objects), and the view members that read them.
#pragma once

#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <typeindex>
#include <utility>

#include "platform/foundation/url.h"
#include "platform/ui/color.h"
#include "platform/ui/color_scheme.h"
#include "platform/ui/dynamic_property.h"
#include "platform/ui/font.h"
#include "platform/ui/same_type.h"
#include "platform/ui/view_values.h"

namespace ui {

// A key of the environment: its value type and the value a view sees when no ancestor set one.
template <class K>
concept EnvironmentKey = requires {
  typename K::Value;
  { K::defaultValue() } -> std::convertible_to<typename K::Value>;
};

// Opens a URL: the environment's open-URL action (the desktop's by default). Handlers cannot be compared,
// so two actions are equal only when one is a copy of the other; every default action is the same one.
class OpenURLAction {
 public:
  using Handler = std::function<void(const foundation::URL&)>;
  OpenURLAction();
  explicit OpenURLAction(Handler handler) : handler_(std::make_shared<const Handler>(std::move(handler))) {}
  void operator()(const foundation::URL& url) const { (*handler_)(url); }
  bool operator==(const OpenURLAction&) const = default;

 private:
  std::shared_ptr<const Handler> handler_;
};

struct ColorSchemeKey {
  using Value = ColorScheme;
  static ColorScheme defaultValue() { return ColorScheme::light; }
};
// The font set by the nearest `font` modifier; absent means the body text style.
struct FontKey {
  using Value = std::optional<Font>;
  static Value defaultValue() { return std::nullopt; }
};
// The foreground colour set by the nearest `foregroundStyle`; absent means the primary colour.
struct ForegroundStyleKey {
  using Value = std::optional<Color>;
  static Value defaultValue() { return std::nullopt; }
};
struct IsEnabledKey {
  using Value = bool;
  static bool defaultValue() { return true; }
};
struct MultilineTextAlignmentKey {
  using Value = TextAlignment;
  static TextAlignment defaultValue() { return TextAlignment::leading; }
};
struct LineSpacingKey {
  using Value = double;
  static double defaultValue() { return 0; }
};
struct OpenURLKey {
  using Value = OpenURLAction;
  static OpenURLAction defaultValue() { return OpenURLAction(); }
};
struct ButtonStyleKey {
  using Value = ButtonStyle;
  static ButtonStyle defaultValue() { return ButtonStyle::automatic; }
};
struct PickerStyleKey {
  using Value = PickerStyle;
  static PickerStyle defaultValue() { return PickerStyle::automatic; }
};
struct IsTextSelectionEnabledKey {
  using Value = bool;
  static bool defaultValue() { return false; }
};

// An immutable set of environment values. Setting a value makes a new set that shares the rest, so
// passing environments down a deep tree costs one small allocation per override.
class EnvironmentValues {
 public:
  template <EnvironmentKey K>
  typename K::Value get() const {
    for (const Entry* entry = head_.get(); entry; entry = entry->next.get()) {
      if (detail::isSameType(*entry->key, typeid(K)))
        return *static_cast<const typename K::Value*>(entry->value.get());
    }
    return K::defaultValue();
  }

  template <EnvironmentKey K>
  void set(typename K::Value value) {
    push(&typeid(K), std::make_shared<const typename K::Value>(std::move(value)),
         &equalValues<typename K::Value>);
  }

  // Sets a value kept in a shared object. Values that cannot be compared count as equal only when they
  // are the very same object, so a view that sets the same object again leaves the views below it as they
  // were.
  template <EnvironmentKey K>
  void setShared(std::shared_ptr<const typename K::Value> value) {
    if (!value) throw std::invalid_argument("an environment value must not be null");
    push(&typeid(K), std::move(value), &equalValues<typename K::Value>);
  }
  // The object holding the value set for `K`, or null where no view set one.
  template <EnvironmentKey K>
  std::shared_ptr<const typename K::Value> sharedValue() const {
    for (const Entry* entry = head_.get(); entry; entry = entry->next.get()) {
      if (detail::isSameType(*entry->key, typeid(K)))
        return std::static_pointer_cast<const typename K::Value>(entry->value);
    }
    return nullptr;
  }

  // Observable objects are found by their type.
  template <class T>
  std::shared_ptr<T> object() const {
    for (const Entry* entry = head_.get(); entry; entry = entry->next.get()) {
      if (detail::isSameType(*entry->key, typeid(ObjectKey<T>)))
        return *static_cast<const std::shared_ptr<T>*>(entry->value.get());
    }
    return nullptr;
  }
  template <class T>
  void setObject(std::shared_ptr<T> object) {
    push(&typeid(ObjectKey<T>), std::make_shared<const std::shared_ptr<T>>(std::move(object)),
         &equalValues<std::shared_ptr<T>>);
  }

  // Whether a view reading these values sees what it saw reading `other`: the same keys set in the same
  // order to equal values. Values of types without equality are equal only when they are the same value
  // object, so a set rebuilt by the same modifiers compares equal as long as its values can be compared.
  bool isEquivalent(const EnvironmentValues& other) const {
    const Entry* a = head_.get();
    const Entry* b = other.head_.get();
    for (; a && b; a = a->next.get(), b = b->next.get()) {
      if (a == b) return true;
      if (!detail::isSameType(*a->key, *b->key)) return false;
      if (a->value != b->value && (a->isEqual != b->isEqual || !a->isEqual(a->value.get(), b->value.get())))
        return false;
    }
    return a == b;
  }

  ColorScheme colorScheme() const { return get<ColorSchemeKey>(); }
  bool isEnabled() const { return get<IsEnabledKey>(); }
  std::optional<Font> font() const { return get<FontKey>(); }
  std::optional<Color> foregroundStyle() const { return get<ForegroundStyleKey>(); }

 private:
  template <class T>
  struct ObjectKey {};
  using Equality = bool (*)(const void*, const void*);
  template <class T>
  static bool equalValues(const void* a, const void* b) {
    if constexpr (std::equality_comparable<T>) {
      return *static_cast<const T*>(a) == *static_cast<const T*>(b);
    } else {
      return a == b;
    }
  }
  struct Entry {
    const std::type_info* key;
    std::shared_ptr<const void> value;
    Equality isEqual;
    std::shared_ptr<const Entry> next;
  };
  void push(const std::type_info* key, std::shared_ptr<const void> value, Equality isEqual) {
    head_ = std::make_shared<const Entry>(Entry{key, std::move(value), isEqual, head_});
  }
  std::shared_ptr<const Entry> head_;
};

// Maps a value type to the built-in key that holds it, so a view can declare `Environment<ColorScheme>`.
template <class T>
struct EnvironmentKeyFor {
  using type = T;
};
template <>
struct EnvironmentKeyFor<ColorScheme> {
  using type = ColorSchemeKey;
};
template <>
struct EnvironmentKeyFor<OpenURLAction> {
  using type = OpenURLKey;
};

// A view member reading one environment value, as the view's place in the tree sees it.
template <class T>
class Environment : public DynamicProperty {
 public:
  using Key = typename EnvironmentKeyFor<T>::type;
  using Value = typename Key::Value;

  Environment() = default;

  const Value& operator*() const { return value(); }
  const Value* operator->() const { return &value(); }
  const Value& value() const {
    if (shared_) return *shared_;
    if (!fallback_) fallback_ = Key::defaultValue();
    return *fallback_;
  }

  // The value set above is shared with the environment, not copied: values such as a whole theme are
  // large, and every evaluation of every view reading one binds it again.
  void bind(detail::PropertyContext& context) override {
    shared_ = context.environment().template sharedValue<Key>();
  }

 private:
  std::shared_ptr<const Value> shared_;    // null where no view set a value
  mutable std::optional<Value> fallback_;  // the key's default, made when first read
};

}  // namespace ui
