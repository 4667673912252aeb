// Between the X display's coordinates (from the top-left corner, y growing downwards) and global ones
// (from the main screen's bottom-left corner, y growing upwards).
#pragma once

#include <gdk/gdk.h>

#include "platform/foundation/geometry.h"

namespace desktop::x11 {

// The main screen's bottom edge in display coordinates (0 without a display). Main thread only.
int mainScreenBottom();
// A rectangle of the display in global coordinates. Main thread only.
foundation::Rect globalFrame(const GdkRectangle& area);

}  // namespace desktop::x11
