// Panels: auxiliary windows that float beside the application's main windows and never become main.
#pragma once

#include "platform/appkit/styled_window.h"

namespace appkit {

class Panel : public StyledWindow {
 public:
  using StyledWindow::StyledWindow;

  bool canBecomeMainWindow() const override { return false; }
};

}  // namespace appkit
