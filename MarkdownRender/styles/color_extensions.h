// Colours of the built-in themes: packed 0xRRGGBBAA values and pairs that follow the appearance.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/ui/color.h"

namespace MarkdownRender {

// The sRGB colour whose red, green, blue and opacity are the four bytes of 0xRRGGBBAA divided by 255.
ui::Color colorFromPackedRGBA(std::uint32_t packedRGBA);

// A colour that shows the light variant where the appearance is light and the dark variant otherwise.
// It is resolved where it is drawn, so a switch of appearance recolours what uses it without rebuilding
// the value that holds it.
ui::Color colorWithVariants(const std::function<ui::Color()>& lightVariant,
                            const std::function<ui::Color()>& darkVariant);

}  // namespace MarkdownRender
