// How much room a text takes: an injectable measurer, with a fixed-metric one whose sizes are exact,
// predictable numbers (tests, benchmarks) until a real font engine measures with true glyph metrics.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/geometry.h"
#include "platform/ui/attributed_string.h"
#include "platform/ui/font.h"

namespace ui {

// One piece of a text to lay out: characters in a font, or a picture of a fixed size standing in the line
// like a character (then `text` is empty and `font` is that of the characters around it).
struct TextRun {
  std::string text;
  Font font;
  std::optional<foundation::Size> image;
};

// Characters of one run set together on one line: the byte range in the run's text, and the top-left
// corner of a line of the run's font holding them (its baseline lies the font's ascent below).
struct SetCharacters {
  std::size_t run = 0;
  std::size_t start = 0;
  std::size_t length = 0;
  foundation::Point origin;
  bool operator==(const SetCharacters&) const = default;
};

// Where the pieces of a text went: its size, each picture's frame (in order) and where its characters
// were set, from the text's top-left corner.
struct TextLayout {
  foundation::Size size;
  std::vector<foundation::Rect> imageFrames;
  std::vector<SetCharacters> characters;
  bool operator==(const TextLayout&) const = default;
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // The size of `text` set in `font`, wrapped at word boundaries to `width` when one is given (a word
  // wider than the width is broken between characters), with `lineSpacing` points between lines. Hard
  // line breaks ("\n") always start a new line. Without a width every paragraph stays on one line.
  virtual foundation::Size measure(std::string_view text, const Font& font, std::optional<double> width,
                                   double lineSpacing = 0) const = 0;
  // The same for styled text whose runs may set fonts of their own; `font` is the font of runs that set
  // none. A measurer that does not tell fonts of runs apart measures the characters in `font`.
  virtual foundation::Size measureAttributed(const AttributedString& text, const Font& font,
                                             std::optional<double> width, double lineSpacing = 0) const {
    return measure(text.characters(), font, width, lineSpacing);
  }
  // The height of one line of `font`.
  virtual double lineHeight(const Font& font) const = 0;
  // How far the baseline of a line of `font` lies below the line's top; the rest of the line is below it.
  virtual double ascent(const Font& font) const { return lineHeight(font) * 0.8; }

  // Runs of characters and pictures set as one text, wrapped as `measure` wraps (a picture is never cut
  // and may start or end a line). A picture sits with its bottom edge on the baseline of its line, which
  // grows upwards to hold the tallest picture; below the baseline every line keeps its font's depth.
  // Characters of one font without pictures come out as `measure` sets them.
  // Builds on `measure` and `ascent`; a measurer that sets text itself may do better.
  virtual TextLayout layout(const std::vector<TextRun>& runs, std::optional<double> width,
                            double lineSpacing = 0) const;
};

// Every character (Unicode scalar value) advances by `advanceFactor` times the font's point size and
// every line is `lineHeightFactor` times the point size high: with a 16-point font and the defaults a
// character is 8 points wide and a line 20 points high.
class FixedMetricTextMeasurer final : public TextMeasurer {
 public:
  explicit FixedMetricTextMeasurer(double advanceFactor = 0.5, double lineHeightFactor = 1.25)
      : advanceFactor_(advanceFactor), lineHeightFactor_(lineHeightFactor) {}

  foundation::Size measure(std::string_view text, const Font& font, std::optional<double> width,
                           double lineSpacing = 0) const override;
  double lineHeight(const Font& font) const override { return font.size() * lineHeightFactor_; }
  double advance(const Font& font) const { return font.size() * advanceFactor_; }

 private:
  double advanceFactor_;
  double lineHeightFactor_;
};

// The measurer layout uses when none is given: the fixed-metric one unless another was installed.
std::shared_ptr<const TextMeasurer> defaultTextMeasurer();
// Installs the measurer layout uses when none is given (the application installs one with real font
// metrics at start-up; null restores the fixed-metric one). Thread-safe.
void setDefaultTextMeasurer(std::shared_ptr<const TextMeasurer> measurer);

}  // namespace ui
