// Input events as the application kit hands them to the application: type, key code, modifier flags,
// characters and location, with the platform's raw numbers kept as data.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/desktop/input_event.h"  // desktop::InputEvent, the desktop's form of an event
#include "platform/foundation/geometry.h"  // Point

namespace appkit {

// The kind of an event, with the platform's raw values.
enum class EventType : std::uint32_t {
  leftMouseDown = 1,
  leftMouseUp = 2,
  rightMouseDown = 3,
  rightMouseUp = 4,
  mouseMoved = 5,
  leftMouseDragged = 6,
  rightMouseDragged = 7,
  mouseEntered = 8,
  mouseExited = 9,
  keyDown = 10,
  keyUp = 11,
  flagsChanged = 12,
  scrollWheel = 22,
  otherMouseDown = 25,
  otherMouseUp = 26,
  otherMouseDragged = 27,
};

constexpr std::uint32_t rawValue(EventType type) { return static_cast<std::uint32_t>(type); }

// The name of an event type as written in code ("keyDown", "leftMouseUp", ...).
std::string_view eventTypeName(EventType type);
// The event type of a name; also accepts "mouseDown", "mouseUp" and "mouseDragged" for the left button.
std::optional<EventType> eventTypeFromName(std::string_view name);

// A set of event types as the platform's bit mask: bit n stands for the type with raw value n.
struct EventTypeMask {
  std::uint64_t rawValue = 0;

  static constexpr EventTypeMask of(EventType type) { return {std::uint64_t{1} << appkit::rawValue(type)}; }
  constexpr bool contains(EventType type) const { return (rawValue & of(type).rawValue) != 0; }
  constexpr EventTypeMask operator|(EventTypeMask other) const { return {rawValue | other.rawValue}; }
  bool operator==(const EventTypeMask&) const = default;
};

// Modifier-key flags with the platform's bits. The device-independent flags live in bits 16 to 31; the
// lower bits are device-dependent (which of the two Shift keys, ...).
struct ModifierFlags {
  std::uint64_t rawValue = 0;

  static const ModifierFlags capsLock;
  static const ModifierFlags shift;
  static const ModifierFlags control;
  static const ModifierFlags option;
  static const ModifierFlags command;
  static const ModifierFlags numericPad;
  static const ModifierFlags help;
  static const ModifierFlags function;
  static const ModifierFlags deviceIndependentFlagsMask;

  constexpr bool contains(ModifierFlags other) const { return (rawValue & other.rawValue) == other.rawValue; }
  constexpr bool isEmpty() const { return rawValue == 0; }
  constexpr ModifierFlags operator|(ModifierFlags other) const { return {rawValue | other.rawValue}; }
  constexpr ModifierFlags operator&(ModifierFlags other) const { return {rawValue & other.rawValue}; }
  constexpr ModifierFlags subtracting(ModifierFlags other) const { return {rawValue & ~other.rawValue}; }
  constexpr ModifierFlags& operator|=(ModifierFlags other) {
    rawValue |= other.rawValue;
    return *this;
  }
  bool operator==(const ModifierFlags&) const = default;
};

inline constexpr ModifierFlags ModifierFlags::capsLock{1u << 16};
inline constexpr ModifierFlags ModifierFlags::shift{1u << 17};
inline constexpr ModifierFlags ModifierFlags::control{1u << 18};
inline constexpr ModifierFlags ModifierFlags::option{1u << 19};
inline constexpr ModifierFlags ModifierFlags::command{1u << 20};
inline constexpr ModifierFlags ModifierFlags::numericPad{1u << 21};
inline constexpr ModifierFlags ModifierFlags::help{1u << 22};
inline constexpr ModifierFlags ModifierFlags::function{1u << 23};
inline constexpr ModifierFlags ModifierFlags::deviceIndependentFlagsMask{0xffff0000u};

// A key that types no printable character, named by the character code the platform gives it: the
// function keys F1 to F35 are U+F704 to U+F726, the others are control characters or private-use codes.
struct SpecialKey {
  char32_t rawValue = 0;

