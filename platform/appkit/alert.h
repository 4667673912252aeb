// Alerts: a message with optional informative text and buttons, shown as a sheet on a window or
// application-modal; and the application's modal loop that waits for one.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/window.h"

namespace appkit {

// How a modal session ended, with the platform's numbers.
using ModalResponse = std::int64_t;
inline constexpr ModalResponse kModalResponseStop = -1000;
inline constexpr ModalResponse kModalResponseAbort = -1001;
// The response of an alert's first button; the second is one more, and so on.
inline constexpr ModalResponse kAlertFirstButtonReturn = 1000;
inline constexpr ModalResponse kAlertSecondButtonReturn = 1001;
inline constexpr ModalResponse kAlertThirdButtonReturn = 1002;

enum class AlertStyle : std::uint64_t { warning = 0, informational = 1, critical = 2 };

// One alert. Showing it hands it to the desktop, which answers it (headless: from the test's script).
// Main thread only.
class Alert {
 public:
  const std::string& messageText() const { return messageText_; }
  void setMessageText(std::string text) { messageText_ = std::move(text); }
  const std::string& informativeText() const { return informativeText_; }
  void setInformativeText(std::string text) { informativeText_ = std::move(text); }
  AlertStyle alertStyle() const { return alertStyle_; }
  void setAlertStyle(AlertStyle style) { alertStyle_ = style; }
  // The name of the image shown; nothing: the platform's default icon.
  const std::optional<std::string>& icon() const { return icon_; }
  void setIcon(std::optional<std::string> icon) { icon_ = std::move(icon); }
  // Buttons in order; without any the alert has the platform's single default button.
  void addButton(std::string title) { buttonTitles_.push_back(std::move(title)); }
  const std::vector<std::string>& buttonTitles() const { return buttonTitles_; }

  // Shows the alert application-modal and waits for its answer; the main queue keeps running meanwhile.
  // Returns the pressed button's response.
  ModalResponse runModal() const;
  // Shows the alert as a sheet on the window and returns at once; the completion gets the pressed
  // button's response from the main queue.
  void beginSheetModal(const std::shared_ptr<Window>& window,
                       std::function<void(ModalResponse)> completion) const;

 private:
  std::string messageText_;
  std::string informativeText_;
  AlertStyle alertStyle_ = AlertStyle::warning;
  std::optional<std::string> icon_;
  std::vector<std::string> buttonTitles_;
};

// The application's modal loop for a window: runs the main queue until stopModalWithCode is called from
// it, and returns that code. Loops nest; a stop ends the innermost.
ModalResponse runModalForWindow(Window& window);
// Ends the innermost modal loop with a code; nothing happens outside a modal loop.
void stopModalWithCode(ModalResponse code);

}  // namespace appkit
