// The type-erased view value every view builder returns, with the modifiers that wrap it.
#pragma once

#include <concepts>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/concurrency/publisher.h"
#include "platform/concurrency/task.h"
#include "platform/ui/binding.h"
#include "platform/ui/color.h"
#include "platform/ui/environment.h"
#include "platform/ui/font.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/preference.h"
#include "platform/ui/receive_modifier.h"
#include "platform/ui/safe_area.h"
#include "platform/ui/transition.h"
#include "platform/ui/view_spec.h"
#include "platform/ui/view_values.h"

namespace ui {

class Shape;
class AnyView;

// A reusable modifier with a body of its own: `body(content)` returns the content changed. Its members
// may be view state, kept at the place where the modifier is applied.
class ViewModifier {
 public:
  virtual ~ViewModifier() = default;
  virtual AnyView body(AnyView content) const = 0;
};

// Runs `change` as one transaction animated with `animation`: the views it invalidates record the
// animation (kept as data; the inspector reads it from the host).
void withAnimation(const Animation& animation, const std::function<void()>& change);
// The animation of the transaction running on this thread, if any.
std::optional<Animation> currentTransactionAnimation();

namespace detail {
// Numbers as dumps show them: the shortest text that reads back as the same value.
std::string describeNumber(char value);
std::string describeNumber(long long value);
std::string describeNumber(unsigned long long value);
std::string describeNumber(float value);
std::string describeNumber(double value);
std::string describeNumber(long double value);

// Text for a watched value in dumps: numbers, strings and Booleans as themselves, others as "value".
template <class T>
std::string describeValue(const T& value) {
  if constexpr (std::is_same_v<T, bool>) {
    return value ? "true" : "false";
  } else if constexpr (std::is_same_v<T, char> || std::is_floating_point_v<T>) {
    return describeNumber(value);
  } else if constexpr (std::is_integral_v<T> && std::is_signed_v<T>) {
    return describeNumber(static_cast<long long>(value));
  } else if constexpr (std::is_integral_v<T>) {
    return describeNumber(static_cast<unsigned long long>(value));
  } else if constexpr (std::is_convertible_v<T, std::string>) {
    return "\"" + std::string(value) + "\"";
  } else {
    return "value";
  }
}

template <class T>
std::size_t identityHash(const T& value) {
  if constexpr (requires { std::hash<T>{}(value); }) {
    return std::hash<T>{}(value);
  } else {
    return std::hash<std::string>{}(describeValue(value));
  }
}

template <class T>
std::function<bool(const std::any&, const std::any&)> anyEquality() {
  return [](const std::any& a, const std::any& b) {
    return std::any_cast<const T&>(a) == std::any_cast<const T&>(b);
  };
}
}  // namespace detail

// Any view. Modifiers return a new view that wraps this one, so `.padding(16).background(...)` is a
// background behind the padded view, in the order the words say.
class AnyView {
 public:
  // The empty view.
  AnyView();
  // The view value is copied (or moved) once, into the description: views come by the thousand, and
  // every copy of one registers its view state anew.
  template <class V>
  requires std::derived_from<std::remove_cvref_t<V>, View> AnyView(V&& view)  // NOLINT: every view converts
      : spec_(std::make_shared<detail::CompositeSpec<std::remove_cvref_t<V>>>(std::forward<V>(view))) {}
  // A colour is a view that fills the space offered to it.
  AnyView(const Color& color);  // NOLINT
  explicit AnyView(detail::SpecPointer spec) : spec_(std::move(spec)) {}

  const detail::SpecPointer& spec() const { return spec_; }

  AnyView modifier(std::shared_ptr<const detail::Modifier> modifier) const;
  // Applies a modifier with a body.
  template <class M>
  requires std::derived_from<M, ViewModifier> AnyView modifier(M viewModifier)
  const;

