// Fonts as plain values: a recipe (system font, text style, named font, font file) that the text
// renderer turns into a real face when it draws.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace ui {

enum class FontWeight { ultraLight, thin, light, regular, medium, semibold, bold, heavy, black };

// The design of the system font. `standard` is the platform's default (proportional sans-serif) design.
enum class FontDesign { standard, monospaced, serif, rounded };

// The platform's text styles, from largest to smallest.
enum class TextStyle {
  largeTitle,
  title,
  title2,
  title3,
  headline,
  subheadline,
  body,
  callout,
  footnote,
  caption,
  caption2,
};

inline constexpr std::array<TextStyle, 11> allTextStyles{
    TextStyle::largeTitle, TextStyle::title,       TextStyle::title2,  TextStyle::title3,
    TextStyle::headline,   TextStyle::subheadline, TextStyle::body,    TextStyle::callout,
    TextStyle::footnote,   TextStyle::caption,     TextStyle::caption2};

// The point size and weight the platform gives a text style at the default text size.
double pointSize(TextStyle style);
FontWeight defaultWeight(TextStyle style);

class Font {
 public:
  enum class Kind {
    system,     // the system font at a size, with weight and design
    textStyle,  // the system font of a text style
    custom,     // a font by name (a family or PostScript name) and size
    file,       // a font read from a font file; made only after the file was checked to hold a font
  };

  // The body text style.
  Font() = default;

  static Font system(double size, FontWeight weight = FontWeight::regular,
                     FontDesign design = FontDesign::standard);
  static Font textStyle(TextStyle style, FontDesign design = FontDesign::standard);
  static Font custom(std::string name, double size);
  // A font from a file already checked to hold a font face; `familyName` is the face's family.
  static Font file(std::string path, double size, std::string familyName = {});

  static Font largeTitle() { return textStyle(TextStyle::largeTitle); }
  static Font title() { return textStyle(TextStyle::title); }
  static Font title2() { return textStyle(TextStyle::title2); }
  static Font title3() { return textStyle(TextStyle::title3); }
  static Font headline() { return textStyle(TextStyle::headline); }
  static Font subheadline() { return textStyle(TextStyle::subheadline); }
  static Font body() { return textStyle(TextStyle::body); }
  static Font callout() { return textStyle(TextStyle::callout); }
  static Font footnote() { return textStyle(TextStyle::footnote); }
  static Font caption() { return textStyle(TextStyle::caption); }
  static Font caption2() { return textStyle(TextStyle::caption2); }

  // Modifiers; each returns a changed copy.
  Font monospaced() const;
  Font weight(FontWeight weight) const;
  Font bold() const { return weight(FontWeight::bold); }
  Font italic() const;
  // Small capitals: for the lower-case letters, the upper-case letters, or both.
  Font lowercaseSmallCaps() const;
  Font uppercaseSmallCaps() const;
  Font smallCaps() const { return lowercaseSmallCaps().uppercaseSmallCaps(); }
  // Digits of equal width, whatever the font's other letters.
  Font monospacedDigit() const;

  Kind kind() const { return kind_; }
  // The point size: the given size, or the text style's size.
  double size() const;
  FontWeight weight() const { return weight_; }
  FontDesign design() const { return design_; }
  std::optional<TextStyle> textStyleValue() const;
  // The font's name (custom fonts) or family name (file fonts); empty for system fonts.
  const std::string& name() const { return name_; }
  // The font file (file fonts); empty otherwise.
  const std::string& path() const { return path_; }
  // True for the monospaced design, which the monospaced modifier sets on any kind of font.
  bool isMonospaced() const { return design_ == FontDesign::monospaced; }
  bool isItalic() const { return isItalic_; }
  bool hasLowercaseSmallCaps() const { return hasLowercaseSmallCaps_; }
  bool hasUppercaseSmallCaps() const { return hasUppercaseSmallCaps_; }
  bool hasMonospacedDigits() const { return hasMonospacedDigits_; }

  bool operator==(const Font&) const = default;
  std::size_t hashValue() const;

 private:
  Kind kind_ = Kind::textStyle;
  TextStyle textStyle_ = TextStyle::body;
  double size_ = 0;
  FontWeight weight_ = FontWeight::regular;
  FontDesign design_ = FontDesign::standard;
  bool isItalic_ = false;
  bool hasLowercaseSmallCaps_ = false;
  bool hasUppercaseSmallCaps_ = false;
  bool hasMonospacedDigits_ = false;
  std::string name_;
  std::string path_;
};

}  // namespace ui

template <>
struct std::hash<ui::Font> {
  std::size_t operator()(const ui::Font& font) const { return font.hashValue(); }
};
