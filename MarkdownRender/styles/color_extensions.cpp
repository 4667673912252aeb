#include "MarkdownRender/styles/color_extensions.h"

namespace MarkdownRender {

ui::Color colorFromPackedRGBA(std::uint32_t packedRGBA) {
  const auto component = [&](int shift) {
    return static_cast<double>((packedRGBA >> shift) & 0xFFu) / 255.0;
  };
  return ui::Color(component(24), component(16), component(8), component(0));
}

ui::Color colorWithVariants(const std::function<ui::Color()>& lightVariant,
                            const std::function<ui::Color()>& darkVariant) {
  // The view layer resolves a light/dark pair for the colour scheme of the view that draws it; both
  // variants are fixed values, so they are made once here rather than at each resolution.
  return ui::Color::dynamic(lightVariant(), darkVariant());
}

}  // namespace MarkdownRender
