// Global hot keys on a live X desktop: a registered combination pressed by the person reaches its handler
// on the main thread whatever the lock keys, one held by another program is refused, and the keyboard
// layout is the one the X server has.
#include "platform/desktop/x11/global_input/x11_hot_keys.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "tests/support/live/live_session.h"
#include "tests/support/live/x_person.h"
#include "tests/support/program_run.h"

namespace {

using desktop::HotKeyEvent;
using desktop::HotKeyID;
using testsupport::live::XPerson;
namespace status = desktop::hot_key_status;

constexpr std::uint32_t kCommand = 0x100;
constexpr std::uint32_t kOption = 0x800;
constexpr std::uint32_t kControl = 0x1000;
constexpr std::uint16_t kKeyK = 40;
constexpr std::uint16_t kKeyJ = 38;
constexpr HotKeyID kID{0x51554C4F, 7};

struct Pressed {
  std::vector<HotKeyEvent> events;
};

std::uint64_t recordInto(desktop::HotKeyService& hotKeys, std::shared_ptr<Pressed> pressed) {
  return hotKeys.installHandler({{HotKeyEvent::kKeyboardClass, HotKeyEvent::kPressedKind},
                                 {HotKeyEvent::kKeyboardClass, HotKeyEvent::kReleasedKind}},
                                [pressed](const HotKeyEvent& event) {
                                  pressed->events.push_back(event);
                                  return status::noErr;
                                });
}

TEST(X11HotKeys, ACombinationPressedReachesItsHandlerOnTheMainThreadWhateverTheLockKeys) {
  QUILLO_REQUIRE_LIVE_SESSION();
  desktop::x11::X11HotKeys hotKeys;
  auto pressed = std::make_shared<Pressed>();
  recordInto(hotKeys, pressed);
  const auto registration = hotKeys.registerHotKey(kKeyK, kCommand | kOption, kID, 0);
  ASSERT_EQ(registration.status, status::noErr);
  EXPECT_NE(registration.reference, 0u);

  XPerson person;
  for (const auto& [isCapsLockOn, isNumLockOn] :
       {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
    SCOPED_TRACE(testing::Message() << "Caps Lock " << isCapsLockOn << ", Num Lock " << isNumLockOn);
    person.setLockKeys(isCapsLockOn, isNumLockOn);
    pressed->events.clear();
    person.pressCombination({"Super_L", "Alt_L"}, "k");
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return pressed->events.size() >= 2; }));
    EXPECT_EQ(pressed->events[0].eventKind, HotKeyEvent::kPressedKind);
    EXPECT_EQ(pressed->events[0].hotKeyID, kID);
    EXPECT_EQ(pressed->events[1].eventKind, HotKeyEvent::kReleasedKind);
  }
  person.setLockKeys(false, false);
}

TEST(X11HotKeys, OtherModifiersThanTheRecordedOnesDoNotPressTheHotKey) {
  QUILLO_REQUIRE_LIVE_SESSION();
  desktop::x11::X11HotKeys hotKeys;
  auto pressed = std::make_shared<Pressed>();
  recordInto(hotKeys, pressed);
  ASSERT_EQ(hotKeys.registerHotKey(kKeyK, kControl | kOption, kID, 0).status, status::noErr);
  ASSERT_EQ(hotKeys.registerHotKey(kKeyJ, kCommand, {kID.signature, 8}, 0).status, status::noErr);

  XPerson person;
  person.pressCombination({"Super_L", "Alt_L"}, "k");  // not control-option-K
  person.pressCombination({"Super_L"}, "j");
  ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return pressed->events.size() >= 2; }));
  foundation::RunLoop::main().runUntilIdle();
  ASSERT_EQ(pressed->events.size(), 2u);
  EXPECT_EQ(pressed->events[0].hotKeyID->id, 8u);
}

TEST(X11HotKeys, ACombinationAnotherProgramHoldsIsRefusedBeforeRegistrationReturns) {
  QUILLO_REQUIRE_LIVE_SESSION();
  XPerson otherProgram;
  ASSERT_TRUE(otherProgram.grabCombination({"Super_L", "Alt_L"}, "k"));

  desktop::x11::X11HotKeys hotKeys;
  const auto refused = hotKeys.registerHotKey(kKeyK, kCommand | kOption, kID, 0);
  EXPECT_EQ(refused.status, status::eventHotKeyExistsErr);
  EXPECT_EQ(refused.reference, 0u);
  // The program goes on: other combinations still register, and the refused one once it is free.
  EXPECT_EQ(hotKeys.registerHotKey(kKeyJ, kCommand | kOption, kID, 0).status, status::noErr);
  otherProgram.ungrabCombination({"Super_L", "Alt_L"}, "k");
  EXPECT_EQ(hotKeys.registerHotKey(kKeyK, kCommand | kOption, kID, 0).status, status::noErr);
}

