#include "MarkdownRender/styles/text_styles.h"

#include <functional>

namespace MarkdownRender {
namespace {

// Changes the record in the container, when there is one.
void changeFontProperties(ui::AttributeContainer& attributes,
                          const std::function<void(FontProperties&)>& change) {
  auto properties = fontProperties(attributes);
  if (!properties) return;
  change(*properties);
  setFontProperties(attributes, *properties);
}

}  // namespace

void ForegroundColor::applyAttributes(ui::AttributeContainer& attributes) const {
  attributes.foregroundColor = foregroundColor;
}

void BackgroundColor::applyAttributes(ui::AttributeContainer& attributes) const {
  attributes.backgroundColor = backgroundColor;
}

void StrikethroughStyle::applyAttributes(ui::AttributeContainer& attributes) const {
  attributes.strikethrough = lineStyle ? std::optional<bool>(true) : std::nullopt;
  attributes.strikethroughStyle = lineStyle;
}

void UnderlineStyle::applyAttributes(ui::AttributeContainer& attributes) const {
  attributes.underline = lineStyle ? std::optional<bool>(true) : std::nullopt;
  attributes.underlineStyle = lineStyle;
}

void TextKerning::applyAttributes(ui::AttributeContainer& attributes) const { attributes.kern = kern; }

void TextTracking::applyAttributes(ui::AttributeContainer& attributes) const {
  attributes.tracking = tracking;
}

void FontFamily::applyAttributes(ui::AttributeContainer& attributes) const {
  changeFontProperties(attributes, [&](FontProperties& p) { p.family = family; });
}

void FontFamilyVariant::applyAttributes(ui::AttributeContainer& attributes) const {
  changeFontProperties(attributes, [&](FontProperties& p) { p.familyVariant = familyVariant; });
}

void FontCapsVariant::applyAttributes(ui::AttributeContainer& attributes) const {
  changeFontProperties(attributes, [&](FontProperties& p) { p.capsVariant = capsVariant; });
}

void FontDigitVariant::applyAttributes(ui::AttributeContainer& attributes) const {
  changeFontProperties(attributes, [&](FontProperties& p) { p.digitVariant = digitVariant; });
}

void FontStyle::applyAttributes(ui::AttributeContainer& attributes) const {
  changeFontProperties(attributes, [&](FontProperties& p) { p.style = style; });
}

void FontWeight::applyAttributes(ui::AttributeContainer& attributes) const {
  changeFontProperties(attributes, [&](FontProperties& p) { p.weight = weight; });
}

void FontSize::applyAttributes(ui::AttributeContainer& attributes) const {
  changeFontProperties(attributes, [&](FontProperties& p) {
    if (const auto* points = std::get_if<double>(&size)) {
      p.size = *points;
      p.scale = 1;
    } else if (const auto& relative = std::get<RelativeSize>(size); relative.unit == RelativeSize::Unit::em) {
      p.scale *= relative.value;
    } else {
      p.scale = relative.value;
    }
  });
}

}  // namespace MarkdownRender
