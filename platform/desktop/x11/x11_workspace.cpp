#include "platform/desktop/x11/x11_workspace.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <gdk/gdk.h>
#include <gdk/gdkx.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/desktop/x11/gtk_main_loop.h"
#include "platform/desktop/x11/screen_coordinates.h"

namespace desktop::x11 {

namespace {

// The 32-bit values of a window property (X hands them over as longs).
std::vector<unsigned long> cardinals(Display* display, Window window, const char* name, Atom type) {
  Atom actualType = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  std::vector<unsigned long> values;
  if (XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 4096, False, type,
                         &actualType, &format, &count, &remaining, &data) == Success &&
      data != nullptr) {
    if (format == 32) {
      const auto* longs = reinterpret_cast<const unsigned long*>(data);
      values.assign(longs, longs + count);
    }
    XFree(data);
  }
  return values;
}

struct ClientWindow {
  Window window;
  RunningApplication application;
};

std::optional<RunningApplication> applicationOf(Display* display, Window window) {
  auto pids = cardinals(display, window, "_NET_WM_PID", XA_CARDINAL);
  if (pids.empty() || pids.front() == 0) return std::nullopt;
  RunningApplication application;
  application.processIdentifier = static_cast<int>(pids.front());
  XClassHint hint{};
  if (XGetClassHint(display, window, &hint) != 0) {
    if (hint.res_name != nullptr) application.bundleIdentifier = hint.res_name;
    if (hint.res_class != nullptr) application.localizedName = hint.res_class;
    XFree(hint.res_name);
    XFree(hint.res_class);
  }
  return application;
}

// The other programs' top-level windows in the window manager's order.
std::vector<ClientWindow> clientWindows() {
  std::vector<ClientWindow> clients;
  GdkDisplay* gdkDisplay = gdk_display_get_default();
  if (gdkDisplay == nullptr || !GDK_IS_X11_DISPLAY(gdkDisplay)) return clients;
  Display* display = gdk_x11_display_get_xdisplay(gdkDisplay);
  const int ownProcess = static_cast<int>(getpid());
  for (unsigned long window : cardinals(display, DefaultRootWindow(display), "_NET_CLIENT_LIST", XA_WINDOW)) {
    gdk_x11_display_error_trap_push(gdkDisplay);  // a window may go while it is read
    auto application = applicationOf(display, window);
    gdk_x11_display_error_trap_pop_ignored(gdkDisplay);
    if (application && application->processIdentifier != ownProcess)
      clients.push_back({window, *application});
  }
  return clients;
}

}  // namespace

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
  std::vector<RunningApplication> applications;
  onMainThread([&] {
    for (auto& client : clientWindows()) {
      const bool isListed = std::any_of(applications.begin(), applications.end(), [&](const auto& known) {
        return known.processIdentifier == client.application.processIdentifier;
      });
      if (!isListed) applications.push_back(std::move(client.application));
    }
  });
  return applications;
}

std::optional<RunningApplication> X11Workspace::application(int processIdentifier) const {
  for (auto& application : applications())
    if (application.processIdentifier == processIdentifier) return application;
  return std::nullopt;
}

std::optional<RunningApplication> X11Workspace::frontmostApplication() const {
  std::optional<RunningApplication> frontmost;
  onMainThread([&] {
    GdkDisplay* gdkDisplay = gdk_display_get_default();
    if (gdkDisplay == nullptr || !GDK_IS_X11_DISPLAY(gdkDisplay)) return;
    Display* display = gdk_x11_display_get_xdisplay(gdkDisplay);
    auto active = cardinals(display, DefaultRootWindow(display), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    if (active.empty() || active.front() == None) return;
    gdk_x11_display_error_trap_push(gdkDisplay);
    frontmost = applicationOf(display, active.front());
    gdk_x11_display_error_trap_pop_ignored(gdkDisplay);
    if (frontmost && frontmost->processIdentifier == static_cast<int>(getpid())) frontmost.reset();
  });
  return frontmost;
}

bool X11Workspace::activateApplication(int processIdentifier) {
  bool isActivated = false;
  onMainThread([&] {
    for (const auto& client : clientWindows()) {
      if (client.application.processIdentifier != processIdentifier) continue;
      GdkDisplay* gdkDisplay = gdk_display_get_default();
      Display* display = gdk_x11_display_get_xdisplay(gdkDisplay);
      // Asks the window manager, as a pager would (source 2), to raise and focus the window.
      XEvent event{};
      event.xclient.type = ClientMessage;
      event.xclient.window = client.window;
      event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
      event.xclient.format = 32;
      event.xclient.data.l[0] = 2;
      event.xclient.data.l[1] = CurrentTime;
      XSendEvent(display, DefaultRootWindow(display), False,
                 SubstructureRedirectMask | SubstructureNotifyMask, &event);
      XFlush(display);
      isActivated = true;
      return;
    }
  });
  return isActivated;
}

}  // namespace desktop::x11
