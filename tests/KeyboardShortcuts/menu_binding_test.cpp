// Menu items bound to a name show its current shortcut.
#include <gtest/gtest.h>

#include <thread>

#include "KeyboardShortcuts/menu_item_binding.h"
#include "KeyboardShortcuts/registry.h"
#include "hot_key_fixture.h"
#include "platform/foundation/notification_center.h"

namespace {

using appkit::MenuItem;
using appkit::ModifierFlags;
using KeyboardShortcuts::Name;
using KeyboardShortcuts::Shortcut;

struct Shown {
  std::string keyEquivalent;
  ModifierFlags mask;
  bool allowsLocalization;
  bool operator==(const Shown&) const = default;
};

Shown shown(const MenuItem& item) {
  return {item.keyEquivalent(), item.keyEquivalentModifierMask(),
          item.allowsAutomaticKeyEquivalentLocalization()};
}

const Shown kNothing{"", {}, true};

using MenuBinding = HotKeyTest;

TEST_F(MenuBinding, ShowsTheStoredShortcut) {
  struct Case {
    Shortcut shortcut;
    Shown expected;
  };
  const Case cases[] = {
      {Shortcut(40, 0x300), {"k", ModifierFlags::command | ModifierFlags::shift, false}},
      {Shortcut(49, 0x1000), {" ", ModifierFlags::control, false}},
      {Shortcut(96, 0), {"\uF708", {}, false}},
      {Shortcut(36, 0x800), {"↩", ModifierFlags::option, false}},
  };
  const Name name("openChat");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected.keyEquivalent);
    KeyboardShortcuts::storeShortcut(c.shortcut, name);
    auto item = std::make_shared<MenuItem>("Open Chat", "x");
    KeyboardShortcuts::bindShortcut(item, name);
    EXPECT_EQ(shown(*item), c.expected);
  }
}

TEST_F(MenuBinding, ANameWithoutShortcutShowsNothing) {
  const Name name("openChat");
  auto item = std::make_shared<MenuItem>("Open Chat", "o");
  KeyboardShortcuts::bindShortcut(item, name);
  EXPECT_EQ(shown(*item), kNothing);
  KeyboardShortcuts::storeShortcut(Shortcut(40, 0x300), name);
  KeyboardShortcuts::setOrClearShortcut(std::nullopt, name);
  EXPECT_EQ(shown(*item), kNothing);
}

TEST_F(MenuBinding, FollowsItsOwnNameOnly) {
  const Name chat("openChat", Shortcut(40, 0x300)), sidebar("showSidebar");
  auto item = std::make_shared<MenuItem>("Open Chat");
  KeyboardShortcuts::bindShortcut(item, chat);
  KeyboardShortcuts::storeShortcut(Shortcut(96, 0), sidebar);
  EXPECT_EQ(item->keyEquivalent(), "k");
  KeyboardShortcuts::storeShortcut(Shortcut(0, 0x100), chat);
  EXPECT_EQ(shown(*item), (Shown{"a", ModifierFlags::command, false}));
  KeyboardShortcuts::reset({chat});
  EXPECT_EQ(shown(*item), (Shown{"k", ModifierFlags::command | ModifierFlags::shift, false}));
  // A change notification without a name, or with something else under "name", changes nothing.
  foundation::NotificationCenter::defaultCenter().post(KeyboardShortcuts::kShortcutByNameDidChange);
  foundation::NotificationCenter::defaultCenter().post(KeyboardShortcuts::kShortcutByNameDidChange, nullptr,
                                                       {{"name", std::string("openChat")}});
  KeyboardShortcuts::setOrClearShortcut(std::nullopt, chat);
  EXPECT_EQ(shown(*item), kNothing);
}

TEST_F(MenuBinding, RebindingFollowsOnlyTheNewName) {
  const Name chat("openChat"), sidebar("showSidebar");
  auto item = std::make_shared<MenuItem>("Item");
  KeyboardShortcuts::bindShortcut(item, chat);
  KeyboardShortcuts::bindShortcut(item, sidebar);
  KeyboardShortcuts::storeShortcut(Shortcut(40, 0x300), chat);
  EXPECT_EQ(shown(*item), kNothing);
  KeyboardShortcuts::storeShortcut(Shortcut(96, 0), sidebar);
  EXPECT_EQ(item->keyEquivalent(), "\uF708");
}

TEST_F(MenuBinding, UnbindingClearsAndStopsFollowing) {
  const Name chat("openChat", Shortcut(40, 0x300));
  auto item = std::make_shared<MenuItem>("Item");
  KeyboardShortcuts::bindShortcut(item, chat);
  const auto observers = foundation::NotificationCenter::defaultCenter().observerCount();
  KeyboardShortcuts::bindShortcut(item, std::nullopt);
  EXPECT_EQ(foundation::NotificationCenter::defaultCenter().observerCount(), observers - 1);
  EXPECT_EQ(shown(*item), kNothing);
  KeyboardShortcuts::storeShortcut(Shortcut(96, 0), chat);
  EXPECT_EQ(shown(*item), kNothing);
}

TEST_F(MenuBinding, AnItemThatGoesAwayEndsItsObservation) {
  const Name chat("openChat");
  const auto before = foundation::NotificationCenter::defaultCenter().observerCount();
  {
    auto item = std::make_shared<MenuItem>("Item");
    KeyboardShortcuts::bindShortcut(item, chat);
    EXPECT_EQ(foundation::NotificationCenter::defaultCenter().observerCount(), before + 1);
  }
  EXPECT_EQ(foundation::NotificationCenter::defaultCenter().observerCount(), before);
  KeyboardShortcuts::storeShortcut(Shortcut(96, 0), chat);  // nothing left to update
}

TEST_F(MenuBinding, AChangeAnnouncedOffTheMainThreadReachesTheItemOnTheMainQueue) {
  auto item = std::make_shared<MenuItem>("Item");
  std::thread other([&] { KeyboardShortcuts::applyShortcut(item, Shortcut(40, 0x100)); });
  other.join();
  EXPECT_EQ(shown(*item), (Shown{"", ModifierFlags::command, true}));  // untouched so far
  runMainQueue();
  EXPECT_EQ(shown(*item), (Shown{"k", ModifierFlags::command, false}));
}

TEST(AssociationPolicy, HasThePlatformsRawValues) {
  using KeyboardShortcuts::AssociationPolicy;
  EXPECT_EQ(rawValue(AssociationPolicy::assign), 0);
  EXPECT_EQ(rawValue(AssociationPolicy::retainNonatomic), 1);
  EXPECT_EQ(rawValue(AssociationPolicy::copyNonatomic), 3);
  EXPECT_EQ(rawValue(AssociationPolicy::retain), 0x301);
  EXPECT_EQ(rawValue(AssociationPolicy::copy), 0x303);
  KeyboardShortcuts::ObjectAssociation<int> association;
  EXPECT_EQ(association.policy, AssociationPolicy::retainNonatomic);
  MenuItem item;
  association.set(item, std::make_shared<int>(7));
  EXPECT_EQ(*association.get(item), 7);
  association.set(item, nullptr);
  EXPECT_EQ(association.get(item), nullptr);
}

}  // namespace
