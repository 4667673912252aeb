#include "Roadmap/roadmap_style.h"

#include <utility>

namespace Roadmap {

RoadmapStyle::RoadmapStyle(ui::Image upvoteIcon, ui::Font titleFont, ui::Font numberFont, ui::Font statusFont,
                           StatusTintColor statusTintColor, double radius, ui::Color cellColor,
                           ui::Color selectedForegroundColor, ui::Color tintColor)
    : upvoteIcon(std::move(upvoteIcon)),
      titleFont(std::move(titleFont)),
      numberFont(std::move(numberFont)),
      statusFont(std::move(statusFont)),
      statusTintColor(std::move(statusTintColor)),
      radius(radius),
      cellColor(std::move(cellColor)),
      selectedForegroundColor(std::move(selectedForegroundColor)),
      tintColor(std::move(tintColor)) {}

}  // namespace Roadmap
