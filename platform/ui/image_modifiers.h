// How symbol images below a view are drawn: their rendering mode, their scale beside the text and the
// colours of their layers. Recorded as environment values that layout and drawing read.
#pragma once

#include <optional>

#include "platform/ui/color.h"
#include "platform/ui/environment.h"
#include "platform/ui/view.h"

namespace ui {

// How the layers of a symbol take their colours: one colour for the whole symbol (monochrome), the
// foreground style at falling opacities (hierarchical), the foreground styles one per layer (palette),
// or the symbol's own colours (multicolor).
enum class SymbolRenderingMode { monochrome, hierarchical, palette, multicolor };

// The size of a symbol beside the text it stands in: small, the text's own (medium) or large.
enum class ImageScale { small, medium, large };

// Absent: the symbol's own default (monochrome).
struct SymbolRenderingModeKey {
  using Value = std::optional<SymbolRenderingMode>;
  static Value defaultValue() { return std::nullopt; }
};

struct ImageScaleKey {
  using Value = ImageScale;
  static ImageScale defaultValue() { return ImageScale::medium; }
};

// The colour of a symbol's second layer; absent: derived from the foreground style.
struct SecondaryForegroundStyleKey {
  using Value = std::optional<Color>;
  static Value defaultValue() { return std::nullopt; }
};

// The height of a symbol at `scale`, as a share of a line of its font.
double symbolScaleFactor(ImageScale scale);

AnyView symbolRenderingMode(const AnyView& view, SymbolRenderingMode mode);
AnyView imageScale(const AnyView& view, ImageScale scale);
// The primary style for the symbols' first layer (and everything else drawn in the foreground style),
// the secondary one for their second layer.
AnyView foregroundStyle(const AnyView& view, const Color& primary, const Color& secondary);

}  // namespace ui
