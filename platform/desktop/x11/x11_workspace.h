// The screens as GDK sees them and the other applications as the window manager lists their windows.
#pragma once

#include <memory>

#include "platform/desktop/observer_list.h"
#include "platform/desktop/workspace_service.h"
#include "platform/desktop/x11/global_input/x11_applications.h"

namespace desktop::x11 {

// Safe to call from any thread: screens are asked of GDK on the main thread; the other applications are
// followed on a connection of their own (X11Applications), known by their top-level windows, so a program
// without a window is not seen. Where the session keeps other applications out of reach (a Wayland
// session, whose programs have no X windows), there are screens and no other applications.
class X11Workspace final : public WorkspaceService {
 public:
  X11Workspace();

  std::vector<Screen> screens() const override;
  std::vector<RunningApplication> applications() const override;
  std::optional<RunningApplication> application(int processIdentifier) const override;
  std::optional<RunningApplication> frontmostApplication() const override;
  bool activateApplication(int processIdentifier) override;
  std::size_t addActivationObserver(ActivationObserver observer) override;
  void removeActivationObserver(std::size_t token) override;

 private:
  // Null where the other applications cannot be followed.
  std::unique_ptr<X11Applications> applications_;
  // The observers while no applications are followed: none of them is ever told.
  ObserverList<const RunningApplication&> idleObservers_;
};

}  // namespace desktop::x11
