// The recorder control outside its event rules: what it shows and when, its place in the key-view loop,
// the pause of dispatch while it records, and its texts.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "KeyboardShortcuts/recorder/recorder_cocoa.h"
#include "KeyboardShortcuts/registry.h"
#include "KeyboardShortcuts/shortcut.h"
#include "platform/appkit/menu_item.h"
#include "platform/foundation/bundle.h"
#include "recorder_fixture.h"

namespace recorder_test {
namespace {

using KeyboardShortcuts::Name;
using KeyboardShortcuts::Shortcut;

const Shortcut kControlOptionSpace(kSpace, 0x1800);
const Shortcut kCommandShiftK(kKeyK, 0x300);

class RecorderControl : public RecorderTest {};

TEST_F(RecorderControl, ShowsTheStoredShortcutCentredWithItsClearButton) {
  KeyboardShortcuts::storeShortcut(kControlOptionSpace, Name("openChat"));
  makeRecorder();
  EXPECT_EQ(recorder_->stringValue(), "⌃⌥⎵");
  EXPECT_NE(recorder_->cancelButtonCell(), nullptr);
  EXPECT_EQ(recorder_->searchButtonCell(), nullptr);
  EXPECT_EQ(recorder_->placeholderString(), "Record Shortcut");
  EXPECT_EQ(recorder_->alignment(), appkit::TextAlignment::center);
  EXPECT_TRUE(recorder_->wantsLayer());
  EXPECT_EQ(recorder_->contentHuggingPriority(appkit::LayoutOrientation::horizontal), 750);
  EXPECT_EQ(recorder_->contentHuggingPriority(appkit::LayoutOrientation::vertical), 750);
  EXPECT_EQ(recorder_->intrinsicContentSize(),
            (foundation::Size{130, appkit::SearchField::kIntrinsicHeight}));
  EXPECT_FALSE(recorder_->isRecording());
  EXPECT_FALSE(KeyboardShortcuts::isPaused());
}

TEST_F(RecorderControl, WithoutAShortcutShowsNothingAndNoClearButton) {
  defaults_->setObject(foundation::PlistValue(false), "KeyboardShortcuts_openChat");
  makeRecorder();
  EXPECT_EQ(recorder_->stringValue(), "");
  EXPECT_EQ(recorder_->cancelButtonCell(), nullptr);
}

TEST_F(RecorderControl, FollowsChangesOfItsNameFromElsewhere) {
  makeRecorder();
  const Name name("openChat");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name);
  EXPECT_EQ(recorder_->stringValue(), "⇧⌘K");
  EXPECT_NE(recorder_->cancelButtonCell(), nullptr);
  KeyboardShortcuts::storeShortcut(kControlOptionSpace, Name("showSidebar"));
  EXPECT_EQ(recorder_->stringValue(), "⇧⌘K");
  KeyboardShortcuts::reset({name});
  EXPECT_EQ(recorder_->stringValue(), "");
  EXPECT_EQ(recorder_->cancelButtonCell(), nullptr);
  // Another control for the same name.
  auto other = KeyboardShortcuts::RecorderCocoa::make(name);
  window_->contentView()->addSubview(other);
  appkit::makeFirstResponder(*window_, other);
  send(keyDown(kSpace, kControlOption, " "));
  EXPECT_EQ(recorder_->stringValue(), "⌃⌥⎵");
  EXPECT_TRUE(changes_.empty());
}

TEST_F(RecorderControl, AnotherNameShowsThatNamesShortcut) {
  KeyboardShortcuts::storeShortcut(kControlOptionSpace, Name("showSidebar"));
  makeRecorder();
  recorder_->setShortcutName(Name("showSidebar"));
  EXPECT_EQ(recorder_->shortcutName().rawValue, "showSidebar");
  EXPECT_EQ(recorder_->stringValue(), "⌃⌥⎵");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, Name("openChat"));
  EXPECT_EQ(recorder_->stringValue(), "⌃⌥⎵");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, Name("showSidebar"));
  EXPECT_EQ(recorder_->stringValue(), "⇧⌘K");
}