  // Layout.
  AnyView padding() const { return padding(Edges::all, std::nullopt); }
  AnyView padding(double length) const { return padding(Edges::all, length); }
  AnyView padding(Edges edges, std::optional<double> length = std::nullopt) const;
  // Each edge padded by its own length.
  AnyView padding(const EdgeInsets& insets) const;
  AnyView frame(std::optional<double> width, std::optional<double> height,
                Alignment alignment = Alignment::center()) const;
  AnyView frame(const FrameModifier& flexible) const;
  AnyView fixedSize(bool horizontal = true, bool vertical = true) const;
  AnyView background(AnyView view, Alignment alignment = Alignment::center()) const;
  AnyView overlay(AnyView view, Alignment alignment = Alignment::center()) const;
  AnyView offset(double x, double y) const;
  AnyView zIndex(double value) const;
  // Lets the view reach out of the safe area on the chosen edges.
  AnyView ignoresSafeArea(SafeAreaRegions regions = SafeAreaRegions::all, Edges edges = Edges::all) const;

  // Appearance.
  AnyView foregroundStyle(const Color& color) const;
  AnyView foregroundColor(const Color& color) const { return foregroundStyle(color); }
  AnyView font(const Font& font) const;
  AnyView lineSpacing(double spacing) const;
  AnyView multilineTextAlignment(TextAlignment alignment) const;
  AnyView clipShape(const ShapeOutline& shape) const;
  AnyView clipShape(const Shape& shape) const;
  AnyView opacity(double value) const;
  AnyView shadow(const Color& color, double radius, double x = 0, double y = 0) const;
  AnyView buttonStyle(ButtonStyle style) const;
  AnyView pickerStyle(PickerStyle style) const;
  AnyView textSelection(bool isEnabled) const;
  template <class T>
  AnyView animation(std::optional<Animation> animation, const T& value) const {
    auto m = std::make_shared<AnimationModifier>();
    m->animation = animation;
    m->value = detail::describeValue(value);
    return modifier(std::move(m));
  }

  // Behaviour.
  AnyView onHover(std::function<void(bool)> action) const;
  AnyView onAppear(std::function<void()> action) const;
  AnyView onDisappear(std::function<void()> action) const;
  AnyView onSubmit(std::function<void()> action) const;
  // Runs `action` with every value the publisher sends while the view is shown (see ReceiveModifier).
  template <class T>
  AnyView onReceive(concurrency::AnyPublisher<T> publisher, std::function<void(T)> action) const {
    auto m = std::make_shared<ReceiveModifier>();
    m->subscribe = [publisher](std::function<void(std::any)> deliver) {
      return publisher.sink([deliver](T value) { deliver(std::any(std::move(value))); });
    };
    m->action = [action](const std::any& value) { action(std::any_cast<const T&>(value)); };
    return modifier(std::move(m));
  }
  // How the view enters and leaves the tree in an animated change.
  AnyView transition(Transition transition) const;
  // Runs `action` with the new value whenever `value` differs from the previous evaluation's.
  template <std::equality_comparable T>
  AnyView onChange(const T& value, std::function<void(const T&)> action) const {
    return onChange<T>(value, [action](const T&, const T& newValue) { action(newValue); });
  }
  template <std::equality_comparable T>
  AnyView onChange(const T& value, std::function<void(const T& oldValue, const T& newValue)> action) const {
    auto m = std::make_shared<ChangeModifier>();
    m->value = value;
    m->isEqual = detail::anyEquality<T>();
    m->action = [action](const std::any& a, const std::any& b) {
      action(std::any_cast<const T&>(a), std::any_cast<const T&>(b));
    };
    return modifier(std::move(m));
  }
  // Starts `work` as a task when the view appears and cancels it when the view disappears.
  AnyView task(std::function<void()> work,
               std::optional<concurrency::TaskPriority> priority = std::nullopt) const {
    return task(0, std::move(work), priority);
  }
  // The same, and restarts it (cancelling the running one) whenever `id` changes.
  template <std::equality_comparable Id>
  AnyView task(const Id& id, std::function<void()> work,
               std::optional<concurrency::TaskPriority> priority = std::nullopt) const {
    auto m = std::make_shared<TaskModifier>();
    m->id = id;
    m->isEqual = detail::anyEquality<Id>();
    m->work = std::move(work);
    m->priority = priority;
    return modifier(std::move(m));
  }
  AnyView help(std::string text) const;
  // Connects this field to a Boolean focus state.
  AnyView focused(const Binding<bool>& isFocused) const;
  // Connects this field to a focus state over several fields: it has focus when the state holds `value`.
  template <std::equality_comparable T>
  AnyView focused(const Binding<std::optional<T>>& focus, T value) const {
    auto m = std::make_shared<FocusedModifier>();
    m->isFocused = [focus, value] { return focus.get() == value; };
    m->setFocused = [focus, value](bool isFocused) {
      if (isFocused) {
        focus.set(value);
      } else if (focus.get() == value) {
        focus.set(std::nullopt);
      }
    };
    return modifier(std::move(m));
  }
  // A search field for the modified view (a list, mostly), bound to the text searched for.
  AnyView searchable(const Binding<std::string>& text) const;
  AnyView keyboardShortcut(std::string key, EventModifiers modifiers = EventModifiers::command) const;
  AnyView keyboardShortcut(KeyboardShortcut shortcut) const;
  AnyView disabled(bool isDisabled) const;

