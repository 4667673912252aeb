#include "platform/desktop/x11/global_input/x11_hot_keys.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <atomic>

#include "platform/desktop/x11/global_input/keyboard_map.h"
#include "platform/desktop/x11/global_input/virtual_key_codes.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace desktop::x11 {
namespace {

// References are unique in the process, so a reference kept from another desktop names nothing here.
std::uint64_t nextReference() {
  static std::atomic<std::uint64_t> counter{1ull << 40};
  return ++counter;
}

constexpr unsigned int kRecordedModifiers = ShiftMask | ControlMask | Mod1Mask | Mod4Mask;

}  // namespace

X11HotKeys::X11HotKeys() : connection_(X11Connection::open()), self_(std::make_shared<X11HotKeys*>(this)) {
  auto held = connection_->lock();
  Display* display = connection_->display();
  numLockMask_ = XkbKeysymToModifiers(display, XK_Num_Lock);
  // Without this a held key repeats as release and press pairs, so a handler would see the hot key
  // released and pressed again while the person still holds it.
  XkbSetDetectableAutoRepeat(display, True, nullptr);
  // Told of every change of the keyboard's keys or of the layout in use, so the layout is read again only
  // then.
  int opcode = 0;
  int error = 0;
  int major = XkbMajorVersion;
  int minor = XkbMinorVersion;
  XkbQueryExtension(display, &opcode, &keyboardEvent_, &error, &major, &minor);
  XkbSelectEvents(display, XkbUseCoreKbd, XkbNewKeyboardNotifyMask | XkbMapNotifyMask,
                  XkbNewKeyboardNotifyMask | XkbMapNotifyMask);
  XkbSelectEventDetails(display, XkbUseCoreKbd, XkbStateNotify, XkbGroupStateMask, XkbGroupStateMask);
  connection_->startEvents([this](XEvent& event) { handleEvent(event); });
}

X11HotKeys::~X11HotKeys() {
  *self_ = nullptr;
  // The event thread reaches the members through connection_: it ends while they are all there; the grabs
  // end with the connection.
  connection_->stopEvents();
  connection_.reset();
}

std::vector<unsigned int> X11HotKeys::lockModifierStates() const {
  return {0, LockMask, numLockMask_, LockMask | numLockMask_};
}

void X11HotKeys::grab(unsigned int keycode, unsigned int modifierMask) {
  Display* display = connection_->display();
  for (const unsigned int lockState : lockModifierStates())
    XGrabKey(display, static_cast<int>(keycode), modifierMask | lockState, DefaultRootWindow(display), False,
             GrabModeAsync, GrabModeAsync);
}

void X11HotKeys::ungrab(unsigned int keycode, unsigned int modifierMask) {
  Display* display = connection_->display();
  for (const unsigned int lockState : lockModifierStates())
    XUngrabKey(display, static_cast<int>(keycode), modifierMask | lockState, DefaultRootWindow(display));
}

HotKeyService::RegistrationResult X11HotKeys::registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                             HotKeyID hotKeyID, std::uint32_t /*options*/) {
  const std::optional<unsigned int> modifierMask = xModifierMask(modifiers);
  if (!modifierMask || keyCode > 0xFFFF) return {hot_key_status::paramErr, 0};
  auto held = connection_->lock();
  std::optional<unsigned int> keycode;
  try {
    keycode = KeyboardMap::read(connection_->display())->keycode(static_cast<std::uint16_t>(keyCode));
  } catch (const std::exception& error) {
    foundation::log(std::string("Global hot keys: ") + error.what());
  }
  if (!keycode) return {hot_key_status::paramErr, 0};
  bool isGrabbed = false;
  {
    std::lock_guard lock(mutex_);
    isGrabbed = std::any_of(registrations_.begin(), registrations_.end(), [&](const auto& entry) {
      return entry.second.keycode == *keycode && entry.second.modifierMask == *modifierMask;
    });
  }
  // This program holds the combination already: registering it again adds a registration, not a grab.
  if (!isGrabbed) {
    const int error = connection_->checkedRequests([&] { grab(*keycode, *modifierMask); });
    if (error != Success) {
      // Some lock-modifier variants may have been granted before one was refused.
      connection_->checkedRequests([&] { ungrab(*keycode, *modifierMask); });
      return {error == BadAccess ? hot_key_status::eventHotKeyExistsErr : hot_key_status::paramErr, 0};
    }
  }
  const std::uint64_t reference = nextReference();
  std::lock_guard lock(mutex_);
  registrations_[reference] = {*keycode, *modifierMask, hotKeyID};
  return {hot_key_status::noErr, reference};
}

