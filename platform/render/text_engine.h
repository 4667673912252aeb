// Sets text with Pango for the whole process: font recipes become font descriptions, styled text becomes
// laid-out lines that are measured and drawn with the same fonts, so what layout measured is what is
// drawn.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/foundation/geometry.h"
#include "platform/ui/attributed_string.h"
#include "platform/ui/color.h"
#include "platform/ui/color_scheme.h"
#include "platform/ui/font.h"
#include "platform/ui/view_values.h"

namespace render {

// How a text is set, beyond its characters and their attributes.
struct TextSetting {
  ui::Font font;                // the font of runs that set none
  std::optional<double> width;  // lines wrap at words to this width; absent: one line per paragraph
  double lineSpacing = 0;       // extra points between lines
  ui::TextAlignment alignment = ui::TextAlignment::leading;
  ui::ColorScheme colorScheme = ui::ColorScheme::light;  // how the runs' colours resolve
  std::optional<double> maximumHeight;  // lines below it are left out, the last shown ends in "…"

  bool operator==(const TextSetting&) const = default;
};

// A range of characters as UTF-8 byte offsets.
struct ByteRange {
  std::size_t start = 0;
  std::size_t length = 0;
};

// Thread-safe: one mutex serialises every use of Pango (its context, font map and the cache of laid-out
// texts), which are not safe to share between threads by themselves.
class TextEngine {
 public:
  TextEngine();
  ~TextEngine();
  TextEngine(const TextEngine&) = delete;
  TextEngine& operator=(const TextEngine&) = delete;

  // The engine of the process, over the fonts the system's fontconfig configuration finds.
  static TextEngine& shared();

  // From now on sets text only in the fonts that a fontconfig configuration file names (tests, screenshots
  // and benchmarks pin their fonts so). Throws foundation::TextError when the file cannot be read.
  void pinFonts(const std::filesystem::path& configurationFile);

  // The size the text takes: the widest line and the height of all lines.
  foundation::Size measure(const ui::AttributedString& text, const TextSetting& setting);
  // The height of one line of a font.
  double lineHeight(const ui::Font& font);

  // Draws the text with the top-left corner of its first line at `origin`, in `defaultColor` where the
  // runs set no colour, with the background of `selection` in `selectionColor`.
  void draw(cairo_t* cr, const ui::AttributedString& text, const TextSetting& setting,
            foundation::Point origin, ui::ResolvedColor defaultColor,
            std::optional<ByteRange> selection = std::nullopt, ui::ResolvedColor selectionColor = {});

  // Laid-out texts kept for reuse (for tests of the cache's bounds).
  std::size_t cachedLayoutCount() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace render
