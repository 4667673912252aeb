#include "platform/ui/scale_effect.h"

#include <fmt/format.h>

#include <memory>

namespace ui {

std::string ScaleEffectModifier::describe() const { return fmt::format("scaleEffect({:g})", scale); }

AnyView scaleEffect(const AnyView& view, double scale, UnitPoint anchor) {
  auto m = std::make_shared<ScaleEffectModifier>();
  m->scale = scale;
  m->anchor = anchor;
  return view.modifier(std::move(m));
}

}  // namespace ui
