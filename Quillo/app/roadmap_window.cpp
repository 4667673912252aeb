#include "Quillo/app/roadmap_window.h"

#include <string_view>
#include <utility>

#include "Roadmap/remote_hosts.h"
#include "Roadmap/roadmap_view.h"
#include "platform/foundation/log.h"
#include "platform/foundation/text_error.h"
#include "platform/foundation/unicode.h"
#include "platform/ui/views.h"

namespace Quillo {

Roadmap::RoadmapConfiguration makeRoadmapConfiguration() {
  Roadmap::RoadmapStyle style(ui::Image::systemName("arrowtriangle.up.fill"), ui::Font::headline(),
                              ui::Font::body().monospacedDigit(), ui::Font::caption().bold(),
                              roadmapStatusColor, 10, ui::Color::primary().opacity(0.08), ui::Color::white(),
                              ui::Color::accentColor());
  const std::string feedAddress = Roadmap::roadmapFeedURLString();
  auto feed = foundation::URL::parse(feedAddress);
  if (!feed) throw foundation::TextError("The roadmap feed address is not a URL: " + feedAddress);
  return Roadmap::RoadmapConfiguration(std::move(*feed), std::nullopt, std::move(style), false, true, false);
}

ui::Color roadmapStatusColor(const std::string& status) {
  const std::string lowered = foundation::lowercased(status);
  if (lowered == "planned") return ui::Color::teal();
  if (lowered == "researching") return ui::Color::orange();
  if (lowered == "in progress" || lowered == "in development") return ui::Color::purple();
  if (lowered == "investigating") return ui::Color::red();
  if (lowered == "finished") return ui::Color::green();
  return ui::Color::primary();
}

ui::AnyView TotalRoadmap::body() const {
  using namespace ui;
  return Roadmap::RoadmapView(
      configuration_, [] { return AnyView(Text::verbatim("")); },
      [] { return AnyView(HStack(Spacer(), Text("Made with Roadmap"), Spacer())); });
}

std::shared_ptr<WindowController> openRoadmapWindow() {
  ui::AnyView content;
  try {
    content = TotalRoadmap(makeRoadmapConfiguration());
  } catch (const foundation::TextError& error) {
    foundation::log(error.what());
    content = ui::Text::verbatim(std::string("The roadmap cannot be shown: ") + error.what()).padding();
  }
  auto controller = std::make_shared<WindowController>(std::move(content));
  controller->window()->setTitle(kRoadmapWindowTitle);
  controller->showWindow();
  return controller;
}

}  // namespace Quillo
