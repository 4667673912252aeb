// The system's global hot-key service as the headless desktop plays it: registrations of key
// combinations, event handlers that receive pressed and released hot keys, the list of the system's own
// (symbolic) hot keys and the keyboard layout. A test presses and releases combinations, and configures
// the symbolic list and the layout.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/desktop/hot_key_service.h"
#include "platform/desktop/keyboard_layout.h"
#include "platform/foundation/property_list.h"  // PlistValue: the symbolic hot-key dictionaries

namespace desktop {

// Thread-safe: one mutex guards registrations, handlers, the symbolic list and the keyboard layout;
// handlers are called outside it, on the calling thread. The system delivers hot keys on the main thread,
// so tests press and release there.
class HeadlessHotKeys final : public HotKeyService {
 public:
  struct Registration {
    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;
    HotKeyID hotKeyID;
    std::uint64_t reference = 0;  // never 0; unique in the process, across desktops
    bool operator==(const Registration&) const = default;
  };

  // Registers a combination. Refused with eventHotKeyExistsErr when another application holds it
  // (reserveCombination); a combination may be registered more than once by this program.
  RegistrationResult registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyID hotKeyID,
                                    std::uint32_t options) override;
  // Unregisters by reference; eventHotKeyInvalidErr for an unknown one.
  std::int32_t unregisterHotKey(std::uint64_t reference) override;
  // Registrations in the order they were made.
  std::vector<Registration> registrations() const;

  // Installs a handler for the given event types; returns its reference (never 0).
  std::uint64_t installHandler(EventTypes eventTypes, Handler handler) override;
  // Removes a handler; false for an unknown reference.
  bool removeHandler(std::uint64_t reference);
  std::size_t handlerCount() const;

  // Delivers an event to the handlers installed for its class and kind, the most recently installed
  // first, until one handles it. Returns that handler's status, or eventNotHandledErr when none did.
  std::int32_t deliver(const HotKeyEvent& event);

  // The user presses (releases) a combination: one event per registration of exactly that key code and
  // those modifiers, in registration order. Returns the status of each delivery (none: not registered).
  std::vector<std::int32_t> press(std::uint32_t keyCode, std::uint32_t modifiers);
  std::vector<std::int32_t> release(std::uint32_t keyCode, std::uint32_t modifiers);

  // Another application holds (or gives up) a combination.
  void reserveCombination(std::uint32_t keyCode, std::uint32_t modifiers);
  void releaseCombination(std::uint32_t keyCode, std::uint32_t modifiers);

  // The system's own hot keys: an array of dictionaries with "kHISymbolicHotKeyEnabled",
  // "kHISymbolicHotKeyCode" and "kHISymbolicHotKeyModifiers"; an empty array by default. Nothing means the
  // list cannot be read.
  std::optional<foundation::PlistValue> symbolicHotKeys() const override;
  void setSymbolicHotKeys(std::optional<foundation::PlistValue> list);
  // One entry of that list.
  static foundation::PlistValue symbolicHotKey(bool isEnabled, std::int64_t keyCode, std::int64_t modifiers);

  // The keyboard layout: the US layout unless a test sets another (null: none that types ASCII).
  std::shared_ptr<const KeyboardLayout> currentKeyboardLayout() const override;
  void setCurrentKeyboardLayout(std::shared_ptr<const KeyboardLayout> layout);

 private:
  std::vector<std::int32_t> deliverToRegistrations(std::uint32_t keyCode, std::uint32_t modifiers,
                                                   std::uint32_t kind);

  struct InstalledHandler {
    EventTypes eventTypes;
    Handler handler;
  };

  mutable std::mutex mutex_;
  std::vector<Registration> registrations_;
  std::map<std::uint64_t, InstalledHandler> handlers_;
  std::set<std::pair<std::uint32_t, std::uint32_t>> reservedCombinations_;
  std::optional<foundation::PlistValue> symbolicHotKeys_ =
      foundation::PlistValue(foundation::PlistValue::Array{});
  std::shared_ptr<const KeyboardLayout> keyboardLayout_ = KeyboardLayout::unitedStates();
};

}  // namespace desktop
