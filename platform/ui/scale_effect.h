// Drawing a view larger or smaller about its centre. Like the platform's, the effect is drawing only: the
// view keeps the size and place that layout gave it.
#pragma once

#include <string>

#include "platform/ui/view.h"

namespace ui {

struct ScaleEffectModifier final : detail::Modifier {
  double scale = 1;
  std::string name() const override { return "scaleEffect"; }
  std::string describe() const override;
};
AnyView scaleEffect(const AnyView& view, double scale);

}  // namespace ui
