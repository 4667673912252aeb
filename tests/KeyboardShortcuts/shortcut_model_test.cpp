// The shortcut value: key codes, modifier conversions, the stored JSON form, texts and key equivalents.
#include <gtest/gtest.h>

#include <thread>
#include <unordered_set>

#include "KeyboardShortcuts/key.h"
#include "KeyboardShortcuts/shortcut.h"
#include "platform/carbon/keyboard_layout.h"
#include "platform/foundation/json_text.h"

namespace {

using appkit::ModifierFlags;
using KeyboardShortcuts::Key;
using KeyboardShortcuts::Shortcut;

constexpr std::int64_t kControl = 0x1000, kOption = 0x800, kShift = 0x200, kCommand = 0x100;

TEST(Key, NamedKeysCarryTheirVirtualKeyCodes) {
  struct Case {
    Key key;
    std::int64_t code;
  };
  const Case cases[] = {
      {Key::a, 0},           {Key::z, 6},
      {Key::zero, 29},       {Key::nine, 25},
      {Key::capsLock, 57},   {Key::rightShift, 60},
      {Key::return_, 36},    {Key::space, 49},
      {Key::tab, 48},        {Key::pageUp, 116},
      {Key::leftArrow, 123}, {Key::escape, 53},
      {Key::delete_, 51},    {Key::deleteForward, 117},
      {Key::help, 114},      {Key::volumeDown, 73},
      {Key::f1, 122},        {Key::f17, 64},
      {Key::f20, 90},        {Key::keypad0, 82},
      {Key::keypadPlus, 69},
  };
  for (const auto& c : cases) EXPECT_EQ(c.key.rawValue, c.code);
  EXPECT_EQ(Key::allNamed.size(), 113u);
  EXPECT_EQ(Key::allNamed.front(), Key::a);
  EXPECT_EQ(Key::allNamed.back(), Key::keypadPlus);
  EXPECT_EQ(Key(12345).rawValue, 12345);  // any integer can be wrapped
  std::unordered_set<Key> distinct(Key::allNamed.begin(), Key::allNamed.end());
  EXPECT_EQ(distinct.size(), 113u);  // no two named keys share a code
}

TEST(ModifierConversion, KeepsOnlyControlOptionShiftAndCommand) {
  struct Case {
    ModifierFlags flags;
    std::int64_t carbon;
  };
  const Case cases[] = {
      {ModifierFlags::control, kControl},
      {ModifierFlags::option, kOption},
      {ModifierFlags::shift, kShift},
      {ModifierFlags::command, kCommand},
      {ModifierFlags::control | ModifierFlags::option | ModifierFlags::shift | ModifierFlags::command,
       0x1b00},
      {ModifierFlags::capsLock | ModifierFlags::function | ModifierFlags::numericPad | ModifierFlags::help,
       0},
      {ModifierFlags{0x1234} | ModifierFlags::command, kCommand},  // device-dependent bits dropped
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags.rawValue);
    EXPECT_EQ(KeyboardShortcuts::toCarbonModifiers(c.flags), c.carbon);
  }
  EXPECT_EQ(KeyboardShortcuts::toModifierFlags(kControl | kShift | 0x400 | 0x2000),
            ModifierFlags::control | ModifierFlags::shift);
  EXPECT_EQ(KeyboardShortcuts::toModifierFlags(0x1b00),
            ModifierFlags::control | ModifierFlags::option | ModifierFlags::shift | ModifierFlags::command);
}

TEST(Shortcut, ConstructorsDropUnknownModifierBits) {
  EXPECT_EQ(Shortcut(0, 0x1300).carbonModifiers, 0x1300);
  EXPECT_EQ(Shortcut(0, 0x1300 | 0x2000 | 0x400).carbonModifiers, 0x1300);  // right Shift, Caps Lock
  EXPECT_EQ(Shortcut(-5, 0).carbonKeyCode, -5);                             // the key code is kept as it is
  const Shortcut fromKey(Key::k, ModifierFlags::command | ModifierFlags::shift | ModifierFlags::capsLock);
  EXPECT_EQ(fromKey, Shortcut(40, kCommand | kShift));
  EXPECT_EQ(fromKey.key(), Key::k);
  EXPECT_EQ(fromKey.modifiers(), ModifierFlags::command | ModifierFlags::shift);
}

