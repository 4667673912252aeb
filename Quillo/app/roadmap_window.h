// The application's roadmap: its configuration (the feed on the maker's web host, votes counted under the
// application's identifier, voting on, searching and shuffling off), its look, and the window showing it.
#pragma once

#include <memory>
#include <string>

#include "Quillo/common/window_controller.h"
#include "Roadmap/roadmap_configuration.h"
#include "platform/ui/color.h"
#include "platform/ui/view.h"

namespace Quillo {

// The title of every roadmap window.
inline constexpr const char* kRoadmapWindowTitle = "Quillo Roadmap";

// A new configuration at each call. Throws foundation::TextError when the feed's address is not a URL or
// the main bundle has no identifier to count votes under (RoadmapConfiguration::MissingNamespace).
Roadmap::RoadmapConfiguration makeRoadmapConfiguration();

// The colour of a status badge: by the lowercased status, teal for "planned", orange for "researching",
// purple for "in progress" and "in development", red for "investigating", green for "finished", and the
// primary colour for anything else.
ui::Color roadmapStatusColor(const std::string& status);

// The roadmap window's content: the roadmap list with an empty header and "Made with Roadmap" centred in
// its footer.
class TotalRoadmap final : public ui::View {
 public:
  explicit TotalRoadmap(Roadmap::RoadmapConfiguration configuration)
      : configuration_(std::move(configuration)) {}
  ui::AnyView body() const override;

 private:
  Roadmap::RoadmapConfiguration configuration_;
};

// Opens a new window titled "Quillo Roadmap" with the roadmap of makeRoadmapConfiguration(); each call
// opens another window. Returns its controller (the caller need not keep it: the application keeps the
// shown window). When no configuration can be made the window says why the roadmap cannot be shown.
std::shared_ptr<WindowController> openRoadmapWindow();

}  // namespace Quillo
