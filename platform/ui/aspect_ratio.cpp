#include "platform/ui/aspect_ratio.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace ui {

std::string AspectRatioModifier::describe() const {
  const char* mode = contentMode == ContentMode::fit ? "fit" : "fill";
  if (ratio) return fmt::format("aspectRatio({:g}, {})", *ratio, mode);
  return fmt::format("aspectRatio({})", mode);
}

AnyView aspectRatio(const AnyView& view, std::optional<double> ratio, ContentMode contentMode) {
  auto m = std::make_shared<AspectRatioModifier>();
  m->ratio = ratio;
  m->contentMode = contentMode;
  return view.modifier(std::move(m));
}

AnyView scaledToFit(const AnyView& view) { return aspectRatio(view, std::nullopt, ContentMode::fit); }

foundation::Size aspectFittedSize(double ratio, ContentMode contentMode, std::optional<double> width,
                      std::optional<double> height, foundation::Size ideal) {
  auto usable = [](std::optional<double> length) { return length && std::isfinite(*length); };
  if (!(ratio > 0) || !std::isfinite(ratio)) return ideal;
  if (usable(width) && usable(height)) {
    const double byWidth = *width, byHeight = *height * ratio;
    const double fittedWidth = contentMode == ContentMode::fit ? std::min(byWidth, byHeight)
                                                               : std::max(byWidth, byHeight);
    return {fittedWidth, fittedWidth / ratio};
  }
  if (usable(width)) return {*width, *width / ratio};
  if (usable(height)) return {*height * ratio, *height};
  return {ideal.width, ideal.width / ratio};
}

}  // namespace ui
