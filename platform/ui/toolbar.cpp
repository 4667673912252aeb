#include "platform/ui/toolbar.h"

#include <memory>

namespace ui {

std::string placementName(ToolbarItemPlacement placement) {
  switch (placement) {
    case ToolbarItemPlacement::automatic:
      return "automatic";
    case ToolbarItemPlacement::primaryAction:
      return "primaryAction";
    case ToolbarItemPlacement::navigation:
      return "navigation";
    case ToolbarItemPlacement::principal:
      return "principal";
  }
  return "automatic";
}

std::string ToolbarModifier::describe() const {
  std::string text = "toolbar(";
  for (std::size_t i = 0; i < placements.size(); ++i) {
    if (i > 0) text += ", ";
    text += placementName(placements[i]);
  }
  return text + ")";
}

AnyView toolbar(const AnyView& view, const std::vector<ToolbarItem>& items) {
  auto m = std::make_shared<ToolbarModifier>();
  for (const auto& item : items) {
    m->placements.push_back(item.placement);
    m->items.push_back(item.content.spec());
  }
  return view.modifier(std::move(m));
}

AnyView toolbar(const AnyView& view, const std::vector<AnyView>& items) {
  std::vector<ToolbarItem> placed;
  for (const auto& item : items) placed.push_back({ToolbarItemPlacement::automatic, item});
  return toolbar(view, placed);
}

}  // namespace ui