TEST(Shortcut, ComesOnlyFromKeyEvents) {
  using appkit::Event;
  using appkit::EventType;
  const auto down =
      Event::keyEvent(EventType::keyDown, 40, ModifierFlags::command | ModifierFlags::shift, "K");
  EXPECT_EQ(Shortcut::fromEvent(down), Shortcut(40, kCommand | kShift));
  const auto up = Event::keyEvent(EventType::keyUp, 40, ModifierFlags::command);
  EXPECT_EQ(Shortcut::fromEvent(up), Shortcut(40, kCommand));
  const auto withCapsLock = Event::keyEvent(
      EventType::keyDown, 40,
      ModifierFlags::command | ModifierFlags::shift | ModifierFlags::capsLock | ModifierFlags::function);
  EXPECT_EQ(Shortcut::fromEvent(withCapsLock), Shortcut::fromEvent(down));
  EXPECT_FALSE(Shortcut::fromEvent(Event::keyEvent(EventType::flagsChanged, 56, ModifierFlags::shift)));
  EXPECT_FALSE(Shortcut::fromEvent(Event::mouseEvent(EventType::leftMouseDown, {3, 4})));
}

TEST(Shortcut, EqualityAndHashUseBothFields) {
  const Shortcut a(0, kCommand);
  const Shortcut b(0, kCommand | kShift);
  EXPECT_NE(a, b);
  EXPECT_NE(a, Shortcut(1, kCommand));
  std::unordered_set<Shortcut> set{a, b, Shortcut(0, kCommand)};
  EXPECT_EQ(set.size(), 2u);
}

TEST(ShortcutJson, WritesKeyCodeFirstWithoutSpaces) {
  EXPECT_EQ(KeyboardShortcuts::jsonText(Shortcut(0, kCommand | kShift)),
            R"({"carbonKeyCode":0,"carbonModifiers":768})");
}

