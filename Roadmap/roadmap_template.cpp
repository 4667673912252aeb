#include "Roadmap/roadmap_template.h"

#include <string>

namespace Roadmap {

namespace {

struct TemplateLook {
  const char* upvoteSymbol;
  ui::FontDesign design;
  double radius;
};

TemplateLook lookOf(RoadmapTemplate roadmapTemplate) {
  switch (roadmapTemplate) {
    case RoadmapTemplate::standard:
      return {"arrowtriangle.up.fill", ui::FontDesign::standard, 10};
    case RoadmapTemplate::playful:
      return {"arrow.up", ui::FontDesign::rounded, 15};
    case RoadmapTemplate::classy:
      return {"chevron.up", ui::FontDesign::serif, 5};
    case RoadmapTemplate::technical:
      return {"chevron.up", ui::FontDesign::monospaced, 2};
  }
  return {"arrowtriangle.up.fill", ui::FontDesign::standard, 10};
}

}  // namespace

RoadmapStyle style(RoadmapTemplate roadmapTemplate) {
  const TemplateLook look = lookOf(roadmapTemplate);
  return RoadmapStyle(
      ui::Image::systemName(look.upvoteSymbol),
      ui::Font::textStyle(ui::TextStyle::headline, look.design).weight(ui::FontWeight::bold),
      ui::Font::textStyle(ui::TextStyle::body, look.design)
          .weight(ui::FontWeight::semibold)
          .monospacedDigit(),
      ui::Font::textStyle(ui::TextStyle::caption, look.design).weight(ui::FontWeight::bold),
      [](const std::string&) { return ui::Color::primary(); }, look.radius,
      ui::Color::primary().opacity(0.08), ui::Color::white(), ui::Color::accentColor());
}

}  // namespace Roadmap
