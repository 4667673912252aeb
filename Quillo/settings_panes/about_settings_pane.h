// The "About" tab of the settings window: who and what the application is, and the ways out to the store
// page, the feedback address, the roadmap window and the acknowledgements window.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Quillo/common/window_controller.h"
#include "platform/ui/environment.h"
#include "platform/ui/view.h"

namespace Quillo {

// The version line: short version, a space, and the build number in parentheses; a missing value is
// shown as the empty text (the parentheses stay).
std::string aboutVersionLine(const std::optional<std::string>& shortVersion,
                             const std::optional<std::string>& buildNumber);

// Opens a new window titled "Acknowledgements" each time; earlier windows are neither reused nor closed.
// (The "Roadmap" button opens the application's roadmap window the same way.)
std::shared_ptr<WindowController> openAcknowledgementsWindow();

class AboutSettings final : public ui::View {
 public:
  ui::AnyView body() const override;
  static ui::AnyView tabLabel();

 private:
  ui::Environment<ui::OpenURLAction> openURL_;
};

}  // namespace Quillo
