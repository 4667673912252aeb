// The application kit's events and menus as the hot-key code reads them.
#include <gtest/gtest.h>

#include "platform/appkit/event.h"
#include "platform/appkit/menu_item.h"

namespace {

using appkit::Event;
using appkit::EventType;
using appkit::ModifierFlags;
using appkit::SpecialKey;

TEST(AppKitEvent, SpecialKeysComeFromTheCharactersIgnoringModifiers) {
  struct Case {
    std::string characters;
    std::optional<SpecialKey> key;
  };
  const Case cases[] = {
      {"\uF704", SpecialKey::functionKey(1)},
      {"\uF708", SpecialKey::functionKey(5)},
      {"\uF726", SpecialKey::functionKey(35)},
      {"\t", SpecialKey::tab},
      {"\x7F", SpecialKey::delete_},
      {"\b", SpecialKey::backspace},
      {"\uF728", SpecialKey::deleteForward},
      {"\uF700", SpecialKey::upArrow},
      {"k", std::nullopt},
      {"", std::nullopt},
      {"\uF704\uF704", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.characters);
    EXPECT_EQ(Event::keyEvent(EventType::keyDown, 0, {}, "x", c.characters).specialKey(), c.key);
  }
  EXPECT_EQ(SpecialKey::functionKey(1).rawValue, 0xF704u);
  EXPECT_EQ(SpecialKey::functionKey(35).rawValue, 0xF726u);
  EXPECT_EQ(SpecialKey::functionKey(5).characters(), "\uF708");
  EXPECT_EQ(Event::mouseEvent(EventType::leftMouseUp, {1, 2}).specialKey(), std::nullopt);
}

TEST(AppKitEvent, KeepsThePlatformsNumbers) {
  EXPECT_EQ(appkit::rawValue(EventType::keyDown), 10u);
  EXPECT_EQ(appkit::rawValue(EventType::keyUp), 11u);
  EXPECT_EQ(appkit::rawValue(EventType::flagsChanged), 12u);
  EXPECT_EQ(
      (appkit::EventTypeMask::of(EventType::keyDown) | appkit::EventTypeMask::of(EventType::leftMouseUp) |
       appkit::EventTypeMask::of(EventType::rightMouseUp))
          .rawValue,
      1044u);
  EXPECT_EQ(ModifierFlags::shift.rawValue, 0x20000u);
  EXPECT_EQ(ModifierFlags::command.rawValue, 0x100000u);
  EXPECT_EQ(ModifierFlags::function.rawValue, 1u << 23);
}

TEST(AppKitEvent, ComesFromTheDesktopsInputEvents) {
  const auto key = Event::fromInputEvent(desktop::InputEvent::key("keyDown", 40, 0x100000, "k"));
  ASSERT_TRUE(key);
  EXPECT_EQ(key->type(), EventType::keyDown);
  EXPECT_EQ(key->keyCode(), 40);
  EXPECT_EQ(key->modifierFlags(), ModifierFlags::command);
  EXPECT_EQ(key->characters(), "k");
  const auto click = Event::fromInputEvent(desktop::InputEvent::pointer("mouseUp", {5, 6}));
  ASSERT_TRUE(click);
  EXPECT_EQ(click->type(), EventType::leftMouseUp);
  EXPECT_EQ(click->locationInWindow(), (foundation::Point{5, 6}));
  EXPECT_FALSE(Event::fromInputEvent(desktop::InputEvent::key("somethingElse", 1)));
}

TEST(AppKitMenu, ItemsStartWithCommandAndAutomaticLocalization) {
  auto menu = std::make_shared<appkit::Menu>("Main");
  auto file = menu->addItem("File");
  file->setSubmenu(std::make_shared<appkit::Menu>("File"));
  auto quit = file->submenu()->addItem("Quit", "q");
  EXPECT_EQ(menu->items().size(), 1u);
  EXPECT_TRUE(file->hasSubmenu());
  EXPECT_EQ(quit->keyEquivalent(), "q");
  EXPECT_EQ(quit->keyEquivalentModifierMask(), ModifierFlags::command);
  EXPECT_TRUE(quit->allowsAutomaticKeyEquivalentLocalization());
  EXPECT_EQ(menu->addItem(std::shared_ptr<appkit::MenuItem>()), nullptr);
  EXPECT_EQ(menu->items().size(), 1u);
}

}  // namespace
