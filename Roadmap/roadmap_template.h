// Four ready-made roadmap looks.
#pragma once

#include <array>

#include "Roadmap/roadmap_style.h"

namespace Roadmap {

enum class RoadmapTemplate { standard, playful, classy, technical };

inline constexpr std::array<RoadmapTemplate, 4> allRoadmapTemplates{
    RoadmapTemplate::standard, RoadmapTemplate::playful, RoadmapTemplate::classy, RoadmapTemplate::technical};

// The template's look, built anew at each call. The templates differ in their icon, the design of their
// system fonts and their corner radius; all of them tint every status with the primary colour, lay the
// row cards on the primary colour at opacity 0.08, show a voted button's icon and count in white and tint
// the vote buttons with the accent colour.
RoadmapStyle style(RoadmapTemplate roadmapTemplate);

}  // namespace Roadmap
