#include "platform/events/keyboard_event.h"

#include "platform/desktop/headless_desktop.h"
#include "platform/foundation/utf16.h"

namespace events {

std::optional<KeyboardEvent> KeyboardEvent::create(KeyCode keyCode, bool keyDown) {
  return KeyboardEvent(keyDown ? EventType::keyDown : EventType::keyUp, keyCode);
}

void KeyboardEvent::postToPid(int processIdentifier) const {
  desktop::HeadlessDesktop* desktop = desktop::HeadlessDesktop::current();
  if (desktop == nullptr || !desktop->application(processIdentifier)) return;
  desktop::InputEvent event = desktop::InputEvent::key(type_ == EventType::keyDown ? "keyDown" : "keyUp",
                                                       keyCode_, flags_, foundation::toUtf8(unicodeString_));
  event.origin = desktop::InputEvent::Origin::postedByApplication;
  // Straight to the target process, not into the desktop's input stream that event monitors watch.
  desktop->accessibility().deliverKeyEvent(processIdentifier, std::move(event));
}

}  // namespace events
