// The headless desktop's hot-key service, as a test drives it.
#include "platform/desktop/headless_hot_keys.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using desktop::HeadlessHotKeys;
using desktop::HotKeyEvent;
using desktop::HotKeyID;
namespace status = desktop::hot_key_status;

const HeadlessHotKeys::EventTypes kPressedAndReleased{{HotKeyEvent::kKeyboardClass, 5},
                                                      {HotKeyEvent::kKeyboardClass, 6}};

TEST(HeadlessHotKeys, StartsEmptyWithAnEmptySymbolicList) {
  HeadlessHotKeys hotKeys;
  EXPECT_TRUE(hotKeys.registrations().empty());
  EXPECT_EQ(hotKeys.handlerCount(), 0u);
  ASSERT_TRUE(hotKeys.symbolicHotKeys());
  ASSERT_TRUE(hotKeys.symbolicHotKeys()->arrayValue());
  EXPECT_TRUE(hotKeys.symbolicHotKeys()->arrayValue()->empty());
  EXPECT_TRUE(hotKeys.press(40, 0x100).empty());
}

TEST(HeadlessHotKeys, HandlersRunNewestFirstUntilOneHandlesTheEvent) {
  HeadlessHotKeys hotKeys;
  std::vector<std::string> calls;
  hotKeys.installHandler(kPressedAndReleased, [&](const HotKeyEvent&) {
    calls.push_back("older");
    return status::noErr;
  });
  const auto newer = hotKeys.installHandler(kPressedAndReleased, [&](const HotKeyEvent&) {
    calls.push_back("newer");
    return status::eventNotHandledErr;
  });
  hotKeys.installHandler({{HotKeyEvent::kKeyboardClass, 7}}, [&](const HotKeyEvent&) {
    calls.push_back("other kind");
    return status::noErr;
  });
  const auto registration = hotKeys.registerHotKey(40, 0x100, HotKeyID{1, 1}, 0);
  ASSERT_EQ(registration.status, status::noErr);
  EXPECT_EQ(hotKeys.press(40, 0x100), std::vector<std::int32_t>{status::noErr});
  EXPECT_EQ(calls, (std::vector<std::string>{"newer", "older"}));

  EXPECT_TRUE(hotKeys.removeHandler(newer));
  EXPECT_FALSE(hotKeys.removeHandler(newer));
  calls.clear();
  hotKeys.release(40, 0x100);
  EXPECT_EQ(calls, std::vector<std::string>{"older"});

  EXPECT_EQ(hotKeys.unregisterHotKey(registration.reference), status::noErr);
  EXPECT_EQ(hotKeys.unregisterHotKey(registration.reference), status::eventHotKeyInvalidErr);
  EXPECT_TRUE(hotKeys.press(40, 0x100).empty());
}

TEST(HeadlessHotKeys, ACombinationHeldElsewhereIsRefused) {
  HeadlessHotKeys hotKeys;
  hotKeys.reserveCombination(49, 0x1000);
  const auto refused = hotKeys.registerHotKey(49, 0x1000, HotKeyID{1, 1}, 0);
  EXPECT_EQ(refused.status, status::eventHotKeyExistsErr);
  EXPECT_EQ(refused.reference, 0u);
  EXPECT_EQ(hotKeys.registerHotKey(49, 0x800, HotKeyID{1, 2}, 0).status, status::noErr);
  hotKeys.releaseCombination(49, 0x1000);
  EXPECT_EQ(hotKeys.registerHotKey(49, 0x1000, HotKeyID{1, 3}, 0).status, status::noErr);
}

TEST(HeadlessHotKeys, ReferencesDifferAcrossDesktops) {
  HeadlessHotKeys first, second;
  const auto a = first.registerHotKey(1, 0, HotKeyID{1, 1}, 0);
  const auto b = second.registerHotKey(1, 0, HotKeyID{1, 1}, 0);
  EXPECT_NE(a.reference, b.reference);
  EXPECT_EQ(second.unregisterHotKey(a.reference), status::eventHotKeyInvalidErr);
  EXPECT_EQ(second.registrations().size(), 1u);
}

TEST(HeadlessHotKeys, TwoThreadsRegisterAndPressAtOnce) {
  HeadlessHotKeys hotKeys;
  std::atomic<int> delivered{0};
  hotKeys.installHandler(kPressedAndReleased, [&](const HotKeyEvent&) {
    ++delivered;
    return status::noErr;
  });
  auto work = [&](std::uint32_t keyCode) {
    for (std::uint32_t i = 0; i < 200; ++i) {
      const auto registration = hotKeys.registerHotKey(keyCode, i, HotKeyID{1, i}, 0);
      hotKeys.press(keyCode, i);
      hotKeys.unregisterHotKey(registration.reference);
    }
  };
  std::thread other(work, 1);
  work(2);
  other.join();
  EXPECT_EQ(delivered.load(), 400);
  EXPECT_TRUE(hotKeys.registrations().empty());
}

}  // namespace
