#include "platform/appkit/event_dispatch.h"

#include "platform/appkit/event_monitor.h"
#include "platform/foundation/run_loop.h"

namespace appkit {

void dispatchEvent(const Event& event, const std::shared_ptr<Window>& window) {
  foundation::assertMainThread();
  const auto passed = handleLocalEvent(event);
  if (!passed) return;
  const auto receiver = passed->isKeyEvent() || !window ? Window::keyWindow() : window;
  if (receiver) receiver->sendEvent(*passed);
}

}  // namespace appkit
