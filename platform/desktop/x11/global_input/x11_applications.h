// The other applications on an X desktop as the window manager lists them (_NET_CLIENT_LIST), the
// frontmost one (_NET_ACTIVE_WINDOW), bringing one forward, and hearing when another comes forward: the
// parts of the desktop's workspace service that X answers, on a connection of their own, for the live
// desktop's workspace service to hand on.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/desktop/observer_list.h"
#include "platform/desktop/running_application.h"
#include "platform/desktop/workspace_service.h"
#include "platform/desktop/x11/global_input/x11_connection.h"

namespace desktop::x11 {

// Thread-safe: `mutex_` guards the last frontmost process, the connection's lock its requests, the observer
// list itself; observers are called on the connection's event thread.
class X11Applications {
 public:
  // Connects to the X display and starts following the active window; throws foundation::TextError
  // saying why it cannot (no display, a Wayland session).
  X11Applications();
  ~X11Applications();

  // An application is a process with a managed window; its bundle identifier is the GTK application id
  // where the window names one, else the window's class, which is also its name. This program is left out.
  std::vector<RunningApplication> applications() const;
  std::optional<RunningApplication> application(int processIdentifier) const;
  // The application whose window is active; nothing when none is, or the window is this program's.
  std::optional<RunningApplication> frontmostApplication() const;
  // Asks the window manager to activate the application's most recently listed window; false when it has
  // none.
  bool activateApplication(int processIdentifier);

  // Calls the observer whenever the active window comes to belong to another application than before (not
  // this program: its windows in front count as no application), on the service's own thread.
  std::size_t addActivationObserver(WorkspaceService::ActivationObserver observer);
  void removeActivationObserver(std::size_t token);

 private:
  struct Window {
    unsigned long id = 0;
    RunningApplication application;
  };
  std::vector<Window> windows() const;
  std::optional<RunningApplication> describe(unsigned long window) const;
  std::optional<RunningApplication> activeApplication() const;
  void handleEvent(_XEvent& event);

  std::unique_ptr<X11Connection> connection_;
  unsigned long activeWindowAtom_ = 0;
  ObserverList<const RunningApplication&> observers_;
  std::mutex mutex_;
  std::optional<int> lastFrontmost_;
};

}  // namespace desktop::x11
