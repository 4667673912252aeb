#include "platform/appkit/global_event_monitor.h"

#include <atomic>
#include <utility>

#include "platform/desktop/desktop.h"
#include "platform/desktop/input_event_service.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace appkit {
namespace {

std::atomic<std::size_t> installedMonitors{0};

}  // namespace

struct GlobalEventMonitor::Registration {
  EventTypeMask mask;
  Handler handler;
  std::atomic<bool> isActive{true};
  desktop::Desktop* desktop = nullptr;
  std::size_t observerToken = 0;
};

GlobalEventMonitor::GlobalEventMonitor(std::shared_ptr<Registration> registration)
    : registration_(std::move(registration)) {}

std::shared_ptr<GlobalEventMonitor> GlobalEventMonitor::add(EventTypeMask mask, Handler handler) {
  desktop::Desktop* desktop = desktop::Desktop::current();
  if (desktop == nullptr) return nullptr;
  auto registration = std::make_shared<Registration>();
  registration->mask = mask;
  registration->handler = std::move(handler);
  registration->desktop = desktop;
  std::weak_ptr<Registration> weak = registration;
  // The desktop calls observers on the thread that put the event into the stream; the handler belongs to
  // the main queue.
  registration->observerToken =
      desktop->inputEvents().addEventObserver([weak](const desktop::InputEvent& input) {
        if (input.origin != desktop::InputEvent::Origin::injected) return;
        const auto event = Event::fromInputEvent(input);
        if (!event) return;
        const auto registration = weak.lock();
        if (!registration || !registration->isActive || !registration->mask.contains(event->type())) return;
        foundation::RunLoop::main().async([weak, event = *event] {
          const auto registration = weak.lock();
          if (!registration || !registration->isActive) return;
          try {
            registration->handler(event);
          } catch (const std::exception& error) {
            foundation::log(std::string("Global event monitor handler failed: ") + error.what());
          } catch (...) {
            foundation::log("Global event monitor handler failed.");
          }
        });
      });
  ++installedMonitors;
  return std::shared_ptr<GlobalEventMonitor>(new GlobalEventMonitor(std::move(registration)));
}

GlobalEventMonitor::~GlobalEventMonitor() { remove(); }

void GlobalEventMonitor::remove() {
  if (!registration_->isActive.exchange(false)) return;
  --installedMonitors;
  // A desktop that is no longer installed may be gone; its observers went with it.
  if (desktop::Desktop::current() == registration_->desktop) {
    registration_->desktop->inputEvents().removeEventObserver(registration_->observerToken);
  }
}

bool GlobalEventMonitor::isActive() const { return registration_->isActive; }

EventTypeMask GlobalEventMonitor::mask() const { return registration_->mask; }

std::size_t GlobalEventMonitor::activeCount() { return installedMonitors; }

}  // namespace appkit
