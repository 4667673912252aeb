// The X keyboard as xkbcommon reads it from the server: which physical key each virtual key code is, and
// what the keys of the layout in use type.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/desktop/keyboard_layout.h"

struct _XDisplay;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace desktop::x11 {

// A snapshot of the keyboard: read again to see a later change of layout.
class KeyboardMap {
 public:
  // Reads the core keyboard's keymap and state over `display` (the caller holds the connection's lock);
  // throws foundation::TextError when the server has no keyboard extension.
  static std::unique_ptr<KeyboardMap> read(_XDisplay* display);
  ~KeyboardMap();
  KeyboardMap(const KeyboardMap&) = delete;
  KeyboardMap& operator=(const KeyboardMap&) = delete;

  // The X key code of a virtual key code's key; nothing when the keyboard has no such key.
  std::optional<unsigned int> keycode(std::uint16_t virtualKeyCode) const;
  // The virtual key code of an X key code; nothing for a key that has none.
  std::optional<std::uint16_t> virtualKeyCode(unsigned int keycode) const;
  // The layout in use, or the keyboard's next one where the layout in use types no ASCII letters (null
  // when none does): its name and, for each virtual key code, what the key types alone and with Shift
  // (keys that type nothing, or a character beyond UTF-16's first plane, are left out).
  std::shared_ptr<const KeyboardLayout> layout() const;

 private:
  KeyboardMap() = default;
  // One layout (XKB group) of the keyboard; null when it types no ASCII letters.
  std::shared_ptr<const KeyboardLayout> layoutOfGroup(unsigned int group) const;
  xkb_context* context_ = nullptr;
  xkb_keymap* keymap_ = nullptr;
  xkb_state* state_ = nullptr;
};

}  // namespace desktop::x11
