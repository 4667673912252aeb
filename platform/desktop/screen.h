// One display of the desktop, in global coordinates (origin at the bottom-left of the main screen).
#pragma once

#include "platform/foundation/geometry.h"

namespace desktop {

struct Screen {
  foundation::Rect frame;
  // The part of the frame not covered by the menu bar or a dock; the whole frame unless set.
  foundation::Rect visibleFrame;
  double backingScaleFactor = 1;

  Screen() = default;
  explicit Screen(foundation::Rect frame, double backingScaleFactor = 1)
      : frame(frame), visibleFrame(frame), backingScaleFactor(backingScaleFactor) {}
  Screen(foundation::Rect frame, foundation::Rect visibleFrame, double backingScaleFactor = 1)
      : frame(frame), visibleFrame(visibleFrame), backingScaleFactor(backingScaleFactor) {}

  bool operator==(const Screen&) const = default;
};

}  // namespace desktop
