// The displays attached to the desktop, in the window system's global coordinates (origin at the bottom
// left of the first screen, y growing upwards).
#pragma once

#include <optional>
#include <vector>

#include "platform/foundation/geometry.h"

namespace appkit {

class Screen {
 public:
  Screen(foundation::Rect frame, foundation::Rect visibleFrame, double backingScaleFactor)
      : frame_(frame), visibleFrame_(visibleFrame), backingScaleFactor_(backingScaleFactor) {}

  // Every attached screen; the first one holds the origin of the global coordinates. Empty when the
  // window system reports no screen.
  static std::vector<Screen> screens();
  // The screen the user is working on (the first screen here); nothing when there is no screen.
  static std::optional<Screen> mainScreen();

  foundation::Rect frame() const { return frame_; }
  // The frame without the menu bar and the dock.
  foundation::Rect visibleFrame() const { return visibleFrame_; }
  double backingScaleFactor() const { return backingScaleFactor_; }

  bool operator==(const Screen&) const = default;

 private:
  foundation::Rect frame_;
  foundation::Rect visibleFrame_;
  double backingScaleFactor_;
};

}  // namespace appkit
