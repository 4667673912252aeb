#include "platform/ui/modifiers.h"

#include <fmt/format.h>

#include "platform/ui/view_graph.h"

namespace ui {

namespace detail {
std::string describeColorValue(const Color& color);
std::string describeShapeValue(const ShapeOutline& shape);
}  // namespace detail

namespace {

std::string number(double value) { return fmt::format("{}", value); }

std::string optionalNumber(const char* label, const std::optional<double>& value) {
  if (!value) return {};
  return fmt::format("{}: {}", label,
                     *value == std::numeric_limits<double>::infinity() ? "infinity" : number(*value));
}

std::string joined(const std::vector<std::string>& parts) {
  std::string result;
  for (const auto& part : parts) {
    if (part.empty()) continue;
    if (!result.empty()) result += ", ";
    result += part;
  }
  return result;
}

std::string edgesName(Edges edges) {
  switch (edges) {
    case Edges::all:
      return "all";
    case Edges::horizontal:
      return "horizontal";
    case Edges::vertical:
      return "vertical";
    case Edges::top:
      return "top";
    case Edges::bottom:
      return "bottom";
    case Edges::leading:
      return "leading";
    case Edges::trailing:
      return "trailing";
  }
  std::vector<std::string> names;
  if (contains(edges, Edges::top)) names.push_back("top");
  if (contains(edges, Edges::leading)) names.push_back("leading");
  if (contains(edges, Edges::bottom)) names.push_back("bottom");
  if (contains(edges, Edges::trailing)) names.push_back("trailing");
  return joined(names);
}

std::string animationText(const Animation& animation) {
  static constexpr const char* curves[] = {"default", "linear", "easeIn", "easeOut", "easeInOut", "spring"};
  std::string text = curves[static_cast<int>(animation.curve)];
  if (animation.curve == Animation::Curve::spring) {
    text += fmt::format("(response: {}, dampingFraction: {}, blendDuration: {})", animation.response,
                        animation.dampingFraction, animation.blendDuration);
  } else if (animation.curve != Animation::Curve::defaultCurve) {
    text += fmt::format("({})", animation.duration);
  }
  if (animation.delaySeconds != 0) text += fmt::format(".delay({})", animation.delaySeconds);
  if (animation.repeatsForever)
    text += fmt::format(".repeatForever(autoreverses: {})", animation.autoreverses);
  if (animation.repeatCount) {
    text += fmt::format(".repeatCount({}, autoreverses: {})", *animation.repeatCount, animation.autoreverses);
  }
  return text;
}

// Compares a modifier with the one it replaces when both are of one type.
template <class M, class Same>
bool isSameAs(const M& current, const detail::Modifier& previous, const Same& same) {
  const auto* other = dynamic_cast<const M*>(&previous);
  return other && same(current, *other);
}

struct TaskRun {
  std::any id;
  concurrency::Task<void> task;
};

void startTask(const TaskModifier& modifier, detail::Node& node) {
  auto& state = node.modifierState();
  if (auto* run = std::any_cast<TaskRun>(&state)) run->task.cancel();
  state = TaskRun{modifier.id, concurrency::Task<void>(modifier.work, modifier.priority)};
}

}  // namespace

std::string PaddingModifier::describe() const {
  if (edgeInsets) {
    return "padding(top: " + number(edgeInsets->top) + ", leading: " + number(edgeInsets->leading) +
           ", bottom: " + number(edgeInsets->bottom) + ", trailing: " + number(edgeInsets->trailing) + ")";
  }
  auto value = length ? number(*length) : std::string("default");
  if (edges == Edges::all) return "padding(" + value + ")";
  return "padding(" + edgesName(edges) + ": " + value + ")";
}

EdgeInsets PaddingModifier::insets() const {
  if (edgeInsets) return *edgeInsets;
  double value = length.value_or(defaultPadding);
  EdgeInsets result;
  if (contains(edges, Edges::top)) result.top = value;
  if (contains(edges, Edges::leading)) result.leading = value;
  if (contains(edges, Edges::bottom)) result.bottom = value;
  if (contains(edges, Edges::trailing)) result.trailing = value;
  return result;
}

std::string FrameModifier::describe() const {
  return "frame(" +
         joined({optionalNumber("width", width), optionalNumber("height", height),
                 optionalNumber("minWidth", minWidth), optionalNumber("idealWidth", idealWidth),
                 optionalNumber("maxWidth", maxWidth), optionalNumber("minHeight", minHeight),
                 optionalNumber("idealHeight", idealHeight), optionalNumber("maxHeight", maxHeight)}) +
         ")";
}

std::string FixedSizeModifier::describe() const {
  return fmt::format("fixedSize(horizontal: {}, vertical: {})", horizontal, vertical);
}

std::string ClipShapeModifier::describe() const {
  return "clipShape(" + detail::describeShapeValue(shape) + ")";
}

std::string OpacityModifier::describe() const { return "opacity(" + number(opacity) + ")"; }

std::string OffsetModifier::describe() const { return fmt::format("offset(x: {}, y: {})", x, y); }

std::string ZIndexModifier::describe() const { return "zIndex(" + number(value) + ")"; }

std::string ShadowModifier::describe() const {
  return fmt::format("shadow({}, radius: {}, x: {}, y: {})", detail::describeColorValue(color), radius, x, y);
}

std::string AnimationModifier::describe() const {
  return fmt::format("animation({}, value: {})", animation ? animationText(*animation) : "none", value);
}

std::string HelpModifier::describe() const { return fmt::format("help(\"{}\")", text); }

std::string KeyboardShortcutModifier::describe() const {
  return fmt::format("keyboardShortcut(\"{}\", modifiers: {})", shortcut.key,
                     static_cast<int>(shortcut.modifiers));
}

std::string AccessibilityLabelModifier::describe() const {
  return fmt::format("accessibilityLabel(\"{}\")", label);
}

std::string AccessibilityIdentifierModifier::describe() const {
  return fmt::format("accessibilityIdentifier(\"{}\")", identifier);
}

std::string FocusedModifier::describe() const {
  return fmt::format("focused({})", isFocused() ? "yes" : "no");
}

std::string SearchableModifier::describe() const { return fmt::format("searchable(\"{}\")", text.get()); }

std::string IdModifier::describe() const { return "id(" + text + ")"; }

void AppearModifier::appeared(detail::Node&, detail::UpdateContext& context) const {
  if (action) context.enqueue(action);
}

void DisappearModifier::disappeared(detail::Node&, detail::UpdateContext& context) const {
  if (action) context.enqueue(action);
}

void ChangeModifier::evaluated(detail::Node& node, detail::UpdateContext& context, bool isNew) const {
  auto& previous = node.modifierState();
  if (isNew || !previous.has_value()) {
    previous = value;
    return;
  }
  if (isEqual(previous, value)) return;
  auto oldValue = previous;
  previous = value;
  auto newValue = value;
  auto run = action;
  context.enqueue([run, oldValue, newValue] { run(oldValue, newValue); });
}

void TaskModifier::evaluated(detail::Node& node, detail::UpdateContext&, bool isNew) const {
  if (isNew || !node.hasAppeared()) return;
  auto* run = std::any_cast<TaskRun>(&node.modifierState());
  if (run && isEqual(run->id, id)) return;
  startTask(*this, node);
}

void TaskModifier::appeared(detail::Node& node, detail::UpdateContext&) const { startTask(*this, node); }

void TaskModifier::disappeared(detail::Node& node, detail::UpdateContext&) const {
  if (auto* run = std::any_cast<TaskRun>(&node.modifierState())) run->task.cancel();
  node.modifierState().reset();
}

void PreferenceModifier::preference(const detail::PreferenceKeyOps& asked,
                                    std::optional<std::any>& result) const {
  if (asked.key == key.key) result = value;
}

void TransformPreferenceModifier::preference(const detail::PreferenceKeyOps& asked,
                                             std::optional<std::any>& result) const {
  if (asked.key != key.key) return;
  if (!result) result = key.defaultValue();
  transform(*result);
}

bool PaddingModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) {
    return a.edges == b.edges && a.length == b.length && a.edgeInsets == b.edgeInsets;
  });
}

