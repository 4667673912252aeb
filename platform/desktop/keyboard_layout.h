// A keyboard layout as the desktop describes it: its identifier and what each key types.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace desktop {

// For each virtual key code (the platform's numbers), the character the key types alone and with Shift.
struct KeyLayout {
  struct Key {
    char16_t plain = 0;
    char16_t shifted = 0;
    bool operator==(const Key&) const = default;
  };
  std::map<std::uint16_t, Key> keys;

  // The US (ANSI) layout, after whose keys the virtual key codes are numbered: letters, digits,
  // punctuation, Space and the keypad.
  static const KeyLayout& unitedStates();
};

struct KeyboardLayout {
  std::string identifier;
  // What the keys type; null when the desktop cannot tell.
  std::shared_ptr<const KeyLayout> keys;

  // The US layout, as the desktop names it.
  static std::shared_ptr<const KeyboardLayout> unitedStates();
};

}  // namespace desktop
