#include "platform/ui/control_styles.h"

#include <memory>

namespace ui {

std::string PickerStyleModifier::describe() const {
  switch (style) {
    case PickerStyle::automatic:
      return "pickerStyle(automatic)";
    case PickerStyle::segmented:
      return "pickerStyle(segmented)";
    case PickerStyle::menu:
      return "pickerStyle(menu)";
    case PickerStyle::radioGroup:
      return "pickerStyle(radioGroup)";
  }
  return "pickerStyle";
}

AnyView pickerStyle(const AnyView& view, PickerStyle style) {
  auto m = std::make_shared<PickerStyleModifier>();
  m->style = style;
  return view.modifier(std::move(m));
}

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
