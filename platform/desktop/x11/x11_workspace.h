// The screens as GDK sees them and the other applications as the window manager lists their windows.
#pragma once

#include "platform/desktop/workspace_service.h"

namespace desktop::x11 {

// Safe to call from any thread: the display is asked on the main thread. Applications are known by
// their top-level windows (the window manager's client list with each window's process and class), so
// a program without a window is not seen.
class X11Workspace final : public WorkspaceService {
 public:
  std::vector<Screen> screens() const override;
  std::vector<RunningApplication> applications() const override;
  std::optional<RunningApplication> application(int processIdentifier) const override;
  std::optional<RunningApplication> frontmostApplication() const override;
  bool activateApplication(int processIdentifier) override;
};

}  // namespace desktop::x11
