// Global hot keys on an X desktop: key grabs on the root window of a connection of their own, the pressed
// and released keys handed to the installed handlers on the main thread, and the keyboard layout as the
// X server has it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "platform/desktop/hot_key_service.h"
#include "platform/desktop/x11/global_input/x11_connection.h"

namespace desktop::x11 {

// Thread-safe: `mutex_` guards registrations, handlers and the layout read last, the connection's own lock
// its requests; the connection's event thread posts deliveries to the main run loop, and handlers run
// there, outside both.
class X11HotKeys final : public HotKeyService {
 public:
  // Connects to the X display; throws foundation::TextError saying why it cannot (no display, a
  // Wayland session).
  X11HotKeys();
  ~X11HotKeys() override;

  // Grabs the combination on the root window with every state of the lock modifiers (Caps Lock, Num
  // Lock), so that the hot key works whichever of them is on. Refused with eventHotKeyExistsErr, before
  // returning, when another client holds the combination; paramErr for a key the keyboard lacks or
  // modifiers beyond command, shift, option and control.
  RegistrationResult registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyID hotKeyID,
                                    std::uint32_t options) override;
  std::int32_t unregisterHotKey(std::uint64_t reference) override;
  std::uint64_t installHandler(EventTypes eventTypes, Handler handler) override;

  // An X desktop keeps no list of hot keys of its own that this program could read: an empty list.
  std::optional<foundation::PlistValue> symbolicHotKeys() const override;
  // The layout in use as the X server has it; read again after the server says the keys or the layout in
  // use changed.
  std::shared_ptr<const KeyboardLayout> currentKeyboardLayout() const override;

 private:
  struct Registration {
    unsigned int keycode = 0;
    unsigned int modifierMask = 0;
    HotKeyID hotKeyID;
  };
  struct InstalledHandler {
    EventTypes eventTypes;
    Handler handler;
  };

  void handleEvent(_XEvent& event);
  void deliver(const HotKeyEvent& event);
  // The combination's grabs with every lock-modifier state (the connection's lock held).
  void grab(unsigned int keycode, unsigned int modifierMask);
  void ungrab(unsigned int keycode, unsigned int modifierMask);
  std::vector<unsigned int> lockModifierStates() const;

  std::unique_ptr<X11Connection> connection_;
  unsigned int numLockMask_ = 0;
  int keyboardEvent_ = -1;  // the type of the keyboard extension's events
  mutable std::mutex mutex_;
  // The layout as last read, while no change has been reported since.
  mutable std::shared_ptr<const KeyboardLayout> layout_;
  mutable bool isLayoutKnown_ = false;
  std::map<std::uint64_t, Registration> registrations_;
  std::map<std::uint64_t, InstalledHandler> handlers_;
  // Keeps deliveries that are already queued on the main run loop from reaching a destroyed service.
  std::shared_ptr<X11HotKeys*> self_;
};

}  // namespace desktop::x11
