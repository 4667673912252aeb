// Local event monitors: handlers that see the application's own events of chosen types before they are
// dispatched, and may change them or swallow them.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include "platform/appkit/event.h"

namespace appkit {

// A handler gets an event and returns the event to pass on (the same one, another one) or nothing to
// swallow it.
using LocalEventHandler = std::function<std::optional<Event>(const Event&)>;

// The platform's record of one installed monitor; whoever installed it keeps it to remove it.
class LocalEventMonitorObject {
 public:
  LocalEventMonitorObject(EventTypeMask mask, LocalEventHandler handler)
      : mask_(mask), handler_(std::move(handler)) {}
  EventTypeMask mask() const { return mask_; }

 private:
  friend std::optional<Event> handleLocalEvent(const Event& event);
  friend void removeMonitor(const std::shared_ptr<LocalEventMonitorObject>& monitor);
  EventTypeMask mask_;
  LocalEventHandler handler_;
  bool isRemoved_ = false;
};

// Everything here is main-thread state: the application receives its events on the main thread.

// Installs a handler for the events whose type is in `mask`; returns the monitor's record.
std::shared_ptr<LocalEventMonitorObject> addLocalMonitorForEvents(EventTypeMask mask,
                                                                  LocalEventHandler handler);
// Removes a monitor; removing one twice, or null, does nothing. A monitor removed while an event is
// being handled sees no more events, that one included.
void removeMonitor(const std::shared_ptr<LocalEventMonitorObject>& monitor);
// The number of installed monitors.
std::size_t localMonitorCount();

// The application received an event: the monitors of its type see it, oldest first, each getting what
// the one before passed on. Returns the event to dispatch, or nothing when a monitor swallowed it.
// Monitors installed while the event is handled do not see it. A handler that throws is logged and
// passes the event on unchanged.
std::optional<Event> handleLocalEvent(const Event& event);

}  // namespace appkit
