#include "platform/desktop/x11/global_input/x11_input_events.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cstring>

#include "platform/desktop/x11/global_input/keyboard_map.h"
#include "platform/desktop/x11/global_input/own_synthetic_input.h"
#include "platform/desktop/x11/global_input/virtual_key_codes.h"
#include "platform/foundation/text_error.h"
#include "platform/foundation/utf16.h"

namespace desktop::x11 {
namespace {

bool isModifierKey(std::uint16_t virtualKeyCode) { return virtualKeyCode >= 54 && virtualKeyCode <= 63; }

// The X modifier a modifier key holds down (Caps Lock locks rather than holds: the server's state says).
unsigned int heldModifier(std::uint16_t virtualKeyCode) {
  switch (virtualKeyCode) {
    case 56:
    case 60:
      return ShiftMask;
    case 59:
    case 62:
      return ControlMask;
    case 58:
    case 61:
      return Mod1Mask;
    case 54:
    case 55:
      return Mod4Mask;
    default:
      return 0;
  }
}

std::string buttonEventType(int button, bool isPress) {
  switch (button) {
    case 1:
      return isPress ? "leftMouseDown" : "leftMouseUp";
    case 3:
      return isPress ? "rightMouseDown" : "rightMouseUp";
    case 4:
    case 5:
    case 6:
    case 7:
      return isPress ? "scrollWheel" : "";
    default:
      return isPress ? "otherMouseDown" : "otherMouseUp";
  }
}

}  // namespace

X11InputEvents::X11InputEvents() : connection_(X11Connection::open()) {
  auto held = connection_->lock();
  Display* display = connection_->display();
  int event = 0;
  int error = 0;
  // From 2.1 on, raw events reach every client that asks, during another client's grab too (a button
  // press grabs the pointer implicitly).
  int major = 2;
  int minor = 2;
  if (!XQueryExtension(display, "XInputExtension", &inputExtensionOpcode_, &event, &error) ||
      XIQueryVersion(display, &major, &minor) != Success || (major == 2 && minor < 1))
    throw foundation::TextError("the X server cannot report input to programs (no XInput 2.1)");
  // The keys and pointer of XTest: what programs type, this one included.
  int count = 0;
  if (XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &count)) {
    for (int i = 0; i < count; ++i) {
      if (std::strstr(devices[i].name, "XTEST") != nullptr) syntheticDevices_.push_back(devices[i].deviceid);
    }
    XIFreeDeviceInfo(devices);
  }
  keyboard_ = KeyboardMap::read(display);
  int keyboardError = 0;
  int keyboardMajor = XkbMajorVersion;
  int keyboardMinor = XkbMinorVersion;
  XkbQueryExtension(display, nullptr, &keyboardExtensionEvent_, &keyboardError, &keyboardMajor,
                    &keyboardMinor);
  XkbSelectEvents(display, XkbUseCoreKbd, XkbNewKeyboardNotifyMask | XkbMapNotifyMask,
                  XkbNewKeyboardNotifyMask | XkbMapNotifyMask);

  unsigned char maskBits[XIMaskLen(XI_LASTEVENT)] = {};
  XISetMask(maskBits, XI_RawKeyPress);
  XISetMask(maskBits, XI_RawKeyRelease);
  XISetMask(maskBits, XI_RawButtonPress);
  XISetMask(maskBits, XI_RawButtonRelease);
  XIEventMask mask{XIAllMasterDevices, sizeof maskBits, maskBits};
  XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
  XSync(display, False);
  connection_->startEvents([this](XEvent& event) { handleEvent(event); });
}

X11InputEvents::~X11InputEvents() {
  // The event thread reaches the members through connection_: it ends while they are all there.
  connection_->stopEvents();
  connection_.reset();
}

std::size_t X11InputEvents::addEventObserver(EventObserver observer) {
  return observers_.add(std::move(observer));
}

void X11InputEvents::removeEventObserver(std::size_t token) { observers_.remove(token); }

void X11InputEvents::handleEvent(XEvent& event) {
  Display* display = connection_->display();
  if (event.type == keyboardExtensionEvent_) {
    // The layout or the keys changed (another layout chosen, a key lent for typing): read them again.
    try {
      keyboard_ = KeyboardMap::read(display);
    } catch (const std::exception&) {
    }
    return;
  }
  if (event.type != GenericEvent || event.xcookie.extension != inputExtensionOpcode_) return;
  if (!XGetEventData(display, &event.xcookie)) return;
  const auto* raw = static_cast<const XIRawEvent*>(event.xcookie.data);
  const int type = event.xcookie.evtype;
  const bool isOwnTyping =
      isTypingSyntheticInput() &&
      std::find(syntheticDevices_.begin(), syntheticDevices_.end(), raw->sourceid) != syntheticDevices_.end();
  InputEvent input;
  const int detail = raw->detail;
  XFreeEventData(display, &event.xcookie);
  if (isOwnTyping) return;

  // Raw events carry no modifier state, and the server's is already ahead of the events still queued:
  // the modifier keys held are followed here, event by event; only the locks come from the server.
  XkbStateRec state{};
  XkbGetState(display, XkbUseCoreKbd, &state);
  const auto modifierState = [&] { return heldModifiers_ | (state.locked_mods & (LockMask | Mod2Mask)); };
  if (type == XI_RawKeyPress || type == XI_RawKeyRelease) {
    const auto virtualKey = keyboard_->virtualKeyCode(static_cast<unsigned int>(detail));
    const bool isPress = type == XI_RawKeyPress;
    if (virtualKey && isModifierKey(*virtualKey)) {
      if (isPress)
        heldModifiers_ |= heldModifier(*virtualKey);
      else
        heldModifiers_ &= ~heldModifier(*virtualKey);
    }
    input.keyCode = virtualKey.value_or(0xFFFF);
    input.type = virtualKey && isModifierKey(*virtualKey) ? "flagsChanged" : isPress ? "keyDown" : "keyUp";
    input.modifierFlags = eventModifierFlags(modifierState());
    const KeySym keysym = XkbKeycodeToKeysym(display, static_cast<KeyCode>(detail), state.group,
                                             (modifierState() & ShiftMask) ? 1 : 0);
    const std::uint32_t character = xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(keysym));
    if (input.type != "flagsChanged" && character != 0) input.characters = foundation::utf8(character);
  } else if (type == XI_RawButtonPress || type == XI_RawButtonRelease) {
    input.type = buttonEventType(detail, type == XI_RawButtonPress);
    if (input.type.empty()) return;
    Window root = None;
    Window child = None;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX, &windowY,
                  &buttons);
    input.location = foundation::Point{double(rootX), double(rootY)};
    input.modifierFlags = eventModifierFlags(modifierState());
  } else {
    return;
  }
  input.origin = InputEvent::Origin::injected;
  observers_.notify(input);
}

}  // namespace desktop::x11
