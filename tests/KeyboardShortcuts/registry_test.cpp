// Named shortcuts: their three stored states, registration while needed, and dispatch to actions.
#include "KeyboardShortcuts/registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hot_key_fixture.h"
#include "platform/foundation/notification_center.h"

namespace {

using foundation::PlistValue;
using KeyboardShortcuts::Name;
using KeyboardShortcuts::Shortcut;

const Shortcut kCommandShiftK(40, 0x300);
const Shortcut kControlOptionSpace(49, 0x1800);
const Shortcut kF5(96, 0);

class Registry : public HotKeyTest {
 protected:
  Registry() {
    observation_ = foundation::NotificationCenter::defaultCenter().addObserver(
        KeyboardShortcuts::kShortcutByNameDidChange, nullptr, nullptr,
        [this](const foundation::Notification& n) {
          const auto name = n.userInfoValue<Name>("name");
          posted_.push_back(name ? name->rawValue : "<no name>");
        });
  }

  std::optional<PlistValue> stored(const Name& name) const {
    return defaults_->objectForKey(name.storageKey());
  }
  bool isRegistered(const Shortcut& shortcut) const {
    return KeyboardShortcuts::registeredShortcuts().contains(shortcut) && !registeredIds(shortcut).empty();
  }
  // Adds key-down and key-up actions that record "<what> down" and "<what> up".
  void addLoggingHandlers(const Name& name, const std::string& what) {
    KeyboardShortcuts::addKeyDownHandler(name, [this, what] { log_.push_back(what + " down"); });
    KeyboardShortcuts::addKeyUpHandler(name, [this, what] { log_.push_back(what + " up"); });
  }
  void pressAndRelease(const Shortcut& shortcut) {
    press(shortcut);
    release(shortcut);
  }

  foundation::ObserverToken observation_;
  std::vector<std::string> posted_;
  std::vector<std::string> log_;
};

TEST_F(Registry, ANameNeverSetHasNoShortcutAndClearingItDoesNothing) {
  const Name name("openChat");
  EXPECT_EQ(name.storageKey(), "KeyboardShortcuts_openChat");
  EXPECT_EQ(KeyboardShortcuts::readStoredShortcut(name), std::nullopt);
  KeyboardShortcuts::setOrClearShortcut(std::nullopt, name);
  KeyboardShortcuts::reset({name});
  EXPECT_EQ(stored(name), std::nullopt);
  EXPECT_TRUE(posted_.empty());
}

TEST_F(Registry, StoringKeepsTheJsonTextRegistersAndAnnounces) {
  const Name name("openChat");
  KeyboardShortcuts::storeShortcut(Shortcut(0, 0x300), name);
  EXPECT_EQ(stored(name), PlistValue(std::string(R"({"carbonKeyCode":0,"carbonModifiers":768})")));
  EXPECT_EQ(KeyboardShortcuts::readStoredShortcut(name), Shortcut(0, 0x300));
  EXPECT_TRUE(isRegistered(Shortcut(0, 0x300)));  // even without actions
  EXPECT_EQ(posted_, std::vector<std::string>{"openChat"});
}

TEST_F(Registry, ClearingStoresFalseAndGivesUpTheHotKey) {
  const Name name("openChat");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name);
  KeyboardShortcuts::setOrClearShortcut(std::nullopt, name);
  EXPECT_EQ(stored(name), PlistValue(false));
  EXPECT_EQ(KeyboardShortcuts::readStoredShortcut(name), std::nullopt);
  EXPECT_FALSE(isRegistered(kCommandShiftK));
  EXPECT_EQ(posted_, (std::vector<std::string>{"openChat", "openChat"}));
  KeyboardShortcuts::setOrClearShortcut(std::nullopt, name);  // already cleared: nothing more
  EXPECT_EQ(posted_.size(), 2u);
}

