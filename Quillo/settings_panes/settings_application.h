// The running application as the settings panes act on it: its windows, found by title, its activation
// policy, and the windows the panes open themselves.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/styled_window.h"
#include "platform/appkit/window_controller.h"
#include "platform/ui/view.h"

namespace Quillo {

// With the platform's raw values.
enum class ActivationPolicy { regular = 0, accessory = 1, prohibited = 2 };

// The application's windows in the order they were added, and its activation policy. The application
// shell adds the windows it makes; windows the panes open are added when they open. A closed window is
// dropped from the list. Main thread only.
class SettingsApplication {
 public:
  static SettingsApplication& shared();

  void addWindow(std::shared_ptr<appkit::StyledWindow> window);
  // The open windows, in order.
  std::vector<std::shared_ptr<appkit::StyledWindow>> windows() const;
  // Forgets every window and restores the regular policy (a fresh application, for tests).
  void reset();

  ActivationPolicy activationPolicy() const { return activationPolicy_; }
  void setActivationPolicy(ActivationPolicy policy) { activationPolicy_ = policy; }

 private:
  mutable std::vector<std::shared_ptr<appkit::StyledWindow>> windows_;
  ActivationPolicy activationPolicy_ = ActivationPolicy::regular;
};

// The content size of the windows the panes open.
inline constexpr double kPaneWindowContentSide = 600;

// Opens a new titled window of 600 x 600 points of content showing `content` through a hosting view, in
// front, and adds it to the application's windows. Each call makes a new window.
std::shared_ptr<appkit::WindowController> openContentWindow(ui::AnyView content, std::string title);

}  // namespace Quillo