TEST_F(RecorderControl, JoinsTheKeyViewLoopFromTheTurnAfterItWasPutIntoAWindow) {
  auto loose = KeyboardShortcuts::RecorderCocoa::make(Name("openChat"));
  loose->noteWindowChange();
  mainLoop_.loop().runUntilIdle();
  EXPECT_FALSE(loose->canBecomeKeyView());

  makeRecorder();
  EXPECT_FALSE(recorder_->canBecomeKeyView());
  mainLoop_.loop().runUntilIdle();
  EXPECT_TRUE(recorder_->canBecomeKeyView());
}

TEST_F(RecorderControl, RecordingHidesTheCaretAndWatchesKeysAndClicks) {
  makeRecorder();
  ASSERT_TRUE(startRecording());
  EXPECT_EQ(recorder_->placeholderString(), "Press Shortcut");
  ASSERT_NE(recorder_->currentEditor(), nullptr);
  EXPECT_TRUE(recorder_->currentEditor()->isInsertionPointColorClear());
  EXPECT_EQ(KeyboardShortcuts::RecorderCocoa::kRecordedEvents.rawValue, 1044u);
  EXPECT_EQ(appkit::localMonitorCount(), 1u);
}

TEST_F(RecorderControl, DispatchIsPausedExactlyWhileRecording) {
  const Name sidebar("showSidebar");
  KeyboardShortcuts::storeShortcut(kControlOptionSpace, sidebar);
  int runs = 0;
  KeyboardShortcuts::addKeyDownHandler(sidebar, [&] { ++runs; });
  auto press = [&] {
    desktop_.hotKeys().press(kSpace, 0x1800);
    desktop_.hotKeys().release(kSpace, 0x1800);
  };
  makeRecorder();
  press();
  EXPECT_EQ(runs, 1);

  struct Step {
    std::string what;
    std::function<void()> act;
    bool isRecording;
  };
  const Step steps[] = {
      {"focus starts recording", [&] { startRecording(); }, true},
      {"a refused key keeps recording", [&] { send(keyDown(kKeyK, kNone, "k")); }, true},
      {"Escape ends it", [&] { send(keyDown(kEscape, kNone, "\x1b")); }, false},
      {"focus again", [&] { startRecording(); }, true},
      {"Delete keeps recording", [&] { send(keyDown(kDelete, kNone, "\x7f")); }, true},
      {"an accepted shortcut ends it", [&] { send(keyDown(kKeyK, kCommandShift, "K")); }, false},
      {"focus again", [&] { startRecording(); }, true},
      {"a click far away ends it",
       [&] {
         send(appkit::Event::mouseEvent(appkit::EventType::leftMouseUp, {10, 10}));
       },
       false},
      {"focus again", [&] { startRecording(); }, true},
      {"Tab ends it", [&] { send(keyDown(kTab, kNone, "\t")); }, false},
      {"focus again", [&] { startRecording(); }, true},
      {"another view taking focus ends it", [&] { appkit::makeFirstResponder(*window_, nullptr); }, false},
      {"focus again", [&] { startRecording(); }, true},
      {"destroying the control ends it",
       [&] {
         window_->contentView()->setSubviews({});
         recorder_.reset();
       },
       false},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    mainLoop_.loop().runUntilIdle();
    EXPECT_EQ(KeyboardShortcuts::isPaused(), step.isRecording);
    EXPECT_EQ(appkit::localMonitorCount(), step.isRecording ? 1u : 0u);
    const int before = runs;
    press();
    EXPECT_EQ(runs, step.isRecording ? before : before + 1);
  }
}

TEST_F(RecorderControl, ADisabledControlDoesNotRecord) {
  makeRecorder();
  recorder_->setEnabled(false);
  EXPECT_FALSE(startRecording());
  EXPECT_FALSE(KeyboardShortcuts::isPaused());
  EXPECT_EQ(recorder_->placeholderString(), "Record Shortcut");
}

TEST_F(RecorderControl, TheClearButtonClearsAndStartsRecording) {
  KeyboardShortcuts::storeShortcut(kCommandShiftK, Name("openChat"));
  makeRecorder();
  recorder_->cancelButtonCell()->performClick(recorder_.get());
  EXPECT_EQ(stored(), foundation::PlistValue(false));
  EXPECT_EQ(recorder_->stringValue(), "");
  EXPECT_EQ(recorder_->cancelButtonCell(), nullptr);
  EXPECT_EQ(changes_, std::vector<std::string>{"none"});
  EXPECT_TRUE(isFirstResponder());
  EXPECT_TRUE(KeyboardShortcuts::isPaused());
}

