// The desktop's screens and the other applications running on it.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "platform/desktop/running_application.h"
#include "platform/desktop/screen.h"

namespace desktop {

class WorkspaceService {
 public:
  virtual ~WorkspaceService() = default;

  // The screens, the main one first; empty only when the desktop has no screen at all.
  virtual std::vector<Screen> screens() const = 0;

  // The other applications, in the order the desktop lists them.
  virtual std::vector<RunningApplication> applications() const = 0;
  virtual std::optional<RunningApplication> application(int processIdentifier) const = 0;
  // The application the person works in, nothing when none is (or this program itself is).
  virtual std::optional<RunningApplication> frontmostApplication() const = 0;
  // Brings an application to the front; false for one that is not running.
  virtual bool activateApplication(int processIdentifier) = 0;

  using ActivationObserver = std::function<void(const RunningApplication&)>;
  // Calls the observer whenever another application becomes the frontmost one, whoever brought it
  // forward, on the thread that notices (not necessarily the main thread); the returned token removes it.
  virtual std::size_t addActivationObserver(ActivationObserver observer) = 0;
  // Removes an observer; an unknown token does nothing.
  virtual void removeActivationObserver(std::size_t token) = 0;
};

}  // namespace desktop
