#include "platform/ui/font.h"

namespace ui {
namespace {

struct TextStyleMetrics {
  TextStyle style;
  double size;
  FontWeight weight;
};

// The platform's text styles at the default text size.
constexpr TextStyleMetrics textStyleTable[] = {
    {TextStyle::largeTitle, 26, FontWeight::regular}, {TextStyle::title, 22, FontWeight::regular},
    {TextStyle::title2, 17, FontWeight::regular},     {TextStyle::title3, 15, FontWeight::regular},
    {TextStyle::headline, 13, FontWeight::bold},      {TextStyle::subheadline, 11, FontWeight::regular},
    {TextStyle::body, 13, FontWeight::regular},       {TextStyle::callout, 12, FontWeight::regular},
    {TextStyle::footnote, 10, FontWeight::regular},   {TextStyle::caption, 10, FontWeight::regular},
    {TextStyle::caption2, 10, FontWeight::regular},
};

const TextStyleMetrics& metrics(TextStyle style) {
  for (const auto& entry : textStyleTable) {
    if (entry.style == style) return entry;
  }
  return textStyleTable[6];
}

std::size_t combineHash(std::size_t seed, std::size_t value) {
  return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

}  // namespace

double pointSize(TextStyle style) { return metrics(style).size; }
FontWeight defaultWeight(TextStyle style) { return metrics(style).weight; }

Font Font::system(double size, FontWeight weight, FontDesign design) {
  Font font;
  font.kind_ = Kind::system;
  font.size_ = size;
  font.weight_ = weight;
  font.design_ = design;
  return font;
}

Font Font::textStyle(TextStyle style, FontDesign design) {
  Font font;
  font.kind_ = Kind::textStyle;
  font.textStyle_ = style;
  font.weight_ = defaultWeight(style);
  font.design_ = design;
  return font;
}

Font Font::custom(std::string name, double size) {
  Font font;
  font.kind_ = Kind::custom;
  font.name_ = std::move(name);
  font.size_ = size;
  return font;
}

Font Font::file(std::string path, double size, std::string familyName) {
  Font font;
  font.kind_ = Kind::file;
  font.path_ = std::move(path);
  font.name_ = std::move(familyName);
  font.size_ = size;
  return font;
}

Font Font::monospaced() const {
  Font font = *this;
  font.design_ = FontDesign::monospaced;
  return font;
}

Font Font::weight(FontWeight weight) const {
  Font font = *this;
  font.weight_ = weight;
  return font;
}

Font Font::italic() const {
  Font font = *this;
  font.isItalic_ = true;
  return font;
}

Font Font::lowercaseSmallCaps() const {
  Font font = *this;
  font.hasLowercaseSmallCaps_ = true;
  return font;
}

Font Font::uppercaseSmallCaps() const {
  Font font = *this;
  font.hasUppercaseSmallCaps_ = true;
  return font;
}

Font Font::monospacedDigit() const {
  Font font = *this;
  font.hasMonospacedDigits_ = true;
  return font;
}

double Font::size() const { return kind_ == Kind::textStyle ? pointSize(textStyle_) : size_; }

std::optional<TextStyle> Font::textStyleValue() const {
  if (kind_ == Kind::textStyle) return textStyle_;
  return std::nullopt;
}

std::size_t Font::hashValue() const {
  std::size_t seed = static_cast<std::size_t>(kind_);
  seed = combineHash(seed, static_cast<std::size_t>(textStyle_));
  seed = combineHash(seed, std::hash<double>{}(size_));
  seed = combineHash(seed, static_cast<std::size_t>(weight_));
  seed = combineHash(seed, static_cast<std::size_t>(design_));
  seed = combineHash(seed, isItalic_ ? 1 : 0);
  seed = combineHash(seed, (hasLowercaseSmallCaps_ ? 1 : 0) | (hasUppercaseSmallCaps_ ? 2 : 0) |
                               (hasMonospacedDigits_ ? 4 : 0));
  seed = combineHash(seed, std::hash<std::string>{}(name_));
  return combineHash(seed, std::hash<std::string>{}(path_));
}

}  // namespace ui
