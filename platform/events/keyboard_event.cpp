#include "platform/events/keyboard_event.h"

#include "platform/desktop/desktop.h"
#include "platform/desktop/input_event.h"
#include "platform/desktop/synthetic_input_service.h"
#include "platform/foundation/utf16.h"

namespace events {

std::optional<KeyboardEvent> KeyboardEvent::create(KeyCode keyCode, bool keyDown) {
  return KeyboardEvent(keyDown ? EventType::keyDown : EventType::keyUp, keyCode);
}

void KeyboardEvent::postToPid(int processIdentifier) const {
  desktop::Desktop* desktop = desktop::Desktop::current();
  if (desktop == nullptr) return;
  desktop::InputEvent event = desktop::InputEvent::key(type_ == EventType::keyDown ? "keyDown" : "keyUp",
                                                       keyCode_, flags_, foundation::toUtf8(unicodeString_));
  event.origin = desktop::InputEvent::Origin::postedByApplication;
  // Straight to the target process, not into the desktop's input stream that event monitors watch; an
  // unknown process drops it.
  desktop->syntheticInput().postKeyboardEvent(processIdentifier, event);
}

}  // namespace events