TEST_F(Registry, ANameWithDefaultStoresItOnlyIntoAnEmptyStore) {
  const Name first("showSidebar", kF5);
  EXPECT_EQ(KeyboardShortcuts::readStoredShortcut(first), kF5);
  EXPECT_TRUE(isRegistered(kF5));
  EXPECT_EQ(posted_, std::vector<std::string>{"showSidebar"});

  KeyboardShortcuts::setOrClearShortcut(std::nullopt, first);
  const Name again("showSidebar", kF5);
  EXPECT_EQ(stored(again), PlistValue(false));  // a cleared name stays cleared
  EXPECT_EQ(posted_.size(), 2u);

  KeyboardShortcuts::reset({again});
  EXPECT_EQ(KeyboardShortcuts::readStoredShortcut(again), kF5);
  EXPECT_EQ(Name("showSidebar"), again);  // equality ignores the default
}

TEST_F(Registry, ResetGivesEachNameItsDefault) {
  const Name withDefault("a", kF5);
  const Name withoutDefault("b");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, withDefault);
  KeyboardShortcuts::storeShortcut(kControlOptionSpace, withoutDefault);
  posted_.clear();
  KeyboardShortcuts::reset({withDefault, withoutDefault});
  EXPECT_EQ(KeyboardShortcuts::readStoredShortcut(withDefault), kF5);
  EXPECT_EQ(stored(withoutDefault), PlistValue(false));
  EXPECT_EQ(posted_, (std::vector<std::string>{"a", "b"}));
}

TEST_F(Registry, StoringTheSameShortcutAgainRegistersItAnew) {
  const Name name("openChat");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name);
  EXPECT_EQ(registeredIds(kCommandShiftK), std::vector<std::uint32_t>{1});
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name);
  EXPECT_EQ(registeredIds(kCommandShiftK), std::vector<std::uint32_t>{2});
  EXPECT_EQ(posted_.size(), 2u);
}

TEST_F(Registry, PressRunsKeyDownActionsAndReleaseKeyUpActions) {
  const Name name("openChat");
  addLoggingHandlers(name, "chat");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name);
  press(kCommandShiftK);
  EXPECT_EQ(log_, std::vector<std::string>{"chat down"});
  release(kCommandShiftK);
  EXPECT_EQ(log_, (std::vector<std::string>{"chat down", "chat up"}));
}

TEST_F(Registry, ActionsRunInOrderAndTwiceWhenAddedTwice) {
  const Name name("openChat");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name);
  KeyboardShortcuts::addKeyUpHandler(name, [this] { log_.push_back("first"); });
  KeyboardShortcuts::addKeyUpHandler(name, [this] { log_.push_back("second"); });
  KeyboardShortcuts::addKeyUpHandler(name, [this] { log_.push_back("first"); });
  release(kCommandShiftK);
  EXPECT_EQ(log_, (std::vector<std::string>{"first", "second", "first"}));
  EXPECT_EQ(registeredIds(kCommandShiftK).size(), 1u);  // adding actions never registers twice
}

TEST_F(Registry, AddingAnActionRegistersAStoredShortcutOnlyOnce) {
  const Name name("openChat");
  defaults_->setObject(PlistValue(KeyboardShortcuts::jsonText(kCommandShiftK)), name.storageKey());
  EXPECT_FALSE(isRegistered(kCommandShiftK));
  addLoggingHandlers(name, "chat");
  EXPECT_TRUE(isRegistered(kCommandShiftK));
  EXPECT_EQ(registeredIds(kCommandShiftK).size(), 1u);
}

TEST_F(Registry, AnActionForANameWithoutShortcutWaitsForOne) {
  const Name name("openChat");
  addLoggingHandlers(name, "chat");
  EXPECT_TRUE(KeyboardShortcuts::registeredShortcuts().empty());
  KeyboardShortcuts::storeShortcut(kF5, name);
  pressAndRelease(kF5);
  EXPECT_EQ(log_, (std::vector<std::string>{"chat down", "chat up"}));
}

