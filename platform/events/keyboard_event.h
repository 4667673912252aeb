// Synthetic keyboard events: a key code, key down or up, modifier flags and an optional Unicode string
// that the receiving application inserts instead of the key's own character; posted to one process.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace events {

// Event kinds of keyboard events, with the platform's numbers.
enum class EventType : std::uint32_t { keyDown = 10, keyUp = 11, flagsChanged = 12 };

// Modifier flags, with the platform's bits.
namespace flags {
inline constexpr std::uint64_t maskAlphaShift = 0x10000;
inline constexpr std::uint64_t maskShift = 0x20000;
inline constexpr std::uint64_t maskControl = 0x40000;
inline constexpr std::uint64_t maskAlternate = 0x80000;
inline constexpr std::uint64_t maskCommand = 0x100000;
}  // namespace flags

// Virtual key codes, with the platform's numbers.
using KeyCode = std::uint16_t;
namespace keyCode {
inline constexpr KeyCode a = 0;
inline constexpr KeyCode returnKey = 36;
}  // namespace keyCode

class KeyboardEvent {
 public:
  // A key-down or key-up event of a key, without an event source and with no modifier flags; nothing when
  // the system refuses to make one.
  static std::optional<KeyboardEvent> create(KeyCode keyCode, bool keyDown);

  EventType type() const { return type_; }
  KeyCode keyCode() const { return keyCode_; }
  std::uint64_t flags() const { return flags_; }
  // Replaces the modifier flags.
  void setFlags(std::uint64_t flags) { flags_ = flags; }
  // The string, as UTF-16 code units, that the receiving application inserts.
  const std::u16string& unicodeString() const { return unicodeString_; }
  void setUnicodeString(std::u16string_view units) { unicodeString_ = units; }

  // Delivers the event to one process only: this program's own event monitors never see it. An unknown
  // process drops it silently.
  void postToPid(int processIdentifier) const;

 private:
  KeyboardEvent(EventType type, KeyCode keyCode) : type_(type), keyCode_(keyCode) {}

  EventType type_;
  KeyCode keyCode_;
  std::uint64_t flags_ = 0;
  std::u16string unicodeString_;
};

}  // namespace events
