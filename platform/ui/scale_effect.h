// Drawing a view larger or smaller about an anchor (its centre unless another is given). Like the
// platform's, the effect is drawing only: the view keeps the size and place that layout gave it.
#pragma once

#include <string>

#include "platform/ui/view.h"

namespace ui {

struct ScaleEffectModifier final : detail::Modifier {
  double scale = 1;
  UnitPoint anchor{0.5, 0.5};  // the point of the view that stays put
  std::string name() const override { return "scaleEffect"; }
  std::string describe() const override;
};
AnyView scaleEffect(const AnyView& view, double scale, UnitPoint anchor = UnitPoint{0.5, 0.5});

}  // namespace ui
