#include "KeyboardShortcuts/shortcut.h"

#include <array>
#include <map>
#include <utility>

#include "platform/carbon/keyboard_layout.h"  // the current layout and key translation
#include "platform/foundation/text_error.h"
#include "platform/foundation/unicode.h"  // uppercased, graphemeCount
#include "platform/foundation/utf16.h"    // toUtf8, utf8

namespace KeyboardShortcuts {
namespace {

struct ModifierPair {
  std::int64_t carbon;
  appkit::ModifierFlags flags;
};

constexpr std::array<ModifierPair, 4> kModifierPairs{{
    {kCarbonControl, appkit::ModifierFlags::control},
    {kCarbonOption, appkit::ModifierFlags::option},
    {kCarbonShift, appkit::ModifierFlags::shift},
    {kCarbonCommand, appkit::ModifierFlags::command},
}};

// Key codes of F1 to F20, in order.
constexpr std::array<std::int64_t, 20> kFunctionKeyCodes{122, 120, 99,  118, 96,  97,  98, 100, 101, 109,
                                                         103, 111, 105, 107, 113, 106, 64, 79,  80,  90};

// Built once, on first use (safe when that happens on two threads at once); read-only afterwards.
const std::map<std::int64_t, std::string>& keyGlyphTable() {
  static const std::map<std::int64_t, std::string> table = [] {
    std::map<std::int64_t, std::string> glyphs{
        {36, "\u21A9"},    // Return
        {51, "\u232B"},    // Delete
        {117, "\u2326"},   // Forward Delete
        {119, "\u2198"},   // End
        {53, "\u238B"},    // Escape
        {114, "?\u20DD"},  // Help
        {115, "\u2196"},   // Home
        {49, "\u23B5"},    // Space
        {48, "\u21E5"},    // Tab
        {116, "\u21DE"},   // Page Up
        {121, "\u21DF"},   // Page Down
        {126, "\u2191"},   // Up Arrow
        {124, "\u2192"},   // Right Arrow
        {125, "\u2193"},   // Down Arrow
        {123, "\u2190"},   // Left Arrow
    };
    for (std::size_t i = 0; i < kFunctionKeyCodes.size(); ++i) {
      glyphs.emplace(kFunctionKeyCodes[i], "F" + std::to_string(i + 1));
    }
    return glyphs;
  }();
  return table;
}

const std::map<std::int64_t, std::string>& keyEquivalentTable() {
  static const std::map<std::int64_t, std::string> table = [] {
    std::map<std::int64_t, std::string> equivalents{{49, foundation::utf8(U' ')}};
    for (std::size_t i = 0; i < kFunctionKeyCodes.size(); ++i) {
      equivalents.emplace(kFunctionKeyCodes[i], foundation::utf8(static_cast<char32_t>(0xF704 + i)));
    }
    return equivalents;
  }();
  return table;
}

}  // namespace

std::int64_t toCarbonModifiers(appkit::ModifierFlags flags) {
  std::int64_t carbon = 0;
  for (const auto& pair : kModifierPairs) {
    if (flags.contains(pair.flags)) carbon |= pair.carbon;
  }
  return carbon;
}

appkit::ModifierFlags toModifierFlags(std::int64_t carbonModifiers) {
  appkit::ModifierFlags flags;
  for (const auto& pair : kModifierPairs) {
    if ((carbonModifiers & pair.carbon) != 0) flags |= pair.flags;
  }
  return flags;
}

std::string modifierSymbols(appkit::ModifierFlags flags) {
  std::string symbols;
  if (flags.contains(appkit::ModifierFlags::control)) symbols += "\u2303";
  if (flags.contains(appkit::ModifierFlags::option)) symbols += "\u2325";
  if (flags.contains(appkit::ModifierFlags::shift)) symbols += "\u21E7";
  if (flags.contains(appkit::ModifierFlags::command)) symbols += "\u2318";
  if (flags.contains(appkit::ModifierFlags::function)) symbols += "\U0001F310\uFE0E";
  return symbols;
}

std::optional<std::string> keyGlyph(std::int64_t keyCode) {
  const auto& table = keyGlyphTable();
  if (const auto found = table.find(keyCode); found != table.end()) return found->second;
  if (keyCode < 0 || keyCode > 0xFFFF) return std::nullopt;
  // The layout is read afresh each time: the user may switch layouts at any moment.
  const auto source = carbon::copyCurrentASCIICapableKeyboardLayoutInputSource();
  if (!source || !source->unicodeKeyLayoutData) return std::nullopt;
  std::uint32_t deadKeyState = 0;
  std::array<char16_t, 4> buffer{};
  std::size_t length = 0;
  const auto status = carbon::keyTranslate(*source->unicodeKeyLayoutData, static_cast<std::uint16_t>(keyCode),
                                           carbon::kUCKeyActionDisplay, 0, carbon::keyboardType(), 0,
                                           &deadKeyState, buffer.size(), &length, buffer.data());
  if (status != carbon::noErr) return std::nullopt;
  return foundation::toUtf8(std::u16string_view(buffer.data(), std::min(length, buffer.size())));
}

const std::set<appkit::SpecialKey>& functionKeys() {
  static const std::set<appkit::SpecialKey> keys = [] {
    std::set<appkit::SpecialKey> all;
    for (int number = 1; number <= 35; ++number) all.insert(appkit::SpecialKey::functionKey(number));
    return all;
  }();
  return keys;
}

Shortcut::Shortcut(std::int64_t carbonKeyCode, std::int64_t carbonModifiers)
    : carbonKeyCode(carbonKeyCode), carbonModifiers(toCarbonModifiers(toModifierFlags(carbonModifiers))) {}

Shortcut::Shortcut(Key key, appkit::ModifierFlags modifiers)
    : Shortcut(key.rawValue, toCarbonModifiers(modifiers)) {}

std::optional<Shortcut> Shortcut::fromEvent(const appkit::Event& event) {
  if (event.type() != appkit::EventType::keyDown && event.type() != appkit::EventType::keyUp) {
    return std::nullopt;
  }
  return Shortcut(event.keyCode(), toCarbonModifiers(event.modifierFlags()));
}

Shortcut Shortcut::withStoredValues(std::int64_t carbonKeyCode, std::int64_t carbonModifiers) {
  return Shortcut(Raw{}, carbonKeyCode, carbonModifiers);
}

std::string Shortcut::description() const {
  const auto glyph = keyGlyph(carbonKeyCode);
  return modifierSymbols(toModifierFlags(carbonModifiers)) +
         (glyph ? foundation::uppercased(*glyph) : std::string("\uFFFD"));
}

std::string Shortcut::menuKeyEquivalent() const {
  const auto& table = keyEquivalentTable();
  if (const auto found = table.find(carbonKeyCode); found != table.end()) return found->second;
  const auto glyph = keyGlyph(carbonKeyCode);
  if (!glyph) return {};
  // A menu shows one character; a longer glyph (a key name) cannot be a key equivalent.
  if (foundation::graphemeCount(*glyph) <= 1) return *glyph;
  return {};
}

void to_json(foundation::Json& json, const Shortcut& shortcut) {
  json = foundation::Json::object();
  json["carbonKeyCode"] = shortcut.carbonKeyCode;
  json["carbonModifiers"] = shortcut.carbonModifiers;
}

Shortcut shortcutFromJson(const foundation::Json& json) {
  return Shortcut::withStoredValues(foundation::requiredInteger(json, "carbonKeyCode"),
                                    foundation::requiredInteger(json, "carbonModifiers"));
}

std::string jsonText(const Shortcut& shortcut) {
  foundation::Json json;
  to_json(json, shortcut);
  return foundation::jsonText(json);
}

std::optional<Shortcut> shortcutFromJsonText(std::string_view text) {
  const auto json = foundation::parseJsonIfValid(text);
  if (!json) return std::nullopt;
  try {
    return shortcutFromJson(*json);
  } catch (const foundation::TextError&) {
    return std::nullopt;
  }
}

}  // namespace KeyboardShortcuts

std::size_t std::hash<KeyboardShortcuts::Shortcut>::operator()(
    const KeyboardShortcuts::Shortcut& shortcut) const noexcept {
  std::size_t seed = std::hash<std::int64_t>{}(shortcut.carbonKeyCode);
  seed ^=
      std::hash<std::int64_t>{}(shortcut.carbonModifiers) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
  return seed;
}
