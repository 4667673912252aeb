#include "platform/desktop/x11/x11_workspace.h"

#include <X11/Xlib.h>
#include <gdk/gdk.h>
#include <gdk/gdkx.h>

#include <algorithm>
#include <utility>

#include "platform/desktop/x11/gtk_main_loop.h"
#include "platform/desktop/x11/screen_coordinates.h"
#include "platform/foundation/text_error.h"

namespace desktop::x11 {

X11Workspace::X11Workspace() {
  try {
    applications_ = std::make_unique<X11Applications>();
  } catch (const foundation::TextError&) {
    // The desktop tells the person once what is not available in such a session.
  }
}

std::vector<Screen> X11Workspace::screens() const {
  std::vector<Screen> screens;
  onMainThread([&] {
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr) return;
    const int count = gdk_display_get_n_monitors(display);
    GdkMonitor* primary = gdk_display_get_primary_monitor(display);
    if (primary == nullptr && count > 0) primary = gdk_display_get_monitor(display, 0);
    if (primary == nullptr) return;
    auto add = [&](GdkMonitor* monitor) {
      GdkRectangle area, workArea;
      gdk_monitor_get_geometry(monitor, &area);
      gdk_monitor_get_workarea(monitor, &workArea);
      screens.emplace_back(globalFrame(area), globalFrame(workArea), gdk_monitor_get_scale_factor(monitor));
    };
    add(primary);
    for (int index = 0; index < count; ++index)
      if (GdkMonitor* monitor = gdk_display_get_monitor(display, index); monitor != primary) add(monitor);
  });
  return screens;
}

std::vector<RunningApplication> X11Workspace::applications() const {
  return applications_ ? applications_->applications() : std::vector<RunningApplication>{};
}

std::optional<RunningApplication> X11Workspace::application(int processIdentifier) const {
  return applications_ ? applications_->application(processIdentifier) : std::nullopt;
}

std::optional<RunningApplication> X11Workspace::frontmostApplication() const {
  return applications_ ? applications_->frontmostApplication() : std::nullopt;
}

bool X11Workspace::activateApplication(int processIdentifier) {
  return applications_ && applications_->activateApplication(processIdentifier);
}

std::size_t X11Workspace::addActivationObserver(ActivationObserver observer) {
  if (!applications_) return idleObservers_.add(std::move(observer));
  return applications_->addActivationObserver(std::move(observer));
}

void X11Workspace::removeActivationObserver(std::size_t token) {
  if (!applications_) return idleObservers_.remove(token);
  applications_->removeActivationObserver(token);
}

}  // namespace desktop::x11
