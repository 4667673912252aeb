// Registration of hot keys with the system's service and the delivery of their events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KeyboardShortcuts/carbon_keyboard_shortcuts.h"
#include "hot_key_fixture.h"
#include "platform/carbon/hot_key_service.h"

namespace {

using KeyboardShortcuts::CarbonKeyboardShortcuts;
using KeyboardShortcuts::Shortcut;

constexpr std::int32_t kNotHandled = -9874;

class SystemRegistration : public HotKeyTest {
 protected:
  // Registers a shortcut whose actions record "down <code>" and "up <code>".
  bool install(const Shortcut& shortcut) {
    return CarbonKeyboardShortcuts::installHotKey(
        shortcut, [this](const Shortcut& s) { log_.push_back("down " + std::to_string(s.carbonKeyCode)); },
        [this](const Shortcut& s) { log_.push_back("up " + std::to_string(s.carbonKeyCode)); });
  }
  std::vector<std::string> log_;
};

TEST_F(SystemRegistration, IdsStartAtOneAndAreNeverReused) {
  const Shortcut a(0, 0x100), b(11, 0x100), c(8, 0x100);
  ASSERT_TRUE(install(a));
  ASSERT_TRUE(install(b));
  EXPECT_EQ(registeredIds(a), std::vector<std::uint32_t>{1});
  EXPECT_EQ(registeredIds(b), std::vector<std::uint32_t>{2});
  CarbonKeyboardShortcuts::removeHotKey(a);
  ASSERT_TRUE(install(a));
  EXPECT_EQ(registeredIds(a), std::vector<std::uint32_t>{3});
  // Failed attempts use up their ids too.
  hotKeys().reserveCombination(8, 0x100);
  EXPECT_FALSE(install(c));
  EXPECT_FALSE(install(Shortcut(-1, 0x100)));
  EXPECT_FALSE(install(Shortcut::withStoredValues(8, std::int64_t{1} << 33)));
  hotKeys().releaseCombination(8, 0x100);
  ASSERT_TRUE(install(c));
  EXPECT_EQ(registeredIds(c), std::vector<std::uint32_t>{7});
  for (const auto& registration : hotKeys().registrations()) {
    EXPECT_EQ(registration.hotKeyID.signature, 0x484B5247u);  // "HKRG"
  }
}

TEST_F(SystemRegistration, RefusedOrInvalidRegistrationsLeaveNoRecord) {
  hotKeys().reserveCombination(0, 0x100);
  EXPECT_FALSE(install(Shortcut(0, 0x100)));
  EXPECT_FALSE(install(Shortcut(-1, 0)));
  EXPECT_FALSE(install(Shortcut::withStoredValues(0, -256)));
  EXPECT_TRUE(CarbonKeyboardShortcuts::hotKeys().empty());
  EXPECT_TRUE(hotKeys().registrations().empty());
  EXPECT_EQ(hotKeys().handlerCount(), 0u);  // installed with the first successful registration only
}

TEST_F(SystemRegistration, PressRunsKeyDownAndReleaseRunsKeyUp) {
  const Shortcut shortcut(40, 0x300);
  ASSERT_TRUE(install(shortcut));
  EXPECT_EQ(press(shortcut), std::vector<std::int32_t>{0});
  EXPECT_EQ(log_, std::vector<std::string>{"down 40"});
  EXPECT_EQ(release(shortcut), std::vector<std::int32_t>{0});
  EXPECT_EQ(log_, (std::vector<std::string>{"down 40", "up 40"}));
  // Another combination is not this program's hot key.
  EXPECT_TRUE(press(Shortcut(40, 0x100)).empty());
  EXPECT_EQ(log_.size(), 2u);
}

TEST_F(SystemRegistration, EventsOfOthersAreNotHandled) {
  ASSERT_TRUE(install(Shortcut(40, 0x100)));
  using desktop::HotKeyEvent;
  struct Case {
    std::string what;
    HotKeyEvent event;
    std::int32_t status;
  };
  const Case cases[] = {
      {"foreign signature", {HotKeyEvent::kKeyboardClass, 5, desktop::HotKeyID{0x41424344, 1}}, kNotHandled},
      {"unknown id", {HotKeyEvent::kKeyboardClass, 5, desktop::HotKeyID{0x484B5247, 99}}, kNotHandled},
      {"no hot key in the event", {HotKeyEvent::kKeyboardClass, 5, std::nullopt}, -9870},
      {"our key pressed", {HotKeyEvent::kKeyboardClass, 5, desktop::HotKeyID{0x484B5247, 1}}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(hotKeys().deliver(c.event), c.status);
  }
  EXPECT_EQ(log_, std::vector<std::string>{"down 40"});
  // A kind other than pressed or released is passed on.
  carbon::Event other{{HotKeyEvent::kKeyboardClass, 7, desktop::HotKeyID{0x484B5247, 1}}};
  EXPECT_EQ(CarbonKeyboardShortcuts::hotKeyEventHandler(&other, nullptr), kNotHandled);
  EXPECT_EQ(CarbonKeyboardShortcuts::hotKeyEventHandler(nullptr, nullptr), kNotHandled);
}

TEST_F(SystemRegistration, RemovedHotKeysNoLongerFire) {
  const Shortcut shortcut(40, 0x100);
  ASSERT_TRUE(install(shortcut));
  CarbonKeyboardShortcuts::removeHotKey(shortcut);
  EXPECT_TRUE(press(shortcut).empty());
  EXPECT_EQ(hotKeys().deliver({desktop::HotKeyEvent::kKeyboardClass, 5, desktop::HotKeyID{0x484B5247, 1}}),
            kNotHandled);
  EXPECT_TRUE(log_.empty());
  EXPECT_EQ(hotKeys().handlerCount(), 1u);  // the handler stays installed
}

TEST_F(SystemRegistration, DuplicateRegistrationsAreAllRemoved) {
  const Shortcut shortcut(40, 0x100);
  ASSERT_TRUE(install(shortcut));
  ASSERT_TRUE(install(shortcut));
  EXPECT_EQ(registeredIds(shortcut), (std::vector<std::uint32_t>{1, 2}));
  EXPECT_EQ(CarbonKeyboardShortcuts::hotKeys().size(), 2u);
  EXPECT_EQ(hotKeys().handlerCount(), 1u);
  CarbonKeyboardShortcuts::removeHotKey(shortcut);
  EXPECT_TRUE(registeredIds(shortcut).empty());
  EXPECT_TRUE(CarbonKeyboardShortcuts::hotKeys().empty());
  CarbonKeyboardShortcuts::removeHotKey(shortcut);  // nothing left: nothing happens
}

TEST_F(SystemRegistration, ActionsGetTheRegisteredShortcut) {
  std::vector<Shortcut> seen;
  const Shortcut shortcut(40, 0x1000);
  ASSERT_TRUE(CarbonKeyboardShortcuts::installHotKey(
      shortcut, [&](const Shortcut& s) { seen.push_back(s); },
      [&](const Shortcut& s) { seen.push_back(s); }));
  press(shortcut);
  release(shortcut);
  EXPECT_EQ(seen, (std::vector<Shortcut>{shortcut, shortcut}));
}

TEST_F(SystemRegistration, AFailingActionIsContainedAtTheHandler) {
  const Shortcut shortcut(40, 0x100);
  ASSERT_TRUE(CarbonKeyboardShortcuts::installHotKey(
      shortcut, [](const Shortcut&) { throw std::runtime_error("boom"); }, [](const Shortcut&) {}));
  EXPECT_EQ(press(shortcut), std::vector<std::int32_t>{0});
}

TEST(SystemRegistrationWithoutDesktop, RegistersNothingAndListsNoSystemHotKeys) {
  ASSERT_EQ(desktop::HeadlessDesktop::current(), nullptr);
  foundation::ScopedMainRunLoop mainLoop;
  CarbonKeyboardShortcuts::resetForTesting();
  EXPECT_FALSE(CarbonKeyboardShortcuts::installHotKey(Shortcut(40, 0x100), {}, {}));
  EXPECT_TRUE(CarbonKeyboardShortcuts::hotKeys().empty());
  EXPECT_TRUE(CarbonKeyboardShortcuts::systemHotKeyShortcuts().empty());
  CarbonKeyboardShortcuts::resetForTesting();
}

TEST_F(SystemRegistration, SystemHotKeysAreTheEnabledCompleteEntries) {
  using desktop::HeadlessHotKeys;
  using foundation::PlistValue;
  PlistValue::Dictionary missingCode{{"kHISymbolicHotKeyEnabled", PlistValue(true)},
                                     {"kHISymbolicHotKeyModifiers", PlistValue(0x100)}};
  PlistValue::Dictionary missingModifiers{{"kHISymbolicHotKeyEnabled", PlistValue(true)},
                                          {"kHISymbolicHotKeyCode", PlistValue(3)}};
  PlistValue::Dictionary enabledAsNumber{{"kHISymbolicHotKeyEnabled", PlistValue(1)},
                                         {"kHISymbolicHotKeyCode", PlistValue(4)},
                                         {"kHISymbolicHotKeyModifiers", PlistValue(0x100)}};
  PlistValue::Dictionary codeAsText{{"kHISymbolicHotKeyEnabled", PlistValue(true)},
                                    {"kHISymbolicHotKeyCode", PlistValue(std::string("5"))},
                                    {"kHISymbolicHotKeyModifiers", PlistValue(0x100)}};
  hotKeys().setSymbolicHotKeys(PlistValue(PlistValue::Array{
      HeadlessHotKeys::symbolicHotKey(true, 49, 0x100), HeadlessHotKeys::symbolicHotKey(false, 50, 0x100),
      PlistValue(missingCode), PlistValue(missingModifiers), PlistValue(enabledAsNumber),
      PlistValue(codeAsText),
      HeadlessHotKeys::symbolicHotKey(true, 111, 0x100 | 0x400 | 0x10000),  // Caps Lock and more
  }));
  EXPECT_EQ(CarbonKeyboardShortcuts::systemHotKeyShortcuts(),
            (std::vector<Shortcut>{Shortcut(49, 0x100), Shortcut(111, 0x100)}));
  // Read afresh at each call.
  hotKeys().setSymbolicHotKeys(PlistValue(PlistValue::Array{}));
  EXPECT_TRUE(CarbonKeyboardShortcuts::systemHotKeyShortcuts().empty());
}

TEST_F(SystemRegistration, UnreadableSystemHotKeysGiveAnEmptyList) {
  using foundation::PlistValue;
  const std::optional<PlistValue> lists[] = {
      std::nullopt,
      PlistValue(std::string("not a list")),
      PlistValue(PlistValue::Array{desktop::HeadlessHotKeys::symbolicHotKey(true, 49, 0x100), PlistValue(3)}),
  };
  for (const auto& list : lists) {
    hotKeys().setSymbolicHotKeys(list);
    EXPECT_TRUE(CarbonKeyboardShortcuts::systemHotKeyShortcuts().empty());
  }
}

}  // namespace
