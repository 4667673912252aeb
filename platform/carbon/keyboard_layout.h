// Keyboard layouts and key translation, in the shape of the system's text-input-source interface: the
// current ASCII-capable layout, its key-layout data, and the translation of a key code into the text the
// key shows. The layout is the current desktop's (the headless desktop's US table unless a test sets
// another).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/carbon/hot_key_service.h"  // OSStatus
#include "platform/desktop/keyboard_layout.h"

namespace carbon {

inline constexpr std::uint16_t kUCKeyActionDown = 0;
inline constexpr std::uint16_t kUCKeyActionUp = 1;
inline constexpr std::uint16_t kUCKeyActionAutoKey = 2;
inline constexpr std::uint16_t kUCKeyActionDisplay = 3;
// The translation of a key code the layout has no key for.
inline constexpr OSStatus kUCKeyTranslateUnknownKeyErr = -25340;

// The key-layout data of a keyboard layout: for each virtual key code, the character it gives alone and
// with Shift. KeyLayoutData::unitedStates() is the US (ANSI) layout.
using KeyLayoutData = desktop::KeyLayout;

// A keyboard-layout input source. Its layout data may be missing.
struct InputSource {
  std::string identifier;
  std::shared_ptr<const KeyLayoutData> unicodeKeyLayoutData;
};

// The current ASCII-capable keyboard layout, or null when there is none: the one a test installed with
// ScopedKeyboardLayout, else the current desktop's, else (no desktop) the US layout the key codes are
// numbered after. Thread-safe (one mutex guards the installed source).
std::shared_ptr<const InputSource> copyCurrentASCIICapableKeyboardLayoutInputSource();

// For tests: makes `source` (null: none) the current layout while the scope lives, whatever the desktop
// says; scopes nest.
class ScopedKeyboardLayout {
 public:
  explicit ScopedKeyboardLayout(std::shared_ptr<const InputSource> source);
  ~ScopedKeyboardLayout();
  ScopedKeyboardLayout(const ScopedKeyboardLayout&) = delete;
  ScopedKeyboardLayout& operator=(const ScopedKeyboardLayout&) = delete;

 private:
  std::optional<std::shared_ptr<const InputSource>> previous_;
};

// The physical keyboard's type, as the layout data's translation takes it.
std::uint8_t keyboardType();

// Translates a key code with a modifier-key state (Carbon modifier bits shifted right by 8) into at most
// `maxStringLength` UTF-16 units written to `unicodeString`, their count to `actualStringLength`. The
// dead-key state is read and reset (this layout has no dead keys). kUCKeyTranslateUnknownKeyErr for a key
// the layout does not have; paramErr for a missing output or an unknown action.
OSStatus keyTranslate(const KeyLayoutData& layout, std::uint16_t virtualKeyCode, std::uint16_t keyAction,
                      std::uint32_t modifierKeyState, std::uint32_t keyboardType,
                      std::uint32_t keyTranslateOptions, std::uint32_t* deadKeyState,
                      std::size_t maxStringLength, std::size_t* actualStringLength, char16_t* unicodeString);

}  // namespace carbon
