// The built-in modifiers as values. Views apply them through AnyView's modifier methods; the inspector
// reads them back from the evaluated tree.
#pragma once

#include <any>
#include <functional>
#include <optional>
#include <string>

#include "platform/concurrency/task.h"
#include "platform/ui/binding.h"
#include "platform/ui/color.h"
#include "platform/ui/environment.h"
#include "platform/ui/font.h"
#include "platform/ui/preference.h"
#include "platform/ui/view_spec.h"
#include "platform/ui/view_values.h"

namespace ui {

struct PaddingModifier final : detail::Modifier {
  Edges edges = Edges::all;
  std::optional<double> length;          // absent: the platform's default
  std::optional<EdgeInsets> edgeInsets;  // each edge's own length, in place of the two above
  std::string name() const override { return "padding"; }
  std::string describe() const override;
  EdgeInsets insets() const;
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

// A fixed or flexible frame; absent dimensions take the content's size.
struct FrameModifier final : detail::Modifier {
  std::optional<double> width, height;
  std::optional<double> minWidth, idealWidth, maxWidth;
  std::optional<double> minHeight, idealHeight, maxHeight;
  Alignment alignment;
  std::string name() const override { return "frame"; }
  std::string describe() const override;
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

struct FixedSizeModifier final : detail::Modifier {
  bool horizontal = true, vertical = true;
  std::string name() const override { return "fixedSize"; }
  std::string describe() const override;
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

// A view drawn behind (background) or in front of (overlay) the modified view, sized to it.
struct BackgroundModifier final : detail::Modifier {
  detail::SpecPointer view;
  Alignment alignment;
  std::string name() const override { return "background"; }
  std::vector<detail::SpecPointer> attachedViews() const override { return {view}; }
  bool hasSameEffect(const detail::Modifier& previous) const override;
};
struct OverlayModifier final : detail::Modifier {
  detail::SpecPointer view;
  Alignment alignment;
  std::string name() const override { return "overlay"; }
  std::vector<detail::SpecPointer> attachedViews() const override { return {view}; }
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

// Changes one value of the environment for the modified view's subtree.
struct EnvironmentModifier final : detail::Modifier {
  std::string label;  // what the dump shows: "font(...)", "foregroundStyle(...)", ...
  std::function<void(EnvironmentValues&)> transform;
  std::string name() const override { return label; }
  std::string describe() const override { return description; }
  std::string description;
  void transformEnvironment(EnvironmentValues& environment) const override { transform(environment); }
};

struct ClipShapeModifier final : detail::Modifier {
  ShapeOutline shape;
  std::string name() const override { return "clipShape"; }
  std::string describe() const override;
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

struct OpacityModifier final : detail::Modifier {
  double opacity = 1;
  std::string name() const override { return "opacity"; }
  std::string describe() const override;
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

struct OffsetModifier final : detail::Modifier {
  double x = 0, y = 0;
  std::string name() const override { return "offset"; }
  std::string describe() const override;
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

// Drawing and hit-testing order among siblings: higher is in front.
struct ZIndexModifier final : detail::Modifier {
  double value = 0;
  std::string name() const override { return "zIndex"; }
  std::string describe() const override;
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

struct ShadowModifier final : detail::Modifier {
  Color color = Color(0, 0, 0, 0.33);
  double radius = 0, x = 0, y = 0;
  std::string name() const override { return "shadow"; }
  std::string describe() const override;
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

// An animation applied to changes of a value (absent: changes are not animated).
struct AnimationModifier final : detail::Modifier {
  std::optional<Animation> animation;
  std::string value;  // the watched value, as text
  std::string name() const override { return "animation"; }
  std::string describe() const override;
};

struct HelpModifier final : detail::Modifier {
  std::string text;
  std::string name() const override { return "help"; }
  std::string describe() const override;
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

struct KeyboardShortcutModifier final : detail::Modifier {
  KeyboardShortcut shortcut;
  std::string name() const override { return "keyboardShortcut"; }
  std::string describe() const override;
};

struct AccessibilityLabelModifier final : detail::Modifier {
  std::string label;
  std::string name() const override { return "accessibilityLabel"; }
  std::string describe() const override;
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

struct AccessibilityIdentifierModifier final : detail::Modifier {
  std::string identifier;
  std::string name() const override { return "accessibilityIdentifier"; }
  std::string describe() const override;
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

// An explicit identity: a different value makes a different view (with fresh state).
struct IdModifier final : detail::Modifier {
  std::size_t identity = 0;
  std::string text;
  std::string name() const override { return "id"; }
  std::string describe() const override;
  std::optional<std::size_t> explicitIdentity() const override { return identity; }
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

// Called with true when the pointer enters the view and false when it leaves.
struct HoverModifier final : detail::Modifier {
  std::function<void(bool)> action;
  std::string name() const override { return "onHover"; }
};

struct AppearModifier final : detail::Modifier {
  std::function<void()> action;
  std::string name() const override { return "onAppear"; }
  void appeared(detail::Node& node, detail::UpdateContext& context) const override;
};

struct DisappearModifier final : detail::Modifier {
  std::function<void()> action;
  std::string name() const override { return "onDisappear"; }
  void disappeared(detail::Node& node, detail::UpdateContext& context) const override;
};

// Runs its action when the watched value differs from the one of the previous evaluation; never for the
// first value.
struct ChangeModifier final : detail::Modifier {
  std::any value;
  std::function<bool(const std::any&, const std::any&)> isEqual;
  std::function<void(const std::any& oldValue, const std::any& newValue)> action;
  std::string name() const override { return "onChange"; }
  void evaluated(detail::Node& node, detail::UpdateContext& context, bool isNew) const override;
};

// Work started when the view appears, cancelled when it disappears, and restarted (the old run
// cancelled) when the id changes while the view is shown.
struct TaskModifier final : detail::Modifier {
  std::any id;
  std::function<bool(const std::any&, const std::any&)> isEqual;
  std::function<void()> work;
  std::optional<concurrency::TaskPriority> priority;
  std::string name() const override { return "task"; }
  void evaluated(detail::Node& node, detail::UpdateContext& context, bool isNew) const override;
  void appeared(detail::Node& node, detail::UpdateContext& context) const override;
  void disappeared(detail::Node& node, detail::UpdateContext& context) const override;
};

// Connects the modified view (a field) to focus state: whether it has focus, and how to give it focus or
// take it away.
struct FocusedModifier final : detail::Modifier {
  std::function<bool()> isFocused;
  std::function<void(bool)> setFocused;
  std::string name() const override { return "focused"; }
  std::string describe() const override;
};

// A search field shown above the modified view, bound to the text searched for; a person types into it.
struct SearchableModifier final : detail::Modifier {
  Binding<std::string> text{[] { return std::string(); }, [](std::string) {}};
  std::string name() const override { return "searchable"; }
  std::string describe() const override;
};

// Runs when a text field inside the modified view is submitted.
struct SubmitModifier final : detail::Modifier {
  std::function<void()> action;
  std::string name() const override { return "onSubmit"; }
};

struct PreferenceModifier final : detail::Modifier {
  detail::PreferenceKeyOps key;
  std::any value;
  std::string name() const override { return "preference"; }
  void preference(const detail::PreferenceKeyOps& key, std::optional<std::any>& value) const override;
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

struct TransformPreferenceModifier final : detail::Modifier {
  detail::PreferenceKeyOps key;
  std::function<void(std::any&)> transform;
  std::string name() const override { return "transformPreference"; }
  void preference(const detail::PreferenceKeyOps& key, std::optional<std::any>& value) const override;
};

// Called with the value of a preference that the modified view's subtree produces: once when it is
// first known and again whenever it changes. The action may write state; the graph re-evaluates until
// the value settles.
struct PreferenceChangeModifier final : detail::Modifier {
  detail::PreferenceKeyOps key;
  std::function<void(const std::any&)> action;
  std::string name() const override { return "onPreferenceChange"; }
  bool hasSameEffect(const detail::Modifier& previous) const override;
};

}  // namespace ui