bool FrameModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) {
    return a.width == b.width && a.height == b.height && a.minWidth == b.minWidth &&
           a.idealWidth == b.idealWidth && a.maxWidth == b.maxWidth && a.minHeight == b.minHeight &&
           a.idealHeight == b.idealHeight && a.maxHeight == b.maxHeight && a.alignment == b.alignment;
  });
}

bool FixedSizeModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) {
    return a.horizontal == b.horizontal && a.vertical == b.vertical;
  });
}

// The attached view is a child of the modified view, which answers for its own changes.
bool BackgroundModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) { return a.alignment == b.alignment; });
}

bool OverlayModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) { return a.alignment == b.alignment; });
}

bool ClipShapeModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) { return a.shape == b.shape; });
}

bool OpacityModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) { return a.opacity == b.opacity; });
}

bool OffsetModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) { return a.x == b.x && a.y == b.y; });
}

bool ZIndexModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) { return a.value == b.value; });
}

bool ShadowModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) {
    return a.color == b.color && a.radius == b.radius && a.x == b.x && a.y == b.y;
  });
}

bool HelpModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) { return a.text == b.text; });
}

bool AccessibilityLabelModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) { return a.label == b.label; });
}

bool AccessibilityIdentifierModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) { return a.identifier == b.identifier; });
}

bool IdModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous,
                  [](const auto& a, const auto& b) { return a.identity == b.identity && a.text == b.text; });
}

bool PreferenceModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) {
    return a.key.key == b.key.key && a.key.isEqual(a.value, b.value);
  });
}

// The handler changes nothing that is shown; the graph calls the one in place when the value changes.
bool PreferenceChangeModifier::hasSameEffect(const detail::Modifier& previous) const {
  return isSameAs(*this, previous, [](const auto& a, const auto& b) { return a.key.key == b.key.key; });
}

}  // namespace ui