TEST_F(Registry, DispatchReadsTheStoredShortcutAtEveryPress) {
  const Name name("openChat");
  addLoggingHandlers(name, "chat");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name);
  // Changed behind the registry's back: the registered hot key no longer matches the name.
  defaults_->setObject(PlistValue(KeyboardShortcuts::jsonText(kF5)), name.storageKey());
  pressAndRelease(kCommandShiftK);
  EXPECT_TRUE(log_.empty());
  defaults_->setObject(PlistValue(KeyboardShortcuts::jsonText(kCommandShiftK)), name.storageKey());
  press(kCommandShiftK);
  EXPECT_EQ(log_, std::vector<std::string>{"chat down"});
  defaults_->setObject(PlistValue(false), name.storageKey());
  release(kCommandShiftK);
  EXPECT_EQ(log_, std::vector<std::string>{"chat down"});
}

TEST_F(Registry, ReplacingAShortcutMovesTheHotKey) {
  const Name name("openChat");
  addLoggingHandlers(name, "chat");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name);
  KeyboardShortcuts::storeShortcut(kF5, name);
  EXPECT_FALSE(isRegistered(kCommandShiftK));
  EXPECT_TRUE(press(kCommandShiftK).empty());
  pressAndRelease(kF5);
  EXPECT_EQ(log_, (std::vector<std::string>{"chat down", "chat up"}));
}

TEST_F(Registry, PausedDispatchRunsNothingAndQueuesNothing) {
  const Name name("openChat");
  addLoggingHandlers(name, "chat");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name);
  KeyboardShortcuts::setPaused(true);
  EXPECT_TRUE(KeyboardShortcuts::isPaused());
  pressAndRelease(kCommandShiftK);
  runMainQueue();
  EXPECT_TRUE(log_.empty());
  KeyboardShortcuts::setPaused(false);
  runMainQueue();
  EXPECT_TRUE(log_.empty());
  press(kCommandShiftK);
  EXPECT_EQ(log_, std::vector<std::string>{"chat down"});
}

TEST_F(Registry, TwoNamesSharingAShortcutBothFire) {
  const Name chat("openChat"), sidebar("showSidebar");
  addLoggingHandlers(chat, "chat");
  addLoggingHandlers(sidebar, "sidebar");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, chat);
  KeyboardShortcuts::storeShortcut(kCommandShiftK, sidebar);
  EXPECT_EQ(registeredIds(kCommandShiftK).size(), 1u);
  press(kCommandShiftK);
  EXPECT_EQ(log_, (std::vector<std::string>{"chat down", "sidebar down"}));
}

TEST_F(Registry, ANameGivingUpASharedShortcutLeavesTheOtherWorking) {
  const Name chat("openChat"), sidebar("showSidebar");
  addLoggingHandlers(chat, "chat");
  addLoggingHandlers(sidebar, "sidebar");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, chat);
  KeyboardShortcuts::storeShortcut(kCommandShiftK, sidebar);

  KeyboardShortcuts::setOrClearShortcut(std::nullopt, chat);
  EXPECT_TRUE(isRegistered(kCommandShiftK));
  press(kCommandShiftK);
  EXPECT_EQ(log_, std::vector<std::string>{"sidebar down"});

  KeyboardShortcuts::storeShortcut(kCommandShiftK, chat);
  KeyboardShortcuts::storeShortcut(kF5, chat);  // replaced: the other name still uses Command-Shift-K
  log_.clear();
  press(kCommandShiftK);
  press(kF5);
  EXPECT_EQ(log_, (std::vector<std::string>{"sidebar down", "chat down"}));

  KeyboardShortcuts::setOrClearShortcut(std::nullopt, sidebar);  // the last user: now unregistered
  EXPECT_FALSE(isRegistered(kCommandShiftK));
}

TEST_F(Registry, ARefusedRegistrationIsTriedAgainLater) {
  const Name name("openChat");
  addLoggingHandlers(name, "chat");
  hotKeys().reserveCombination(40, 0x300);
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name);
  EXPECT_EQ(KeyboardShortcuts::readStoredShortcut(name), kCommandShiftK);  // stored all the same
  EXPECT_FALSE(KeyboardShortcuts::registeredShortcuts().contains(kCommandShiftK));
  hotKeys().releaseCombination(40, 0x300);
  KeyboardShortcuts::registerName(name);
  EXPECT_TRUE(isRegistered(kCommandShiftK));
  press(kCommandShiftK);
  EXPECT_EQ(log_, std::vector<std::string>{"chat down"});
}

