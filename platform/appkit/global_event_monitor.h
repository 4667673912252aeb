// Global event monitors: the user's key presses and clicks that go to other applications, handed to this
// program on the main queue. Events this program posts itself never reach them.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include "platform/appkit/event.h"

namespace appkit {

// One installed monitor. Made with add(), ended with remove() (or when the last handle is released).
// The handler runs on the main queue only; the registration's active flag is atomic, so a delivery that
// was already queued when remove() ran on the main thread is dropped, never handled.
class GlobalEventMonitor {
 public:
  using Handler = std::function<void(const Event&)>;

  // Watches events of the types in `mask` that the user sends to other applications. Null when there is
  // no desktop to watch. The handler cannot change or swallow the events.
  static std::shared_ptr<GlobalEventMonitor> add(EventTypeMask mask, Handler handler);

  ~GlobalEventMonitor();
  GlobalEventMonitor(const GlobalEventMonitor&) = delete;
  GlobalEventMonitor& operator=(const GlobalEventMonitor&) = delete;

  // Stops the monitor; nothing more is handled, queued deliveries included. A second call does nothing.
  void remove();
  bool isActive() const;
  EventTypeMask mask() const;

  // How many monitors are installed in this process right now.
  static std::size_t activeCount();

  struct Registration;

 private:
  explicit GlobalEventMonitor(std::shared_ptr<Registration> registration);
  std::shared_ptr<Registration> registration_;
};

}  // namespace appkit