  static const SpecialKey enter;
  static const SpecialKey backspace;
  static const SpecialKey tab;
  static const SpecialKey newline;
  static const SpecialKey carriageReturn;
  static const SpecialKey backTab;
  static const SpecialKey delete_;
  static const SpecialKey upArrow;
  static const SpecialKey downArrow;
  static const SpecialKey leftArrow;
  static const SpecialKey rightArrow;
  static const SpecialKey deleteForward;
  static const SpecialKey home;
  static const SpecialKey end;
  static const SpecialKey pageUp;
  static const SpecialKey pageDown;
  static const SpecialKey help;

  // The function key F`number` (1 to 35).
  static constexpr SpecialKey functionKey(int number) { return {static_cast<char32_t>(0xF703 + number)}; }
  static constexpr char32_t kFirstFunctionKey = 0xF704;  // F1
  static constexpr char32_t kLastFunctionKey = 0xF726;   // F35

  // The special key a character stands for, or nothing for an ordinary character.
  static std::optional<SpecialKey> fromCharacter(char32_t character);

  // The key's character as UTF-8 text.
  std::string characters() const;

  auto operator<=>(const SpecialKey&) const = default;
};

inline constexpr SpecialKey SpecialKey::enter{0x03};
inline constexpr SpecialKey SpecialKey::backspace{0x08};
inline constexpr SpecialKey SpecialKey::tab{0x09};
inline constexpr SpecialKey SpecialKey::newline{0x0A};
inline constexpr SpecialKey SpecialKey::carriageReturn{0x0D};
inline constexpr SpecialKey SpecialKey::backTab{0x19};
inline constexpr SpecialKey SpecialKey::delete_{0x7F};
inline constexpr SpecialKey SpecialKey::upArrow{0xF700};
inline constexpr SpecialKey SpecialKey::downArrow{0xF701};
inline constexpr SpecialKey SpecialKey::leftArrow{0xF702};
inline constexpr SpecialKey SpecialKey::rightArrow{0xF703};
inline constexpr SpecialKey SpecialKey::deleteForward{0xF728};
inline constexpr SpecialKey SpecialKey::home{0xF729};
inline constexpr SpecialKey SpecialKey::end{0xF72B};
inline constexpr SpecialKey SpecialKey::pageUp{0xF72C};
inline constexpr SpecialKey SpecialKey::pageDown{0xF72D};
inline constexpr SpecialKey SpecialKey::help{0xF746};

// One input event. A plain value: the application kit's event objects are immutable once made.
class Event {
 public:
  // A key event (keyDown, keyUp or flagsChanged). `charactersIgnoringModifiers` defaults to
  // `characters`.
  static Event keyEvent(EventType type, std::uint16_t keyCode, ModifierFlags modifierFlags,
                        std::string characters = {},
                        std::optional<std::string> charactersIgnoringModifiers = std::nullopt);
  // A pointer event at a location in its window's coordinates (screen coordinates without a window).
  static Event mouseEvent(EventType type, foundation::Point locationInWindow,
                          ModifierFlags modifierFlags = {}, int windowNumber = 0);
  // The event of the desktop's input stream, or nothing when its kind is not one of EventType's.
  static std::optional<Event> fromInputEvent(const desktop::InputEvent& event);

  EventType type() const { return type_; }
  // The virtual key code (the platform's numbers); 0 for events that are not key events.
  std::uint16_t keyCode() const { return keyCode_; }
  ModifierFlags modifierFlags() const { return modifierFlags_; }
  // The text the key types (UTF-8), and the text it would type without modifiers other than Shift.
  const std::string& characters() const { return characters_; }
  const std::string& charactersIgnoringModifiers() const { return charactersIgnoringModifiers_; }
  // The special key this key event is, read from its characters ignoring modifiers; nothing for an
  // ordinary key and for events that are not key events.
  std::optional<SpecialKey> specialKey() const;
  foundation::Point locationInWindow() const { return locationInWindow_; }
  // The window the event belongs to (0: none).
  int windowNumber() const { return windowNumber_; }

  bool isKeyEvent() const;

  bool operator==(const Event&) const = default;

 private:
  Event() = default;
  EventType type_ = EventType::keyDown;
  std::uint16_t keyCode_ = 0;
  ModifierFlags modifierFlags_;
  std::string characters_;
  std::string charactersIgnoringModifiers_;
  foundation::Point locationInWindow_;
  int windowNumber_ = 0;
};

}  // namespace appkit
