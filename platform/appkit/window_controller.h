// A window controller: the object that owns one window and closes it.
#pragma once

#include <memory>
#include <utility>

#include "platform/appkit/styled_window.h"

namespace appkit {

// Main thread only.
class WindowController {
 public:
  explicit WindowController(std::shared_ptr<StyledWindow> window = nullptr) : window_(std::move(window)) {}
  virtual ~WindowController() = default;
  WindowController(const WindowController&) = delete;
  WindowController& operator=(const WindowController&) = delete;

  const std::shared_ptr<StyledWindow>& window() const { return window_; }
  void setWindow(std::shared_ptr<StyledWindow> window) { window_ = std::move(window); }

  // Shows the window in front and gives it keyboard focus when it may take it.
  void showWindow() {
    if (window_) window_->makeKeyAndOrderFront();
  }
  // Closes the window, if there is one.
  void close() {
    if (window_) window_->close();
  }

 private:
  std::shared_ptr<StyledWindow> window_;
};

}  // namespace appkit