TEST(ShortcutJson, ReadsTheStoredForm) {
  struct Case {
    std::string text;
    std::optional<Shortcut> shortcut;
  };
  const Case cases[] = {
      {R"({"carbonKeyCode":0,"carbonModifiers":768})", Shortcut(0, 768)},
      {R"({"carbonModifiers":256,"carbonKeyCode":40})", Shortcut(40, 256)},              // any order
      {R"({"carbonKeyCode":40,"carbonModifiers":256,"extra":"x"})", Shortcut(40, 256)},  // third member
      {R"({"carbonKeyCode":40,"carbonModifiers":9216})",
       Shortcut::withStoredValues(40, 9216)},  // not normalised
      {R"({"carbonKeyCode":40})", std::nullopt},
      {R"({"carbonKeyCode":40,"carbonModifiers":"256"})", std::nullopt},
      {R"({"carbonKeyCode":40.5,"carbonModifiers":256})", std::nullopt},
      {R"({"carbonKeyCode":null,"carbonModifiers":256})", std::nullopt},
      {R"([40,256])", std::nullopt},
      {"not json", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(KeyboardShortcuts::shortcutFromJsonText(c.text), c.shortcut);
  }
  EXPECT_EQ(KeyboardShortcuts::shortcutFromJsonText(R"({"carbonKeyCode":40,"carbonModifiers":9216})")
                ->carbonModifiers,
            9216);
}

TEST(ShortcutJson, RoundTrips) {
  for (const auto& shortcut : {Shortcut(0, 0), Shortcut(49, 0x1800), Shortcut(122, 0x1b00),
                               Shortcut::withStoredValues(-1, 0x10000)}) {
    EXPECT_EQ(KeyboardShortcuts::shortcutFromJsonText(KeyboardShortcuts::jsonText(shortcut)), shortcut);
  }
}

TEST(ModifierSymbols, FollowControlOptionShiftCommandFunction) {
  struct Case {
    ModifierFlags flags;
    std::string symbols;
  };
  const Case cases[] = {
      {{}, ""},
      {ModifierFlags::function, "\U0001F310\uFE0E"},
      {ModifierFlags::shift | ModifierFlags::control, "⌃⇧"},
      {ModifierFlags::command | ModifierFlags::option, "⌥⌘"},
      {ModifierFlags::command | ModifierFlags::shift | ModifierFlags::option | ModifierFlags::control,
       "⌃⌥⇧⌘"},
      {ModifierFlags::function | ModifierFlags::command, "⌘\U0001F310\uFE0E"},
      {ModifierFlags::capsLock, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.symbols);
    EXPECT_EQ(KeyboardShortcuts::modifierSymbols(c.flags), c.symbols);
  }
}

TEST(KeyGlyph, TableKeysThenTheKeyboardLayout) {
  struct Case {
    std::int64_t keyCode;
    std::optional<std::string> glyph;
  };
  const Case cases[] = {
      {36, "↩"},
      {51, "⌫"},
      {117, "⌦"},
      {119, "↘"},
      {53, "⎋"},
      {114, "?\u20DD"},
      {115, "↖"},
      {49, "⎵"},
      {48, "⇥"},
      {116, "⇞"},
      {121, "⇟"},
      {126, "↑"},
      {124, "→"},
      {125, "↓"},
      {123, "←"},
      {122, "F1"},
      {120, "F2"},
      {111, "F12"},
      {64, "F17"},
      {90, "F20"},
      {0, "a"},
      {40, "k"},
      {18, "1"},
      {27, "-"},
      {50, "`"},
      {82, "0"},
      {67, "*"},
      {56, std::nullopt},  // Shift: the layout has no character for it
      {-1, std::nullopt},  // outside 0 to 65535
      {65536, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keyCode);
    EXPECT_EQ(KeyboardShortcuts::keyGlyph(c.keyCode), c.glyph);
  }
}

TEST(KeyGlyph, WithoutLayoutOnlyTheTableKnowsKeys) {
  {
    carbon::ScopedKeyboardLayout noLayout(nullptr);
    EXPECT_EQ(KeyboardShortcuts::keyGlyph(0), std::nullopt);
    EXPECT_EQ(KeyboardShortcuts::keyGlyph(36), "↩");
    EXPECT_EQ(Shortcut(0, kCommand).description(), "⌘\uFFFD");
    EXPECT_EQ(Shortcut(0, kCommand).menuKeyEquivalent(), "");
  }
  {
    carbon::ScopedKeyboardLayout noData(
        std::make_shared<carbon::InputSource>(carbon::InputSource{"empty", nullptr}));
    EXPECT_EQ(KeyboardShortcuts::keyGlyph(0), std::nullopt);
  }
  EXPECT_EQ(KeyboardShortcuts::keyGlyph(0), "a");  // the US layout is back
}

TEST(ShortcutDescription, ShowsSymbolsThenTheUpperCaseGlyph) {
  struct Case {
    Shortcut shortcut;
    std::string description;
  };
  const Case cases[] = {
      {Shortcut(36, kCommand), "⌘↩"},
      {Shortcut(122, 0), "F1"},
      {Shortcut(114, 0), "?\u20DD"},
      {Shortcut(0, kCommand | kShift), "⇧⌘A"},
      {Shortcut(49, kControl | kOption), "⌃⌥⎵"},
      {Shortcut(96, 0), "F5"},
      {Shortcut(40, kControl | kOption | kShift | kCommand), "⌃⌥⇧⌘K"},
      {Shortcut(70000, kCommand), "⌘\uFFFD"},
      {Shortcut(56, 0), "\uFFFD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.description);
    EXPECT_EQ(c.shortcut.description(), c.description);
  }
}

TEST(MenuKeyEquivalent, IsOneCharacterOrEmpty) {
  struct Case {
    Shortcut shortcut;
    std::string equivalent;
  };
  const Case cases[] = {
      {Shortcut(49, kCommand), " "},
      {Shortcut(122, 0), "\uF704"},           // F1
      {Shortcut(96, 0), "\uF708"},            // F5
      {Shortcut(111, kCommand), "\uF70F"},    // F12
      {Shortcut(90, 0), "\uF717"},            // F20
      {Shortcut(36, kCommand), "↩"},          // Return: its glyph
      {Shortcut(0, kCommand | kShift), "a"},  // the layout's case
      {Shortcut(114, 0), "?\u20DD"},          // one character of two scalars
      {Shortcut(56, 0), ""},                  // no glyph
      {Shortcut(-3, kCommand), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shortcut.carbonKeyCode);
    EXPECT_EQ(c.shortcut.menuKeyEquivalent(), c.equivalent);
  }
}

TEST(FunctionKeys, AreF1ThroughF35) {
  const auto& keys = KeyboardShortcuts::functionKeys();
  EXPECT_EQ(keys.size(), 35u);
  EXPECT_TRUE(keys.contains(appkit::SpecialKey{0xF704}));
  EXPECT_TRUE(keys.contains(appkit::SpecialKey{0xF726}));
  EXPECT_FALSE(keys.contains(appkit::SpecialKey{0xF703}));
  EXPECT_FALSE(keys.contains(appkit::SpecialKey{0xF727}));
  EXPECT_FALSE(keys.contains(appkit::SpecialKey::tab));
}

TEST(ShortcutTables, AreBuiltSafelyFromTwoThreads) {
  std::string fromOther;
  std::thread other(
      [&] { fromOther = Shortcut(122, kCommand).description() + Shortcut(49, 0).menuKeyEquivalent(); });
  const auto here = Shortcut(122, kCommand).description() + Shortcut(49, 0).menuKeyEquivalent();
  other.join();
  EXPECT_EQ(here, fromOther);
  EXPECT_EQ(here, "⌘F1 ");
}

}  // namespace
