// The system's global hot-key service, in the shape of its C interface: register a key combination with
// an identity, unregister it, install an event handler that receives pressed and released hot keys, and
// read the system's own (symbolic) hot keys. The service is the current desktop's.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/desktop/hot_key_service.h"   // the desktop's side of the service
#include "platform/foundation/property_list.h"  // PlistValue: the symbolic hot-key dictionaries

namespace carbon {

using OSStatus = std::int32_t;
using OSType = std::uint32_t;

inline constexpr OSStatus noErr = desktop::hot_key_status::noErr;
inline constexpr OSStatus paramErr = desktop::hot_key_status::paramErr;
inline constexpr OSStatus eventParameterNotFoundErr = desktop::hot_key_status::eventParameterNotFoundErr;
inline constexpr OSStatus eventNotHandledErr = desktop::hot_key_status::eventNotHandledErr;
inline constexpr OSStatus eventHotKeyExistsErr = desktop::hot_key_status::eventHotKeyExistsErr;
inline constexpr OSStatus eventHotKeyInvalidErr = desktop::hot_key_status::eventHotKeyInvalidErr;
inline constexpr OSStatus eventInternalErr = -9868;

// A four-character code: the characters' bytes in order, the first one most significant.
constexpr OSType fourCharCode(const char (&code)[5]) {
  return (OSType(std::uint8_t(code[0])) << 24) | (OSType(std::uint8_t(code[1])) << 16) |
         (OSType(std::uint8_t(code[2])) << 8) | OSType(std::uint8_t(code[3]));
}

inline constexpr OSType kEventClassKeyboard = fourCharCode("keyb");
inline constexpr std::uint32_t kEventHotKeyPressed = 5;
inline constexpr std::uint32_t kEventHotKeyReleased = 6;
inline constexpr OSType kEventParamDirectObject = fourCharCode("----");
inline constexpr OSType typeEventHotKeyID = fourCharCode("hkid");

// Carbon modifier bits.
inline constexpr std::uint32_t cmdKey = 0x100;
inline constexpr std::uint32_t shiftKey = 0x200;
inline constexpr std::uint32_t alphaLock = 0x400;
inline constexpr std::uint32_t optionKey = 0x800;
inline constexpr std::uint32_t controlKey = 0x1000;
inline constexpr std::uint32_t rightShiftKey = 0x2000;
inline constexpr std::uint32_t rightOptionKey = 0x4000;
inline constexpr std::uint32_t rightControlKey = 0x8000;

struct EventHotKeyID {
  OSType signature = 0;
  std::uint32_t id = 0;
  bool operator==(const EventHotKeyID&) const = default;
};

struct EventTypeSpec {
  OSType eventClass = 0;
  std::uint32_t eventKind = 0;
};

// Where registrations and handlers go; null when no desktop is there to take them.
struct EventTargetRef {
  desktop::HotKeyService* service = nullptr;
  explicit operator bool() const { return service != nullptr; }
};

// A registered hot key; null (0) when none.
struct EventHotKeyRef {
  std::uint64_t reference = 0;
  explicit operator bool() const { return reference != 0; }
  bool operator==(const EventHotKeyRef&) const = default;
};

// An installed handler; null (0) when none.
struct EventHandlerRef {
  std::uint64_t reference = 0;
  explicit operator bool() const { return reference != 0; }
};

// An event as a handler receives it.
struct Event {
  desktop::HotKeyEvent data;
};
using EventRef = const Event*;

// A handler: answers eventNotHandledErr to pass the event on. It is called from C-like dispatch code and
// must not throw.
using EventHandlerProcPtr = OSStatus (*)(EventRef event, void* userData);

// The target of the current desktop, or a null target when none is installed.
EventTargetRef getEventDispatcherTarget();

// Registers a combination (key code and Carbon modifier bits) with an identity; on success `outRef`
// receives the hot key's reference, otherwise it is left null.
OSStatus registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers, EventHotKeyID hotKeyID,
                             EventTargetRef target, std::uint32_t options, EventHotKeyRef* outRef);
// Unregisters a hot key of the current desktop.
OSStatus unregisterEventHotKey(EventHotKeyRef hotKey);

// Installs `handler` on the target for the given event types.
OSStatus installEventHandler(EventTargetRef target, EventHandlerProcPtr handler,
                             std::span<const EventTypeSpec> eventTypes, void* userData,
                             EventHandlerRef* outRef);

// Reads the event's parameter `name` as `desiredType`; only the direct object as a hot-key identity is
// known. eventParameterNotFoundErr when the event has none, paramErr for other requests or no event.
OSStatus getEventParameter(EventRef event, OSType name, OSType desiredType, EventHotKeyID* outValue);
OSType getEventClass(EventRef event);
std::uint32_t getEventKind(EventRef event);

// The system's symbolic hot keys (an array of dictionaries, the caller's copy). eventInternalErr and
// nothing when they cannot be read or no desktop is installed.
OSStatus copySymbolicHotKeys(std::optional<foundation::PlistValue>* outHotKeys);

}  // namespace carbon
