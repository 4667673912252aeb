// The system's global hot-key service as the headless desktop plays it: registrations of key
// combinations, event handlers that receive pressed and released hot keys, and the list of the system's
// own (symbolic) hot keys. A test presses and releases combinations and configures the symbolic list.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/foundation/property_list.h"  // PlistValue: the symbolic hot-key dictionaries

namespace desktop {

// Statuses of the service, with the platform's numbers.
namespace hot_key_status {
inline constexpr std::int32_t noErr = 0;
inline constexpr std::int32_t paramErr = -50;
inline constexpr std::int32_t eventParameterNotFoundErr = -9870;
inline constexpr std::int32_t eventNotHandledErr = -9874;
inline constexpr std::int32_t eventHotKeyExistsErr = -9878;
inline constexpr std::int32_t eventHotKeyInvalidErr = -9879;
}  // namespace hot_key_status

// The identity a registrant gives its hot key: a four-character signature and a number.
struct HotKeyID {
  std::uint32_t signature = 0;
  std::uint32_t id = 0;
  bool operator==(const HotKeyID&) const = default;
};

// One event delivered to the installed handlers.
struct HotKeyEvent {
  static constexpr std::uint32_t kKeyboardClass = 0x6B657962;  // 'keyb'
  static constexpr std::uint32_t kPressedKind = 5;
  static constexpr std::uint32_t kReleasedKind = 6;

  std::uint32_t eventClass = kKeyboardClass;
  std::uint32_t eventKind = kPressedKind;
  // The hot key the event is about; absent when the event carries none (reading it then fails).
  std::optional<HotKeyID> hotKeyID;
};

// Thread-safe: one mutex guards registrations, handlers and the symbolic list; handlers are called
// outside it, on the calling thread. The system delivers hot keys on the main thread, so tests press and
// release there.
class HeadlessHotKeys {
 public:
  struct Registration {
    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;
    HotKeyID hotKeyID;
    std::uint64_t reference = 0;  // never 0; unique in the process, across desktops
    bool operator==(const Registration&) const = default;
  };
  struct RegistrationResult {
    std::int32_t status = hot_key_status::noErr;
    std::uint64_t reference = 0;  // 0 when the registration was refused
  };
  // Answers an event with a status; eventNotHandledErr passes it on to the next handler.
  using Handler = std::function<std::int32_t(const HotKeyEvent&)>;
  using EventTypes = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // (class, kind)

  // Registers a combination. Refused with eventHotKeyExistsErr when another application holds it
  // (reserveCombination); a combination may be registered more than once by this program.
  RegistrationResult registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyID hotKeyID,
                                    std::uint32_t options);
  // Unregisters by reference; eventHotKeyInvalidErr for an unknown one.
  std::int32_t unregisterHotKey(std::uint64_t reference);
  // Registrations in the order they were made.
  std::vector<Registration> registrations() const;

  // Installs a handler for the given event types; returns its reference (never 0).
  std::uint64_t installHandler(EventTypes eventTypes, Handler handler);
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
  std::optional<foundation::PlistValue> symbolicHotKeys() const;
  void setSymbolicHotKeys(std::optional<foundation::PlistValue> list);
  // One entry of that list.
  static foundation::PlistValue symbolicHotKey(bool isEnabled, std::int64_t keyCode, std::int64_t modifiers);

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
};

}  // namespace desktop
