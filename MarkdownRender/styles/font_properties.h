// The font as a record of independent fields that text styles change one at a time, carried through
// attribute containers and attributed strings under the attribute "fontProperties" until text is drawn.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "MarkdownRender/styles/text_style.h"
#include "platform/ui/attributed_string.h"
#include "platform/ui/font.h"

namespace MarkdownRender {

class FontProperties final : public TextStyle {
 public:
  // The system font of a design, or a font by name.
  class Family {
   public:
    enum class Kind { system, custom };

    static Family system(ui::FontDesign design = ui::FontDesign::standard) { return Family(design); }
    static Family custom(std::string name) { return Family(std::move(name)); }
    Family() = default;

    Kind kind() const { return kind_; }
    // The design of a system family (`standard` for a custom one).
    ui::FontDesign design() const { return design_; }
    // The name of a custom family (empty for a system one).
    const std::string& name() const { return name_; }

    bool operator==(const Family&) const = default;

   private:
    explicit Family(ui::FontDesign design) : design_(design) {}
    explicit Family(std::string name) : kind_(Kind::custom), name_(std::move(name)) {}

    Kind kind_ = Kind::system;
    ui::FontDesign design_ = ui::FontDesign::standard;
    std::string name_;
  };

  enum class FamilyVariant { normal, monospaced };
  enum class CapsVariant { normal, smallCaps, lowercaseSmallCaps, uppercaseSmallCaps };
  enum class DigitVariant { normal, monospaced };
  enum class Style { normal, italic };

  static constexpr double standardSize = 13;

  // Every argument may be left out and then takes its default.
  explicit FontProperties(Family family = Family::system(),
                          FamilyVariant familyVariant = FamilyVariant::normal,
                          CapsVariant capsVariant = CapsVariant::normal,
                          DigitVariant digitVariant = DigitVariant::normal, Style style = Style::normal,
                          ui::FontWeight weight = ui::FontWeight::regular, double size = standardSize,
                          double scale = 1)
      : family(std::move(family)),
        familyVariant(familyVariant),
        capsVariant(capsVariant),
        digitVariant(digitVariant),
        style(style),
        weight(weight),
        size(size),
        scale(scale) {}

  Family family;
  FamilyVariant familyVariant;
  CapsVariant capsVariant;
  DigitVariant digitVariant;
  Style style;
  ui::FontWeight weight;
  double size;   // the base size in points
  double scale;  // the factor that relative sizes change

  // size × scale, rounded to the nearest whole point with halves away from zero: the size the font is
  // drawn at.
  double effectiveSize() const;

  // As a text style, the record replaces any record already in the container.
  void applyAttributes(ui::AttributeContainer& attributes) const override;

  bool operator==(const FontProperties& other) const;
  std::size_t hashValue() const;
};

// The attribute that carries a font record. Attribute containers carry it as a custom attribute holding
// the record's canonical text; the functions below are the only readers and writers of that text.
struct FontPropertiesAttribute {
  static constexpr const char* name = "fontProperties";

  static ui::AttributeValue encode(const FontProperties& fontProperties);
  // Nothing for a value that is not the text of a record (an unreadable attribute counts as absent).
  static std::optional<FontProperties> decode(const ui::AttributeValue& value);
};

// The record a container carries, if any.
std::optional<FontProperties> fontProperties(const ui::AttributeContainer& attributes);
// Sets the record of a container; nothing removes it.
void setFontProperties(ui::AttributeContainer& attributes,
                       const std::optional<FontProperties>& fontProperties);

// The font a record describes: the system font of its design (regular weight) or the named font, at the
// effective size, then in this order the monospaced form, small capitals, monospaced digits, the weight
// (only when not regular) and italics.
ui::Font makeFont(const FontProperties& fontProperties);

// A copy in which every run that carries a font record carries the matching font instead and no record;
// runs without a record, including any font they carry, and the characters are left as they are.
ui::AttributedString convertingFontProperties(const ui::AttributedString& text);

}  // namespace MarkdownRender

template <>
struct std::hash<MarkdownRender::FontProperties> {
  std::size_t operator()(const MarkdownRender::FontProperties& value) const { return value.hashValue(); }
};
