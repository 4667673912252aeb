// The window that carries the sidebar: always borderless, yet able to take keyboard focus and become main.
#pragma once

#include <cstdint>

#include "platform/appkit/styled_window.h"

namespace Quillo {

class BorderlessWindow : public appkit::StyledWindow {
 public:
  // Whatever style is asked for, the window is borderless.
  BorderlessWindow(foundation::Rect contentRect, std::uint64_t styleMask, BackingStoreType backing,
                   bool defer);

  bool canBecomeKeyWindow() const override { return true; }
  bool canBecomeMainWindow() const override { return true; }
};

}  // namespace Quillo
