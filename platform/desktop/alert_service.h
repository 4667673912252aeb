// Alerts and sheets as the desktop shows them to the person, and the system beep.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace desktop {

// One alert as it is shown.
struct AlertRequest {
  std::string messageText;
  std::string informativeText;
  // The application kit's raw alert style (0 warning, 1 informational, 2 critical).
  std::uint64_t style = 0;
  // The button titles in order; empty: the platform's single default button.
  std::vector<std::string> buttonTitles;
  // The title of the window the alert is a sheet on; nothing for an application-modal alert.
  std::optional<std::string> sheetWindowTitle;

  bool operator==(const AlertRequest&) const = default;
};

class AlertService {
 public:
  // Called once with the index of the button the person pressed (0: the first, default button).
  using Answer = std::function<void(std::size_t buttonIndex)>;

  virtual ~AlertService() = default;

  // Shows an alert. The answer comes exactly once, on the main thread: within this call when the desktop
  // knows it at once, later otherwise, so a sheet never blocks its caller. Called on the main thread.
  virtual void present(AlertRequest request, Answer answer) = 0;

  // Sounds the system beep.
  virtual void beep() = 0;
};

}  // namespace desktop
