// How a roadmap looks: the fonts, colours, corner radius and vote icon of its rows and vote buttons.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/color.h"
#include "platform/ui/font.h"
#include "platform/ui/views.h"  // Image

namespace Roadmap {

struct RoadmapStyle {
  // The colour of a status badge, given the feature's plain status text (empty when it has none).
  using StatusTintColor = std::function<ui::Color(const std::string& status)>;

  // Stores the nine values unchanged.
  RoadmapStyle(ui::Image upvoteIcon, ui::Font titleFont, ui::Font numberFont, ui::Font statusFont,
               StatusTintColor statusTintColor, double radius, ui::Color cellColor,
               ui::Color selectedForegroundColor, ui::Color tintColor);

  // The icon of the vote button.
  ui::Image upvoteIcon;
  // The feature's title in its row.
  ui::Font titleFont;
  // The vote count, the vote icon at ordinary text sizes, and the feature's description in its row.
  ui::Font numberFont;
  // The text of the status badge.
  ui::Font statusFont;
  StatusTintColor statusTintColor;
  // The corner radius of the row card and the vote button, in points; also the vote button's inner
  // spacing at accessibility text sizes.
  double radius;
  // The background of the row card.
  ui::Color cellColor;
  // The vote button's icon and count once the user has voted.
  ui::Color selectedForegroundColor;
  // The vote button's icon and count before voting, its fill and its hover border.
  ui::Color tintColor;
};

}  // namespace Roadmap