TEST(X11HotKeys, UnregisteringFreesTheCombinationForOtherProgramsOnceNoRegistrationHoldsIt) {
  QUILLO_REQUIRE_LIVE_SESSION();
  desktop::x11::X11HotKeys hotKeys;
  const auto first = hotKeys.registerHotKey(kKeyK, kControl, kID, 0);
  const auto second = hotKeys.registerHotKey(kKeyK, kControl, {kID.signature, 9}, 0);
  ASSERT_EQ(first.status, status::noErr);
  ASSERT_EQ(second.status, status::noErr);
  EXPECT_NE(first.reference, second.reference);

  desktop::x11::X11HotKeys otherProgram;
  EXPECT_EQ(hotKeys.unregisterHotKey(first.reference), status::noErr);
  EXPECT_EQ(otherProgram.registerHotKey(kKeyK, kControl, kID, 0).status, status::eventHotKeyExistsErr);
  EXPECT_EQ(hotKeys.unregisterHotKey(second.reference), status::noErr);
  EXPECT_EQ(otherProgram.registerHotKey(kKeyK, kControl, kID, 0).status, status::noErr);
  EXPECT_EQ(hotKeys.unregisterHotKey(second.reference), status::eventHotKeyInvalidErr);
}

TEST(X11HotKeys, RegistrationsFromTwoThreadsAtOnceAreAllMadeAndAllUndone) {
  QUILLO_REQUIRE_LIVE_SESSION();
  desktop::x11::X11HotKeys hotKeys;
  const auto registerAndUnregister = [&](std::uint32_t modifiers, std::vector<std::int32_t>& statuses) {
    for (std::uint16_t key = 0; key < 10; ++key) {
      const auto registration = hotKeys.registerHotKey(key, modifiers, kID, 0);
      statuses.push_back(registration.status);
      statuses.push_back(hotKeys.unregisterHotKey(registration.reference));
    }
  };
  std::vector<std::int32_t> first;
  std::vector<std::int32_t> second;
  std::thread other([&] { registerAndUnregister(kControl, first); });
  registerAndUnregister(kControl | kOption, second);
  other.join();
  EXPECT_EQ(first, std::vector<std::int32_t>(20, status::noErr));
  EXPECT_EQ(second, std::vector<std::int32_t>(20, status::noErr));
  desktop::x11::X11HotKeys otherProgram;
  EXPECT_EQ(otherProgram.registerHotKey(9, kControl | kOption, kID, 0).status, status::noErr);
}

TEST(X11HotKeys, RefusesModifiersAndKeysItCannotGrab) {
  QUILLO_REQUIRE_LIVE_SESSION();
  desktop::x11::X11HotKeys hotKeys;
  EXPECT_EQ(hotKeys.registerHotKey(kKeyK, 0x4000, kID, 0).status,
            status::paramErr);                                                       // not a hot-key modifier
  EXPECT_EQ(hotKeys.registerHotKey(52, kCommand, kID, 0).status, status::paramErr);  // no such key on a PC
}

TEST(X11KeyboardLayout, IsTheLayoutTheXServerHasSoTheRecorderShowsThePersonsCharacters) {
  QUILLO_REQUIRE_LIVE_SESSION();
  desktop::x11::X11HotKeys hotKeys;
  const auto unitedStates = hotKeys.currentKeyboardLayout();
  ASSERT_TRUE(unitedStates && unitedStates->keys);
  EXPECT_EQ(unitedStates->keys->keys.at(0), (desktop::KeyLayout::Key{u'a', u'A'}));
  EXPECT_EQ(unitedStates->keys->keys.at(6), (desktop::KeyLayout::Key{u'z', u'Z'}));
  EXPECT_EQ(unitedStates->keys->keys.at(41), (desktop::KeyLayout::Key{u';', u':'}));
  EXPECT_EQ(hotKeys.currentKeyboardLayout(), unitedStates);  // not read again while nothing changed

  ASSERT_EQ(testsupport::runProgram({"setxkbmap", "de"}).exitStatus, 0);
  const auto german = hotKeys.currentKeyboardLayout();
  ASSERT_TRUE(german && german->keys);
  EXPECT_NE(german->identifier, unitedStates->identifier);
  EXPECT_EQ(german->keys->keys.at(6), (desktop::KeyLayout::Key{u'y', u'Y'}));
  EXPECT_EQ(german->keys->keys.at(16), (desktop::KeyLayout::Key{u'z', u'Z'}));
  EXPECT_EQ(german->keys->keys.at(41), (desktop::KeyLayout::Key{u'ö', u'Ö'}));
}

TEST(X11KeyboardLayout, IsTheFirstLayoutThatTypesAsciiLettersAndNoneWithoutOne) {
  QUILLO_REQUIRE_LIVE_SESSION();
  desktop::x11::X11HotKeys hotKeys;
  ASSERT_EQ(testsupport::runProgram({"setxkbmap", "-layout", "ru,de"}).exitStatus, 0);
  const auto layout = hotKeys.currentKeyboardLayout();
  ASSERT_TRUE(layout && layout->keys);
  EXPECT_EQ(layout->keys->keys.at(6), (desktop::KeyLayout::Key{u'y', u'Y'}));  // German, not Russian

  ASSERT_EQ(testsupport::runProgram({"setxkbmap", "-layout", "ru"}).exitStatus, 0);
  EXPECT_EQ(hotKeys.currentKeyboardLayout(), nullptr);
}

}  // namespace
