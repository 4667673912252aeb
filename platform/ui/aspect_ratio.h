// Keeping a view's proportions: the view is offered the largest size of its aspect ratio that fits in
// what it is offered (fit) or that covers it (fill). The ratio is width over height; without one, the
// view's own ideal size gives it.
#pragma once

#include <optional>
#include <string>

#include "platform/foundation/geometry.h"
#include "platform/ui/view.h"

namespace ui {

enum class ContentMode { fit, fill };

struct AspectRatioModifier final : detail::Modifier {
  std::optional<double> ratio;
  ContentMode contentMode = ContentMode::fit;
  std::string name() const override { return "aspectRatio"; }
  std::string describe() const override;
};
AnyView aspectRatio(const AnyView& view, std::optional<double> ratio, ContentMode contentMode);
// The same as aspectRatio(view, nothing, fit).
AnyView scaledToFit(const AnyView& view);

// The size of `ratio` (width over height) that fits in (fit) or covers (fill) a proposal; unspecified
// dimensions are taken from the other one, and `ideal` stands where neither is given.
foundation::Size aspectFittedSize(double ratio, ContentMode contentMode, std::optional<double> width,
                      std::optional<double> height, foundation::Size ideal);

}  // namespace ui
