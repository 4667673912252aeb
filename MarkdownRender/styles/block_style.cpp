#include "MarkdownRender/styles/block_style.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>

#include "MarkdownRender/model/roman_numeral.h"
#include "MarkdownRender/styles/font_properties.h"
#include "MarkdownRender/styles/font_relative_modifiers.h"
#include "MarkdownRender/styles/text_style_environment.h"
#include "platform/ui/environment.h"
#include "platform/ui/image_modifiers.h"
#include "platform/ui/views.h"

namespace MarkdownRender {
namespace {

// Text whose digits are of equal width in the font in force.
class MonospacedDigitText final : public ui::View {
 public:
  explicit MonospacedDigitText(std::string text) : text_(std::move(text)) {}
  ui::AnyView body() const override {
    return ui::Text::verbatim(text_).font(font_->value_or(ui::Font::body()).monospacedDigit());
  }

 private:
  std::string text_;
  ui::Environment<ui::FontKey> font_;
};

ui::AnyView inMarkerFrame(const ui::AnyView& marker) {
  return fontRelativeFrame(marker, RelativeSize::em(1.5), ui::Alignment::trailing());
}

using ListMarkerStyle = BlockStyle<ListMarkerConfiguration>;

// The localized "%lld." with the item number in place of its placeholder.
std::string numeral(int itemNumber) {
  std::string format = ui::localizedString("%lld.");
  const auto placeholder = format.find("%lld");
  const std::string number = fmt::format("{}", itemNumber);
  if (placeholder == std::string::npos) return format;
  return format.replace(placeholder, 4, number);
}

std::string lowercased(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

ListMarkerStyle bulletStyle(const char* symbol) {
  return ListMarkerStyle(
      [symbol](const ListMarkerConfiguration&) { return inMarkerFrame(ListBullet(symbol)); });
}

}  // namespace

ui::AnyView ListBullet::body() const {
  return TextStyleAttributesReader([image = image](const ui::AttributeContainer& attributes) {
    const auto properties = fontProperties(attributes);
    const double effectiveSize = properties ? properties->effectiveSize() : FontProperties::standardSize;
    return ui::AnyView(ui::Image::systemName(image)).font(ui::Font::system(std::round(effectiveSize / 3)));
  });
}

const ListMarkerStyle& numeralMarker() {
  static const ListMarkerStyle style([](const ListMarkerConfiguration& configuration) {
    return inMarkerFrame(MonospacedDigitText(numeral(configuration.itemNumber)));
  });
  return style;
}

const ListMarkerStyle& uppercaseRomanMarker() {
  static const ListMarkerStyle style([](const ListMarkerConfiguration& configuration) {
    return inMarkerFrame(ui::Text::verbatim(romanNumeral(configuration.itemNumber) + "."));
  });
  return style;
}

const ListMarkerStyle& lowercaseRomanMarker() {
  static const ListMarkerStyle style([](const ListMarkerConfiguration& configuration) {
    return inMarkerFrame(ui::Text::verbatim(lowercased(romanNumeral(configuration.itemNumber)) + "."));
  });
  return style;
}

const ListMarkerStyle& hyphenMarker() {
  static const ListMarkerStyle style(
      [](const ListMarkerConfiguration&) { return inMarkerFrame(ui::Text("-")); });
  return style;
}

const ListMarkerStyle& filledCircleBullet() {
  static const ListMarkerStyle style = bulletStyle("circle.fill");
  return style;
}

const ListMarkerStyle& hollowCircleBullet() {
  static const ListMarkerStyle style = bulletStyle("circle");
  return style;
}

const ListMarkerStyle& filledSquareBullet() {
  static const ListMarkerStyle style = bulletStyle("square.fill");
  return style;
}

const ListMarkerStyle& bulletByLevel() {
  // Levels below 1 never come from the list views; they get the outermost bullet.
  static const ListMarkerStyle style([](const ListMarkerConfiguration& configuration) {
    static const std::array<const ListMarkerStyle*, 3> bullets{&filledCircleBullet(), &hollowCircleBullet(),
                                                               &filledSquareBullet()};
    const int level = std::clamp(configuration.listLevel, 1, 3);
    return bullets[static_cast<std::size_t>(level - 1)]->render(configuration);
  });
  return style;
}

ui::AnyView checkboxSymbol(const TaskListMarkerConfiguration& configuration,
                           const std::optional<std::pair<ui::Color, ui::Color>>& layerColors) {
  ui::AnyView symbol = ui::symbolRenderingMode(
      ui::Image::systemName(configuration.isCompleted ? "checkmark.square.fill" : "square"),
      ui::SymbolRenderingMode::hierarchical);
  if (layerColors) symbol = ui::foregroundStyle(symbol, layerColors->first, layerColors->second);
  return ui::imageScale(symbol, ui::ImageScale::small);
}

const BlockStyle<TaskListMarkerConfiguration>& checkboxMarker() {
  static const BlockStyle<TaskListMarkerConfiguration> style(
      [](const TaskListMarkerConfiguration& configuration) {
        return inMarkerFrame(checkboxSymbol(configuration, std::nullopt));
      });
  return style;
}

TableBackgroundStyle TableBackgroundStyle::transparent() {
  return TableBackgroundStyle([](int, int) { return ui::Color::clear(); });
}

TableBackgroundStyle TableBackgroundStyle::rowBands(ui::Color first, ui::Color second,
                                                    std::optional<ui::Color> header) {
  return TableBackgroundStyle([=](int row, int) {
    if (row < 1) return header.value_or(first);
    return row % 2 == 1 ? first : second;
  });
}

const TableBackgroundStyle& TableBackgroundStyleKey::defaultValue() {
  static const TableBackgroundStyle style = TableBackgroundStyle::transparent();
  return style;
}

}  // namespace MarkdownRender
