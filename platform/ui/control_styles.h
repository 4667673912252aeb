// How controls present themselves: hidden labels, hidden views and the label style.
// Each is a plain modifier that the inspector reads back and the text dump shows.
#pragma once

#include <string>

#include "platform/ui/view.h"

namespace ui {

// The labels of the controls inside are not shown (they still name the controls for accessibility).
struct LabelsHiddenModifier final : detail::Modifier {
  std::string name() const override { return "labelsHidden"; }
};
AnyView labelsHidden(const AnyView& view);

// The view keeps its place in the layout but is not drawn and cannot be clicked; a hidden button's
// keyboard shortcut still works.
struct HiddenModifier final : detail::Modifier {
  std::string name() const override { return "hidden"; }
};
AnyView hidden(const AnyView& view);

enum class LabelStyle { automatic, titleOnly, iconOnly, titleAndIcon };

struct LabelStyleModifier final : detail::Modifier {
  LabelStyle style = LabelStyle::automatic;
  std::string name() const override { return "labelStyle"; }
  std::string describe() const override;
};
AnyView labelStyle(const AnyView& view, LabelStyle style);

}  // namespace ui
