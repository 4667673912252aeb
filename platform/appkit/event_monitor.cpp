#include "platform/appkit/event_monitor.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace appkit {
namespace {

// Main-thread state: the installed monitors, oldest first.
std::vector<std::shared_ptr<LocalEventMonitorObject>>& installedMonitors() {
  static std::vector<std::shared_ptr<LocalEventMonitorObject>> monitors;
  return monitors;
}

}  // namespace

std::shared_ptr<LocalEventMonitorObject> addLocalMonitorForEvents(EventTypeMask mask,
                                                                  LocalEventHandler handler) {
  foundation::assertMainThread();
  auto monitor = std::make_shared<LocalEventMonitorObject>(mask, std::move(handler));
  installedMonitors().push_back(monitor);
  return monitor;
}

void removeMonitor(const std::shared_ptr<LocalEventMonitorObject>& monitor) {
  foundation::assertMainThread();
  if (!monitor) return;
  monitor->isRemoved_ = true;
  std::erase(installedMonitors(), monitor);
}

std::size_t localMonitorCount() {
  foundation::assertMainThread();
  return installedMonitors().size();
}

std::optional<Event> handleLocalEvent(const Event& event) {
  foundation::assertMainThread();
  // A snapshot keeps every monitor (and its handler) alive while it runs, even when the handler removes
  // its own monitor.
  const auto monitors = installedMonitors();
  std::optional<Event> current = event;
  for (const auto& monitor : monitors) {
    if (!current) break;
    if (monitor->isRemoved_ || !monitor->mask_.contains(current->type())) continue;
    try {
      current = monitor->handler_(*current);
    } catch (const std::exception& error) {
      foundation::log(std::string("appkit: a local event monitor failed: ") + error.what());
    } catch (...) {
      foundation::log("appkit: a local event monitor failed");
    }
  }
  return current;
}

}  // namespace appkit