  // Identity and accessibility.
  template <class T>
  AnyView id(const T& value) const {
    auto m = std::make_shared<IdModifier>();
    m->identity = detail::identityHash(value);
    m->text = detail::describeValue(value);
    return modifier(std::move(m));
  }
  AnyView accessibilityLabel(std::string label) const;
  AnyView accessibilityIdentifier(std::string identifier) const;

  // Environment.
  template <EnvironmentKey K>
  AnyView environment(typename K::Value value) const {
    auto m = std::make_shared<EnvironmentModifier>();
    m->label = "environment";
    m->description = "environment(" + detail::readableTypeName(typeid(K)) + ")";
    m->transform = [value = std::move(value)](EnvironmentValues& environment) { environment.set<K>(value); };
    return modifier(std::move(m));
  }
  template <class T>
  AnyView environmentObject(std::shared_ptr<T> object) const {
    auto m = std::make_shared<EnvironmentModifier>();
    m->label = "environmentObject";
    m->description = "environmentObject(" + detail::readableTypeName(typeid(T)) + ")";
    m->transform = [object = std::move(object)](EnvironmentValues& environment) {
      environment.setObject(object);
    };
    return modifier(std::move(m));
  }
  AnyView colorScheme(ColorScheme scheme) const { return environment<ColorSchemeKey>(scheme); }

  // Preferences.
  template <PreferenceKey K>
  AnyView preference(typename K::Value value) const {
    auto m = std::make_shared<PreferenceModifier>();
    m->key = detail::PreferenceKeyOps::of<K>();
    m->value = std::move(value);
    return modifier(std::move(m));
  }
  template <PreferenceKey K>
  AnyView transformPreference(std::function<void(typename K::Value&)> transform) const {
    auto m = std::make_shared<TransformPreferenceModifier>();
    m->key = detail::PreferenceKeyOps::of<K>();
    m->transform = [transform](std::any& value) { transform(*std::any_cast<typename K::Value>(&value)); };
    return modifier(std::move(m));
  }
  template <PreferenceKey K>
  AnyView onPreferenceChange(std::function<void(const typename K::Value&)> action) const {
    auto m = std::make_shared<PreferenceChangeModifier>();
    m->key = detail::PreferenceKeyOps::of<K>();
    m->action = [action](const std::any& value) { action(std::any_cast<const typename K::Value&>(value)); };
    return modifier(std::move(m));
  }

 private:
  detail::SpecPointer spec_;
};

template <class T>
concept ViewConvertible = std::convertible_to<T, AnyView>;

namespace detail {
// A modifier with a body applied to content: a view whose body is the modifier's body.
template <class M>
class ModifiedContent final : public View {
 public:
  ModifiedContent(M viewModifier, AnyView content)
      : modifier_(std::move(viewModifier)), content_(std::move(content)) {}
  AnyView body() const override { return modifier_.body(content_); }
  static std::string viewTypeName() { return readableTypeName(typeid(M)); }

 private:
  M modifier_;
  AnyView content_;
};
}  // namespace detail

template <class M>
requires std::derived_from<M, ViewModifier> AnyView AnyView::modifier(M viewModifier)
const { return AnyView(detail::ModifiedContent<M>(std::move(viewModifier), *this)); }

}  // namespace ui
