// The platform's virtual key codes (numbered after the keys of a US keyboard) matched to the physical keys
// of an X keyboard by their XKB key names, and the platform's modifier bits matched to X modifiers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace desktop::x11 {

// The XKB name ("AC01" for the key that types "a" on a US keyboard) of a virtual key code's key; nothing
// for a code no key of a PC keyboard has.
std::optional<std::string_view> xkbKeyName(std::uint16_t virtualKeyCode);
// The virtual key code of a key by its XKB name; nothing for a key without one.
std::optional<std::uint16_t> virtualKeyCode(std::string_view xkbKeyName);

// Hot-key modifier bits, with the platform's numbers.
namespace hot_key_modifier {
inline constexpr std::uint32_t command = 0x100;
inline constexpr std::uint32_t shift = 0x200;
inline constexpr std::uint32_t option = 0x800;
inline constexpr std::uint32_t control = 0x1000;
}  // namespace hot_key_modifier

// The X modifier mask of hot-key modifiers as the person recorded them: command is Super (Mod4), option
// is Alt (Mod1), control is Ctrl, shift is Shift. Nothing when bits outside these four are set.
std::optional<unsigned int> xModifierMask(std::uint32_t hotKeyModifiers);

// Modifier-flag bits of events, with the platform's numbers, from an X modifier state.
std::uint64_t eventModifierFlags(unsigned int xModifierState);

}  // namespace desktop::x11
