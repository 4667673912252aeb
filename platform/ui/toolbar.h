// Toolbar items: views that a window's content contributes to the window's toolbar, each at a placement.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/view.h"

namespace ui {

// Where an item goes in the toolbar.
enum class ToolbarItemPlacement { automatic, primaryAction, navigation, principal };

std::string placementName(ToolbarItemPlacement placement);

struct ToolbarItem {
  ToolbarItemPlacement placement = ToolbarItemPlacement::automatic;
  AnyView content;
};

// The items the modified view contributes to its window's toolbar. The items are evaluated with the view,
// so their buttons, state and keyboard shortcuts work like any other.
struct ToolbarModifier final : detail::Modifier {
  std::vector<ToolbarItemPlacement> placements;  // one per item
  std::vector<detail::SpecPointer> items;
  std::string name() const override { return "toolbar"; }
  std::string describe() const override;
  std::vector<detail::SpecPointer> attachedViews() const override { return items; }
};

AnyView toolbar(const AnyView& view, const std::vector<ToolbarItem>& items);
// Items at the automatic placement.
AnyView toolbar(const AnyView& view, const std::vector<AnyView>& items);

}  // namespace ui
