#include "platform/ui/control_styles.h"

#include <memory>

namespace ui {

AnyView labelsHidden(const AnyView& view) { return view.modifier(std::make_shared<LabelsHiddenModifier>()); }

AnyView hidden(const AnyView& view) { return view.modifier(std::make_shared<HiddenModifier>()); }

std::string LabelStyleModifier::describe() const {
  switch (style) {
    case LabelStyle::automatic:
      return "labelStyle(automatic)";
    case LabelStyle::titleOnly:
      return "labelStyle(titleOnly)";
    case LabelStyle::iconOnly:
      return "labelStyle(iconOnly)";
    case LabelStyle::titleAndIcon:
      return "labelStyle(titleAndIcon)";
  }
  return "labelStyle";
}

AnyView labelStyle(const AnyView& view, LabelStyle style) {
  auto m = std::make_shared<LabelStyleModifier>();
  m->style = style;
  return view.modifier(std::move(m));
}

}  // namespace ui
