// The "About" tab of the settings window: who and what the application is, and the ways out to the store
// page, the feedback address, the roadmap window and the acknowledgements window.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/window_controller.h"
#include "platform/ui/environment.h"
#include "platform/ui/view.h"

namespace Quillo {

// The version line: short version, a space, and the build number in parentheses; a missing value is
// shown as the empty text (the parentheses stay).
std::string aboutVersionLine(const std::optional<std::string>& shortVersion,
                             const std::optional<std::string>& buildNumber);

// SEAM (roadmap window): the application shell's roadmap content (its `TotalRoadmap` over
// `makeRoadmapConfiguration()`) does not exist yet. Until the shell installs a maker here, the "Roadmap"
// button opens the titled window with empty content. Main thread only.
void setRoadmapWindowContent(std::function<ui::AnyView()> makeContent);

// Opens a new window each time; earlier windows are neither reused nor closed.
std::shared_ptr<appkit::WindowController> openRoadmapWindow();
std::shared_ptr<appkit::WindowController> openAcknowledgementsWindow();

class AboutSettings final : public ui::View {
 public:
  ui::AnyView body() const override;
  static ui::AnyView tabLabel();

 private:
  ui::Environment<ui::OpenURLAction> openURL_;
};

}  // namespace Quillo
