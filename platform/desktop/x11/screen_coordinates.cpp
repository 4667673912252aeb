#include "platform/desktop/x11/screen_coordinates.h"

namespace desktop::x11 {

int mainScreenBottom() {
  GdkDisplay* display = gdk_display_get_default();
  if (display == nullptr) return 0;
  GdkMonitor* primary = gdk_display_get_primary_monitor(display);
  if (primary == nullptr && gdk_display_get_n_monitors(display) > 0)
    primary = gdk_display_get_monitor(display, 0);
  if (primary == nullptr) return 0;
  GdkRectangle area;
  gdk_monitor_get_geometry(primary, &area);
  return area.y + area.height;
}

foundation::Rect globalFrame(const GdkRectangle& area) {
  return foundation::Rect(
      foundation::Point{static_cast<double>(area.x),
                        static_cast<double>(mainScreenBottom() - area.y - area.height)},
      foundation::Size{static_cast<double>(area.width), static_cast<double>(area.height)});
}

}  // namespace desktop::x11
