// The desktop's global hot keys: key combinations registered with an identity, handlers that receive them
// pressed and released wherever the person works, the desktop's own (symbolic) hot keys, and the keyboard
// layout the keys are typed on.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/desktop/keyboard_layout.h"
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

// Key combinations are a virtual key code (the platform's numbers) and the platform's hot-key modifier
// bits. Handlers are called on the main thread.
class HotKeyService {
 public:
  struct RegistrationResult {
    std::int32_t status = hot_key_status::noErr;
    std::uint64_t reference = 0;  // 0 when the registration was refused
  };
  // Answers an event with a status; eventNotHandledErr passes it on to the next handler.
  using Handler = std::function<std::int32_t(const HotKeyEvent&)>;
  using EventTypes = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // (class, kind)

  virtual ~HotKeyService() = default;

  // Registers a combination; refused with eventHotKeyExistsErr when another application holds it. A
  // reference is never 0 and never names a registration of another desktop.
  virtual RegistrationResult registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyID hotKeyID,
                                            std::uint32_t options) = 0;
  // Unregisters by reference; eventHotKeyInvalidErr for an unknown one.
  virtual std::int32_t unregisterHotKey(std::uint64_t reference) = 0;

  // Installs a handler for the given event types; returns its reference (never 0). Handlers are asked
  // the most recently installed first, until one handles the event.
  virtual std::uint64_t installHandler(EventTypes eventTypes, Handler handler) = 0;

  // The desktop's own hot keys: an array of dictionaries with "kHISymbolicHotKeyEnabled",
  // "kHISymbolicHotKeyCode" and "kHISymbolicHotKeyModifiers". Nothing when the list cannot be read.
  virtual std::optional<foundation::PlistValue> symbolicHotKeys() const = 0;

  // The keyboard layout the person types on, if it can type ASCII; null when there is none.
  virtual std::shared_ptr<const KeyboardLayout> currentKeyboardLayout() const = 0;
};

}  // namespace desktop
