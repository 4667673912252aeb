#include "platform/ui/view.h"

#include <fmt/format.h>

#include "platform/ui/views.h"

namespace ui {

namespace {

std::string number(double value) { return fmt::format("{}", value); }

// Colours read as they were made: system and catalogue colours by name, light/dark pairs as both,
// others as sRGB components; an opacity factor is added when it is not 1.
std::string describeColor(const Color& color) {
  std::string text;
  switch (color.kind()) {
    case Color::Kind::system:
      text = systemColorName(*color.systemColor());
      break;
    case Color::Kind::catalog:
      text = *color.colorName();
      break;
    case Color::Kind::dynamic:
      text = "light " + describeColor(*color.lightColor()) + " dark " + describeColor(*color.darkColor());
      break;
    default: {
      auto resolved = color.resolved(ColorScheme::light);
      text = resolved.opacity == 1
                 ? fmt::format("rgb({}, {}, {})", resolved.red, resolved.green, resolved.blue)
                 : fmt::format("rgba({}, {}, {}, {})", resolved.red, resolved.green, resolved.blue,
                               resolved.opacity);
      return text;
    }
  }
  if (color.opacityFactor() != 1) text += fmt::format(" opacity {}", color.opacityFactor());
  return text;
}

std::string describeShape(const ShapeOutline& shape) {
  switch (shape.kind) {
    case ShapeOutline::Kind::rectangle:
      return "Rectangle";
    case ShapeOutline::Kind::circle:
      return "Circle";
    case ShapeOutline::Kind::ellipse:
      return "Ellipse";
    case ShapeOutline::Kind::capsule:
      return "Capsule";
    case ShapeOutline::Kind::roundedRectangle:
      return fmt::format("RoundedRectangle({}{})", shape.cornerRadius,
                         shape.cornerStyle == CornerStyle::continuous ? ", continuous" : "");
  }
  return "Shape";
}

std::string describeFont(const Font& font) {
  static constexpr const char* weights[] = {"ultraLight", "thin", "light", "regular", "medium",
                                            "semibold",   "bold", "heavy", "black"};
  static constexpr const char* designs[] = {"default", "monospaced", "serif", "rounded"};
  static constexpr const char* styles[] = {"largeTitle", "title",       "title2",  "title3",
                                           "headline",   "subheadline", "body",    "callout",
                                           "footnote",   "caption",     "caption2"};
  std::string base;
  if (auto style = font.textStyleValue()) {
    base = styles[static_cast<int>(*style)];
  } else if (font.kind() == Font::Kind::system) {
    base = fmt::format("system {}", font.size());
  } else {
    base = fmt::format("\"{}\" {}", font.name(), font.size());
  }
  return fmt::format("{} {} {}{}", base, weights[static_cast<int>(font.weight())],
                     designs[static_cast<int>(font.design())], font.isItalic() ? " italic" : "");
}

template <class M>
std::shared_ptr<M> make() {
  return std::make_shared<M>();
}

}  // namespace

namespace detail {

std::string describeNumber(char value) { return fmt::format("{}", value); }
std::string describeNumber(long long value) { return fmt::format("{}", value); }
std::string describeNumber(unsigned long long value) { return fmt::format("{}", value); }
std::string describeNumber(float value) { return fmt::format("{}", value); }
std::string describeNumber(double value) { return fmt::format("{}", value); }
std::string describeNumber(long double value) { return fmt::format("{}", value); }
std::string describeColorValue(const Color& color) { return describeColor(color); }
std::string describeShapeValue(const ShapeOutline& shape) { return describeShape(shape); }
std::string describeFontValue(const Font& font) { return describeFont(font); }
}  // namespace detail

namespace {
thread_local std::optional<Animation> transactionAnimation;
}

void withAnimation(const Animation& animation, const std::function<void()>& change) {
  auto outer = transactionAnimation;
  transactionAnimation = animation;
  try {
    change();
  } catch (...) {
    transactionAnimation = outer;
    throw;
  }
  transactionAnimation = outer;
}

std::optional<Animation> currentTransactionAnimation() { return transactionAnimation; }

AnyView::AnyView() : AnyView(EmptyView()) {}

AnyView::AnyView(const Color& color) : spec_(std::make_shared<detail::ColorSpec>(color)) {}

AnyView AnyView::modifier(std::shared_ptr<const detail::Modifier> modifier) const {
  return AnyView(std::make_shared<detail::ModifiedSpec>(std::move(modifier), spec_));
}

AnyView AnyView::padding(Edges edges, std::optional<double> length) const {
  auto m = make<PaddingModifier>();
  m->edges = edges;
  m->length = length;
  return modifier(std::move(m));
}

AnyView AnyView::padding(const EdgeInsets& insets) const {
  auto m = make<PaddingModifier>();
  m->edgeInsets = insets;
  return modifier(std::move(m));
}

AnyView AnyView::frame(std::optional<double> width, std::optional<double> height, Alignment alignment) const {
  auto m = make<FrameModifier>();
  m->width = width;
  m->height = height;
  m->alignment = alignment;
  return modifier(std::move(m));
}

AnyView AnyView::frame(const FrameModifier& flexible) const {
  return modifier(std::make_shared<FrameModifier>(flexible));
}

AnyView AnyView::fixedSize(bool horizontal, bool vertical) const {
  auto m = make<FixedSizeModifier>();
  m->horizontal = horizontal;
  m->vertical = vertical;
  return modifier(std::move(m));
}

AnyView AnyView::background(AnyView view, Alignment alignment) const {
  auto m = make<BackgroundModifier>();
  m->view = view.spec();
  m->alignment = alignment;
  return modifier(std::move(m));
}

AnyView AnyView::overlay(AnyView view, Alignment alignment) const {
  auto m = make<OverlayModifier>();
  m->view = view.spec();
  m->alignment = alignment;
  return modifier(std::move(m));
}

AnyView AnyView::offset(double x, double y) const {
  auto m = make<OffsetModifier>();
  m->x = x;
  m->y = y;
  return modifier(std::move(m));
}

AnyView AnyView::zIndex(double value) const {
  auto m = make<ZIndexModifier>();
  m->value = value;
  return modifier(std::move(m));
}

AnyView AnyView::ignoresSafeArea(SafeAreaRegions regions, Edges edges) const {
  auto m = make<IgnoresSafeAreaModifier>();
  m->regions = regions;
  m->edges = edges;
  return modifier(std::move(m));
}

AnyView AnyView::transition(Transition transition) const {
  auto m = make<TransitionModifier>();
  m->transition = transition;
  return modifier(std::move(m));
}

namespace {
template <EnvironmentKey K>
AnyView environmentChange(const AnyView& view, std::string label, std::string description,
                          typename K::Value value) {
  auto m = make<EnvironmentModifier>();
  m->label = std::move(label);
  m->description = std::move(description);
  m->transform = [value = std::move(value)](EnvironmentValues& environment) { environment.set<K>(value); };
  return view.modifier(std::move(m));
}
}  // namespace

AnyView AnyView::foregroundStyle(const Color& color) const {
  return environmentChange<ForegroundStyleKey>(*this, "foregroundStyle",
                                               "foregroundStyle(" + describeColor(color) + ")", color);
}

AnyView AnyView::font(const Font& font) const {
  return environmentChange<FontKey>(*this, "font", "font(" + describeFont(font) + ")", font);
}

AnyView AnyView::lineSpacing(double spacing) const {
  return environmentChange<LineSpacingKey>(*this, "lineSpacing", "lineSpacing(" + number(spacing) + ")",
                                           spacing);
}

AnyView AnyView::multilineTextAlignment(TextAlignment alignment) const {
  static constexpr const char* names[] = {"leading", "center", "trailing"};
  return environmentChange<MultilineTextAlignmentKey>(
      *this, "multilineTextAlignment",
      fmt::format("multilineTextAlignment({})", names[static_cast<int>(alignment)]), alignment);
}

AnyView AnyView::buttonStyle(ButtonStyle style) const {
  static constexpr const char* names[] = {"automatic", "plain", "bordered", "borderless", "link"};
  return environmentChange<ButtonStyleKey>(
      *this, "buttonStyle", fmt::format("buttonStyle({})", names[static_cast<int>(style)]), style);
}

AnyView AnyView::pickerStyle(PickerStyle style) const {
  static constexpr const char* names[] = {"automatic", "menu", "segmented"};
  return environmentChange<PickerStyleKey>(
      *this, "pickerStyle", fmt::format("pickerStyle({})", names[static_cast<int>(style)]), style);
}

AnyView AnyView::searchable(const Binding<std::string>& text) const {
  auto m = make<SearchableModifier>();
  m->text = text;
  return modifier(std::move(m));
}

AnyView AnyView::textSelection(bool isEnabled) const {
  return environmentChange<IsTextSelectionEnabledKey>(
      *this, "textSelection", fmt::format("textSelection({})", isEnabled ? "enabled" : "disabled"),
      isEnabled);
}

AnyView AnyView::disabled(bool isDisabled) const {
  auto m = make<EnvironmentModifier>();
  m->label = "disabled";
  m->description = fmt::format("disabled({})", isDisabled);
  // A disabled ancestor disables the whole subtree; enabling below it does not re-enable.
  m->transform = [isDisabled](EnvironmentValues& environment) {
    if (isDisabled) environment.set<IsEnabledKey>(false);
  };
  return modifier(std::move(m));
}

AnyView AnyView::clipShape(const ShapeOutline& shape) const {
  auto m = make<ClipShapeModifier>();
  m->shape = shape;
  return modifier(std::move(m));
}

AnyView AnyView::clipShape(const Shape& shape) const { return clipShape(shape.outline()); }

AnyView AnyView::opacity(double value) const {
  auto m = make<OpacityModifier>();
  m->opacity = value;
  return modifier(std::move(m));
}

AnyView AnyView::shadow(const Color& color, double radius, double x, double y) const {
  auto m = make<ShadowModifier>();
  m->color = color;
  m->radius = radius;
  m->x = x;
  m->y = y;
  return modifier(std::move(m));
}

AnyView AnyView::onHover(std::function<void(bool)> action) const {
  auto m = make<HoverModifier>();
  m->action = std::move(action);
  return modifier(std::move(m));
}

AnyView AnyView::onAppear(std::function<void()> action) const {
  auto m = make<AppearModifier>();
  m->action = std::move(action);
  return modifier(std::move(m));
}

AnyView AnyView::onDisappear(std::function<void()> action) const {
  auto m = make<DisappearModifier>();
  m->action = std::move(action);
  return modifier(std::move(m));
}

AnyView AnyView::onSubmit(std::function<void()> action) const {
  auto m = make<SubmitModifier>();
  m->action = std::move(action);
  return modifier(std::move(m));
}

AnyView AnyView::help(std::string text) const {
  auto m = make<HelpModifier>();
  m->text = std::move(text);
  return modifier(std::move(m));
}

AnyView AnyView::focused(const Binding<bool>& isFocused) const {
  auto m = make<FocusedModifier>();
  m->isFocused = [isFocused] { return isFocused.get(); };
  m->setFocused = [isFocused](bool value) { isFocused.set(value); };
  return modifier(std::move(m));
}

AnyView AnyView::keyboardShortcut(std::string key, EventModifiers modifiers) const {
  return keyboardShortcut(KeyboardShortcut{std::move(key), modifiers});
}

AnyView AnyView::keyboardShortcut(KeyboardShortcut shortcut) const {
  auto m = make<KeyboardShortcutModifier>();
  m->shortcut = std::move(shortcut);
  return modifier(std::move(m));
}

AnyView AnyView::accessibilityLabel(std::string label) const {
  auto m = make<AccessibilityLabelModifier>();
  m->label = std::move(label);
  return modifier(std::move(m));
}

AnyView AnyView::accessibilityIdentifier(std::string identifier) const {
  auto m = make<AccessibilityIdentifierModifier>();
  m->identifier = std::move(identifier);
  return modifier(std::move(m));
}

}  // namespace ui
