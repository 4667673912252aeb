// One key combination in the form the system's hot-key service takes (a virtual key code and Carbon
// modifier bits), with its conversions to and from the application kit's modifier flags, its text for
// people and its key equivalent for menus.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "KeyboardShortcuts/key.h"
#include "platform/appkit/event.h"          // Event, ModifierFlags, SpecialKey
#include "platform/foundation/json_text.h"  // Json: the stored form

namespace KeyboardShortcuts {

// The four Carbon modifier bits a shortcut keeps.
inline constexpr std::int64_t kCarbonControl = 0x1000;
inline constexpr std::int64_t kCarbonOption = 0x800;
inline constexpr std::int64_t kCarbonShift = 0x200;
inline constexpr std::int64_t kCarbonCommand = 0x100;

// The Carbon bits of Control, Option, Shift and Command among the flags; every other flag is dropped.
std::int64_t toCarbonModifiers(appkit::ModifierFlags flags);
// The application kit's flags of the four Carbon bits that are set; every other bit is dropped.
appkit::ModifierFlags toModifierFlags(std::int64_t carbonModifiers);

// The symbols of the flags that are set, always in the order Control, Option, Shift, Command, Function
// (⌃⌥⇧⌘, then 🌐 with the text-presentation selector).
std::string modifierSymbols(appkit::ModifierFlags flags);

// What a key shows on the current keyboard: a fixed glyph for Return, Delete, the arrows, F1 to F20 and
// the other keys without a character, else the current layout's character; nothing when neither knows it.
std::optional<std::string> keyGlyph(std::int64_t keyCode);

// The special keys F1 to F35.
const std::set<appkit::SpecialKey>& functionKeys();

struct Shortcut {
  std::int64_t carbonKeyCode = 0;
  std::int64_t carbonModifiers = 0;

  // Keeps the key code and only the four known modifier bits.
  Shortcut(std::int64_t carbonKeyCode, std::int64_t carbonModifiers);
  Shortcut(Key key, appkit::ModifierFlags modifiers);
  // The combination of a key-down or key-up event; nothing for other events. Caps Lock, Function and
  // numeric-pad flags never reach a shortcut.
  static std::optional<Shortcut> fromEvent(const appkit::Event& event);
  // Both values exactly as given, as the stored form holds them (no modifier bits dropped).
  static Shortcut withStoredValues(std::int64_t carbonKeyCode, std::int64_t carbonModifiers);

  Key key() const { return Key(carbonKeyCode); }
  appkit::ModifierFlags modifiers() const { return toModifierFlags(carbonModifiers); }
  // The recorder's text: the modifier symbols, then the key's glyph in upper case ("�" without one).
  std::string description() const;
  // The key equivalent for a menu item showing this combination (modifiers apart); empty when the key has
  // no single-character glyph.
  std::string menuKeyEquivalent() const;

  bool operator==(const Shortcut&) const = default;

 private:
  struct Raw {};
  Shortcut(Raw, std::int64_t carbonKeyCode, std::int64_t carbonModifiers)
      : carbonKeyCode(carbonKeyCode), carbonModifiers(carbonModifiers) {}
};

// The stored form: {"carbonKeyCode":…,"carbonModifiers":…}. Reading needs both members as integers
// (TextError otherwise), ignores other members and keeps the values as they stand.
void to_json(foundation::Json& json, const Shortcut& shortcut);
Shortcut shortcutFromJson(const foundation::Json& json);
std::string jsonText(const Shortcut& shortcut);
// The shortcut of a stored text, or nothing when it is not the stored form.
std::optional<Shortcut> shortcutFromJsonText(std::string_view text);

}  // namespace KeyboardShortcuts

template <>
struct std::hash<KeyboardShortcuts::Shortcut> {
  std::size_t operator()(const KeyboardShortcuts::Shortcut& shortcut) const noexcept;
};
