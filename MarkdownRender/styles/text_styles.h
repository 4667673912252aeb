// The renderer's text styles: colours, line styles, letter spacing and changes to single fields of the
// font record. Each is an immutable value made from the value of its one field.
#pragma once

#include <optional>
#include <variant>

#include "MarkdownRender/styles/font_properties.h"
#include "MarkdownRender/styles/relative_size.h"
#include "MarkdownRender/styles/text_style.h"
#include "platform/ui/color.h"
#include "platform/ui/font.h"
#include "platform/ui/line_style.h"

namespace MarkdownRender {

// Contributes nothing; what a composition that names no style gives.
class EmptyTextStyle final : public TextStyle {
 public:
  void applyAttributes(ui::AttributeContainer&) const override {}
};

// The styles of the platform's text attributes set the attribute to their value; an absent value removes
// the attribute that an earlier style set.
class ForegroundColor final : public TextStyle {
 public:
  explicit ForegroundColor(std::optional<ui::Color> foregroundColor)
      : foregroundColor(std::move(foregroundColor)) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override;
  std::optional<ui::Color> foregroundColor;
};

class BackgroundColor final : public TextStyle {
 public:
  explicit BackgroundColor(std::optional<ui::Color> backgroundColor)
      : backgroundColor(std::move(backgroundColor)) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override;
  std::optional<ui::Color> backgroundColor;
};

class StrikethroughStyle final : public TextStyle {
 public:
  explicit StrikethroughStyle(std::optional<ui::LineStyle> lineStyle) : lineStyle(std::move(lineStyle)) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override;
  std::optional<ui::LineStyle> lineStyle;
};

class UnderlineStyle final : public TextStyle {
 public:
  explicit UnderlineStyle(std::optional<ui::LineStyle> lineStyle) : lineStyle(std::move(lineStyle)) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override;
  std::optional<ui::LineStyle> lineStyle;
};

class TextKerning final : public TextStyle {
 public:
  explicit TextKerning(std::optional<double> kern) : kern(kern) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override;
  std::optional<double> kern;
};

class TextTracking final : public TextStyle {
 public:
  explicit TextTracking(std::optional<double> tracking) : tracking(tracking) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override;
  std::optional<double> tracking;
};

// The font styles change one or two fields of the record already in the container and leave the others;
// a container without a record is left as it is (no record is added).
class FontFamily final : public TextStyle {
 public:
  explicit FontFamily(FontProperties::Family family) : family(std::move(family)) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override;
  FontProperties::Family family;
};

class FontFamilyVariant final : public TextStyle {
 public:
  explicit FontFamilyVariant(FontProperties::FamilyVariant familyVariant) : familyVariant(familyVariant) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override;
  FontProperties::FamilyVariant familyVariant;
};

class FontCapsVariant final : public TextStyle {
 public:
  explicit FontCapsVariant(FontProperties::CapsVariant capsVariant) : capsVariant(capsVariant) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override;
  FontProperties::CapsVariant capsVariant;
};

class FontDigitVariant final : public TextStyle {
 public:
  explicit FontDigitVariant(FontProperties::DigitVariant digitVariant) : digitVariant(digitVariant) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override;
  FontProperties::DigitVariant digitVariant;
};

class FontStyle final : public TextStyle {
 public:
  explicit FontStyle(FontProperties::Style style) : style(style) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override;
  FontProperties::Style style;
};

class FontWeight final : public TextStyle {
 public:
  explicit FontWeight(ui::FontWeight weight) : weight(weight) {}
  void applyAttributes(ui::AttributeContainer& attributes) const override;
  ui::FontWeight weight;
};

// The renderer's font size (not the application's chat text size). A size in points sets the record's
// size and resets its scale to 1; a size in em multiplies the scale, so em sizes compound; a size in rem
// sets the scale, whatever it was.
class FontSize final : public TextStyle {
 public:
  // A fixed number of points, or a size relative to the font in force.
  using Size = std::variant<double, RelativeSize>;

  explicit FontSize(Size size) : size(size) {}
  static FontSize points(double points) { return FontSize(Size(points)); }
  static FontSize relative(RelativeSize relative) { return FontSize(Size(relative)); }

  void applyAttributes(ui::AttributeContainer& attributes) const override;
  Size size;
};

}  // namespace MarkdownRender