std::int32_t X11HotKeys::unregisterHotKey(std::uint64_t reference) {
  auto held = connection_->lock();
  Registration removed;
  bool isStillHeld = false;
  {
    std::lock_guard lock(mutex_);
    const auto found = registrations_.find(reference);
    if (found == registrations_.end()) return hot_key_status::eventHotKeyInvalidErr;
    removed = found->second;
    registrations_.erase(found);
    isStillHeld = std::any_of(registrations_.begin(), registrations_.end(), [&](const auto& entry) {
      return entry.second.keycode == removed.keycode && entry.second.modifierMask == removed.modifierMask;
    });
  }
  if (!isStillHeld) connection_->checkedRequests([&] { ungrab(removed.keycode, removed.modifierMask); });
  return hot_key_status::noErr;
}

std::uint64_t X11HotKeys::installHandler(EventTypes eventTypes, Handler handler) {
  std::lock_guard lock(mutex_);
  const std::uint64_t reference = nextReference();
  handlers_.emplace(reference, InstalledHandler{std::move(eventTypes), std::move(handler)});
  return reference;
}

std::optional<foundation::PlistValue> X11HotKeys::symbolicHotKeys() const {
  return foundation::PlistValue(foundation::PlistValue::Array{});
}

std::shared_ptr<const KeyboardLayout> X11HotKeys::currentKeyboardLayout() const {
  auto held = connection_->lock();
  Display* display = connection_->display();
  // The round trip brings any news of a change the server made before this call into the queue.
  XSync(display, False);
  XEvent news;
  bool hasChanged = false;
  while (XCheckTypedEvent(display, keyboardEvent_, &news)) hasChanged = true;
  std::lock_guard lock(mutex_);
  if (hasChanged) isLayoutKnown_ = false;
  if (isLayoutKnown_) return layout_;
  try {
    layout_ = KeyboardMap::read(display)->layout();
  } catch (const std::exception& error) {
    foundation::log(std::string("Keyboard layout: ") + error.what());
    layout_ = nullptr;
  }
  isLayoutKnown_ = true;
  return layout_;
}

void X11HotKeys::handleEvent(XEvent& event) {
  if (event.type == keyboardEvent_) {
    std::lock_guard lock(mutex_);
    isLayoutKnown_ = false;
    return;
  }
  if (event.type != KeyPress && event.type != KeyRelease) return;
  const unsigned int keycode = event.xkey.keycode;
  const unsigned int modifierMask = event.xkey.state & kRecordedModifiers;
  const std::uint32_t kind = event.type == KeyPress ? HotKeyEvent::kPressedKind : HotKeyEvent::kReleasedKind;
  std::vector<HotKeyEvent> events;
  {
    std::lock_guard lock(mutex_);
    for (const auto& [reference, registration] : registrations_) {
      if (registration.keycode == keycode && registration.modifierMask == modifierMask)
        events.push_back({HotKeyEvent::kKeyboardClass, kind, registration.hotKeyID});
    }
  }
  for (const auto& hotKeyEvent : events) {
    foundation::RunLoop::main().async([self = std::weak_ptr<X11HotKeys*>(self_), hotKeyEvent] {
      if (const auto alive = self.lock(); alive && *alive) (*alive)->deliver(hotKeyEvent);
    });
  }
}

void X11HotKeys::deliver(const HotKeyEvent& event) {
  std::vector<Handler> interested;
  {
    std::lock_guard lock(mutex_);
    for (auto it = handlers_.rbegin(); it != handlers_.rend(); ++it) {
      const auto& types = it->second.eventTypes;
      if (std::find(types.begin(), types.end(), std::pair{event.eventClass, event.eventKind}) != types.end())
        interested.push_back(it->second.handler);
    }
  }
  for (const auto& handler : interested) {
    if (handler(event) != hot_key_status::eventNotHandledErr) return;
  }
}

}  // namespace desktop::x11