TEST_F(Registry, RegisterAndUnregisterNameLeaveStorageAlone) {
  const Name name("openChat");
  addLoggingHandlers(name, "chat");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name);
  posted_.clear();
  KeyboardShortcuts::unregisterName(name);
  EXPECT_FALSE(isRegistered(kCommandShiftK));
  EXPECT_TRUE(press(kCommandShiftK).empty());
  KeyboardShortcuts::registerName(name);
  press(kCommandShiftK);
  EXPECT_EQ(log_, std::vector<std::string>{"chat down"});
  EXPECT_EQ(KeyboardShortcuts::readStoredShortcut(name), kCommandShiftK);
  EXPECT_TRUE(posted_.empty());
}

TEST_F(Registry, RemovingAllActionsUnregistersUntilAnActionIsAddedAgain) {
  const Name name("openChat");
  addLoggingHandlers(name, "chat");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name);
  KeyboardShortcuts::removeAllHandlers();
  EXPECT_FALSE(isRegistered(kCommandShiftK));
  EXPECT_TRUE(KeyboardShortcuts::shortcutsWithHandlers().empty());
  KeyboardShortcuts::addKeyUpHandler(name, [this] { log_.push_back("again"); });
  EXPECT_TRUE(isRegistered(kCommandShiftK));
  pressAndRelease(kCommandShiftK);
  EXPECT_EQ(log_, std::vector<std::string>{"again"});
}

TEST_F(Registry, ADamagedStoredValueReadsAsNoShortcutUntilReplaced) {
  const Name name("openChat");
  addLoggingHandlers(name, "chat");
  for (const auto& damaged : {PlistValue(std::string("{\"carbonKeyCode\":40}")), PlistValue(std::string("")),
                              PlistValue(42), PlistValue(true)}) {
    defaults_->setObject(damaged, name.storageKey());
    EXPECT_EQ(KeyboardShortcuts::readStoredShortcut(name), std::nullopt);
  }
  KeyboardShortcuts::setOrClearShortcut(std::nullopt, name);  // nothing to clear
  EXPECT_EQ(stored(name), PlistValue(true));
  KeyboardShortcuts::storeShortcut(kF5, name);
  EXPECT_EQ(KeyboardShortcuts::readStoredShortcut(name), kF5);
}

TEST_F(Registry, StoredShortcutsAndShortcutsWithHandlers) {
  const Name chat("openChat"), sidebar("showSidebar"), spotlight("showSpotlight");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, chat);
  KeyboardShortcuts::storeShortcut(kF5, spotlight);
  EXPECT_EQ(KeyboardShortcuts::storedShortcuts({spotlight, sidebar, chat}),
            (std::vector<Shortcut>{kF5, kCommandShiftK}));
  KeyboardShortcuts::addKeyDownHandler(chat, [] {});
  KeyboardShortcuts::addKeyUpHandler(sidebar, [] {});
  EXPECT_EQ(KeyboardShortcuts::shortcutsWithHandlers(), std::unordered_set<Shortcut>{kCommandShiftK});
  EXPECT_TRUE(KeyboardShortcuts::shortcutsWithStreamHandlers().empty());
}

TEST_F(Registry, AnActionMayChangeTheRegistryWhileItRuns) {
  const Name name("openChat");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name);
  KeyboardShortcuts::addKeyDownHandler(name, [this, name] {
    log_.push_back("down");
    KeyboardShortcuts::addKeyDownHandler(name, [this] { log_.push_back("added"); });
  });
  KeyboardShortcuts::addKeyUpHandler(name, [this] {
    log_.push_back("up");
    KeyboardShortcuts::removeAllHandlers();
  });
  pressAndRelease(kCommandShiftK);
  EXPECT_EQ(log_, (std::vector<std::string>{"down", "up"}));
  EXPECT_TRUE(press(kCommandShiftK).empty());
}

}  // namespace