TEST_F(RecorderControl, MissingTextsShowTheirKeys) {
  const auto empty = folder_ / "empty-resources";
  std::filesystem::create_directories(empty);
  foundation::Bundle::setMainResourceDirectory(empty);
  auto menu = std::make_shared<appkit::Menu>();
  menu->addItem("Quit Quillo", "q");
  appkit::setMainMenu(menu);
  makeRecorder();
  EXPECT_EQ(recorder_->placeholderString(), "record_shortcut");
  startRecording();
  EXPECT_EQ(recorder_->placeholderString(), "press_shortcut");
  send(keyDown(kKeyQ, kCommand, "q"));
  desktop_.hotKeys().setSymbolicHotKeys(foundation::PlistValue(
      foundation::PlistValue::Array{desktop::HeadlessHotKeys::symbolicHotKey(true, kSpace, 0x100)}));
  send(keyDown(kSpace, kCommand, " "));
  foundation::Bundle::setMainResourceDirectory(std::nullopt);
  const auto alerts = desktop_.alerts().alerts();
  ASSERT_EQ(alerts.size(), 2u);
  EXPECT_EQ(alerts[0].messageText, "keyboard_shortcut_used_by_menu_item");
  EXPECT_EQ(alerts[1].messageText, "keyboard_shortcut_used_by_system");
  EXPECT_EQ(alerts[1].informativeText, "keyboard_shortcuts_can_be_changed");
}

TEST(RecorderText, FormatsWithOneTextArgument) {
  struct Case {
    std::string format;
    std::string expected;
  };
  const Case cases[] = {
      {"Used by “%@”.", "Used by “Quit %@ 100%”."},
      {"Used by %1$@!", "Used by Quit %@ 100%!"},
      {"100%% taken by %@", "100% taken by Quit %@ 100%"},
      {"%@ and %@", "Quit %@ 100% and %@"},
      {"no argument %d %", "no argument %d %"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_EQ(KeyboardShortcuts::formatWithText(c.format, "Quit %@ 100%"), c.expected);
  }
}

TEST(MenuConflict, FindsTheFirstItemDepthFirstWithExactlyTheShortcutsModifiers) {
  auto menu = std::make_shared<appkit::Menu>("Main");
  auto file = std::make_shared<appkit::Menu>("File");
  file->addItem("New Chat", "n");
  auto more = std::make_shared<appkit::Menu>("More");
  more->addItem("Deep Save", "s");
  file->addItem("More")->setSubmenu(more);
  menu->addItem("File")->setSubmenu(file);
  menu->addItem("Top Save", "s");
  auto optionItem = menu->addItem("Option K", "k");
  optionItem->setKeyEquivalentModifierMask(appkit::ModifierFlags::command | appkit::ModifierFlags::option);
  menu->addItem("Capital B", "B");
  menu->addItem("Shift C", "c")
      ->setKeyEquivalentModifierMask(appkit::ModifierFlags::command | appkit::ModifierFlags::shift);
  menu->addItem("Function key", Shortcut(kF5, 0x100).menuKeyEquivalent());
  menu->addItem("Return", "\r");

  struct Case {
    Shortcut shortcut;
    std::optional<std::string> title;
  };
  const Case cases[] = {
      {Shortcut(45, 0x100), "New Chat"},         // ⌘N
      {Shortcut(1, 0x100), "Deep Save"},         // ⌘S: the submenu comes first
      {Shortcut(kKeyK, 0x100), std::nullopt},    // ⌘K: the item wants ⌥ as well
      {Shortcut(kKeyK, 0x900), "Option K"},      // ⌥⌘K
      {Shortcut(11, 0x300), "Capital B"},        // ⇧⌘B
      {Shortcut(11, 0x100), std::nullopt},       // ⌘B
      {Shortcut(8, 0x300), "Shift C"},           // ⇧⌘C
      {Shortcut(kF5, 0x100), std::nullopt},      // function keys are never found
      {Shortcut(kReturn, 0x100), std::nullopt},  // nor Return
      {Shortcut(45, 0x1100), std::nullopt},      // ⌃⌘N
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shortcut.description());
    auto found = KeyboardShortcuts::findMenuConflict(*menu, c.shortcut);
    EXPECT_EQ(found ? std::optional<std::string>(found->title()) : std::nullopt, c.title);
  }
}

}  // namespace
}  // namespace recorder_test
