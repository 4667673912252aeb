// The person's input as the whole X desktop sees it, whichever application it goes to: XInput2 raw key
// and button events on a connection of their own, as the platform's input events.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/desktop/input_event_service.h"
#include "platform/desktop/observer_list.h"
#include "platform/desktop/x11/global_input/x11_connection.h"

namespace desktop::x11 {

class KeyboardMap;

// Thread-safe: the observer list is; the connection's event thread calls the observers.
// Keys this program types into other applications (XTestTyping) never reach them.
class X11InputEvents final : public InputEventService {
 public:
  // Connects to the X display and starts watching; throws foundation::TextError saying why it cannot (no
  // display, a Wayland session, a server without XInput 2).
  X11InputEvents();
  ~X11InputEvents() override;

  // Key presses and releases ("keyDown", "keyUp"; "flagsChanged" for modifier keys) with the virtual key
  // code, the modifier flags and the text the key types; button presses and releases ("leftMouseDown",
  // "rightMouseUp", "otherMouseDown", ...) and wheel turns ("scrollWheel") at the pointer's location.
  // Called on the service's own thread.
  std::size_t addEventObserver(EventObserver observer) override;
  void removeEventObserver(std::size_t token) override;

 private:
  void handleEvent(_XEvent& event);

  std::unique_ptr<X11Connection> connection_;
  int inputExtensionOpcode_ = 0;
  int keyboardExtensionEvent_ = 0;
  std::vector<int> syntheticDevices_;
  // The event thread's only: the keyboard, and the modifiers held as the events so far said.
  std::unique_ptr<KeyboardMap> keyboard_;
  unsigned int heldModifiers_ = 0;
  ObserverList<const InputEvent&> observers_;
};

}  // namespace desktop::x11
