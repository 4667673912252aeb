// Keys and modifiers of an X11 keyboard in the platform's terms: one table of each, used by the windows
// of this program and by global hot keys alike.
#pragma once

#include <gdk/gdk.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/appkit/event.h"

namespace desktop::x11 {

// The platform's virtual key code of an X key code (a Linux input code plus 8), by the key's place on
// the keyboard, as the platform numbers the places of an ANSI keyboard; nothing for a key without one.
std::optional<std::uint16_t> virtualKeyCode(std::uint32_t xKeyCode);
// The X key code of the key at a virtual key code's place; nothing for a code with no such key.
std::optional<std::uint32_t> xKeyCode(std::uint16_t virtualKeyCode);

// Modifiers of this program's own events. Key equivalents written with the command key (quit, copy,
// paste, the window shortcuts) answer to Ctrl, as on every Linux desktop: Ctrl is command, Alt is
// option, Super is control.
appkit::ModifierFlags applicationModifiers(GdkModifierType state);

// Modifiers of global hot keys: exactly the keys the person recorded, command as Super, option as Alt,
// control as Ctrl.
GdkModifierType hotKeyModifiers(appkit::ModifierFlags flags);
appkit::ModifierFlags hotKeyModifierFlags(GdkModifierType state);

// The text a key press types when no input method takes it: the key's character (the platform's
// special-key character for arrows, function keys, Return, ...); empty for a key that types nothing.
std::string charactersOfKey(guint keyval);

}  // namespace desktop::x11
