// The recorder's rules for the events it sees while recording, in their fixed order: what is stored,
// what the control shows, whether dispatch stays paused, beeps and alerts, whether the event passes, and
// what the change action hears.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "KeyboardShortcuts/recorder/recorder_cocoa.h"
#include "KeyboardShortcuts/registry.h"
#include "KeyboardShortcuts/shortcut.h"
#include "platform/appkit/application_menu.h"
#include "platform/appkit/menu_item.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/property_list.h"
#include "recorder_fixture.h"

namespace recorder_test {
namespace {

using foundation::PlistValue;
using KeyboardShortcuts::Shortcut;

const std::string kCommandShiftKJson = R"({"carbonKeyCode":40,"carbonModifiers":768})";

std::optional<PlistValue> json(const std::string& text) { return PlistValue(text); }

// A main menu with the usual items: Quit (⌘Q) under the application menu, and under Edit a capital-A
// item with Command (so ⇧⌘A) and a Return item with Command.
std::shared_ptr<appkit::Menu> standardMainMenu() {
  auto menu = std::make_shared<appkit::Menu>("Main");
  auto app = std::make_shared<appkit::Menu>("Quillo");
  app->addItem("About Quillo");
  app->addItem("Quit Quillo", "q");
  menu->addItem("Quillo")->setSubmenu(app);
  auto edit = std::make_shared<appkit::Menu>("Edit");
  edit->addItem("Select Every Message", "A");
  edit->addItem("Send", "\r");
  menu->addItem("Edit")->setSubmenu(edit);
  return menu;
}

struct Expected {
  std::optional<PlistValue> stored;
  std::string text;
  std::string placeholder;
  bool isRecording;  // first responder, dispatch paused, monitor installed
  std::size_t beeps;
  std::vector<std::string> alertMessages;
  bool passes;
  std::vector<std::string> changes;
};

struct Case {
  std::string what;
  bool hasStoredShortcut;  // ⇧⌘K stored before recording starts
  appkit::Event event;
  Expected expected;
};

class EventFilter : public RecorderTest {};

TEST_F(EventFilter, FollowsTheRulesInOrder) {
  const std::string menuAlert =
      "This keyboard shortcut cannot be used as it's already used by the “%@” menu item.";
  auto menuMessage = [&](const std::string& title) {
    return KeyboardShortcuts::formatWithText(menuAlert, title);
  };
  const std::string systemAlert =
      "This keyboard shortcut cannot be used as it's already a system-wide keyboard shortcut.";
  const std::string record = "Record Shortcut";
  const std::string press = "Press Shortcut";
  const auto kF5Text = Shortcut(kF5, 0).description();
  const auto kShiftF5Text = Shortcut(kF5, 0x200).description();
  const auto kF12Text = Shortcut(kF12, 0).description();

  const Case cases[] = {
      {"a modified key is stored and ends recording",
       false,
       keyDown(kKeyK, kCommandShift, "K"),
       {json(kCommandShiftKJson), "⇧⌘K", record, false, 0, {}, false, {"⇧⌘K"}}},
      {"a new combination replaces the stored one",
       true,
       keyDown(kSpace, kControlOption, " "),
       {json(R"({"carbonKeyCode":49,"carbonModifiers":6144})"), "⌃⌥⎵", record, false, 0, {}, false, {"⌃⌥⎵"}}},
      {"a plain letter beeps",
       false,
       keyDown(kKeyK, kNone, "k"),
       {std::nullopt, "", press, true, 1, {}, false, {}}},
      {"a Shift-only letter beeps",
       true,
       keyDown(kKeyK, kShift, "K"),
       {json(kCommandShiftKJson), "⇧⌘K", press, true, 1, {}, false, {}}},
      {"Caps Lock is no modifier",
       false,
       keyDown(kKeyK, appkit::ModifierFlags::capsLock, "K"),
       {std::nullopt, "", press, true, 1, {}, false, {}}},
      {"Shift-Tab beeps",
       false,
       keyDown(kTab, kShift, "\x19"),
       {std::nullopt, "", press, true, 1, {}, false, {}}},
      {"a function key alone is accepted",
       false,
       functionKeyDown(5, kF5),
       {json(R"({"carbonKeyCode":96,"carbonModifiers":0})"),
        kF5Text,
        record,
        false,
        0,
        {},
        false,
        {kF5Text}}},
      {"Shift with a function key is accepted",
       false,
       functionKeyDown(5, kF5, kShift),
       {json(R"({"carbonKeyCode":96,"carbonModifiers":512})"),
        kShiftF5Text,
        record,
        false,
        0,
        {},
        false,
        {kShiftF5Text}}},
      {"plain F12 is accepted although the system uses it",
       false,
       functionKeyDown(12, kF12),
       {json(R"({"carbonKeyCode":111,"carbonModifiers":0})"),
        kF12Text,
        record,
        false,
        0,
        {},
        false,
        {kF12Text}}},
      {"a system-used combination gives the system alert",
       false,
       functionKeyDown(12, kF12, kCommand),
       {std::nullopt, "", press, true, 0, {systemAlert}, false, {}}},
      {"a disabled system hot key is no conflict",
       false,
       keyDown(kSpace, appkit::ModifierFlags::control, " "),
       {json(R"({"carbonKeyCode":49,"carbonModifiers":4096})"), "⌃⎵", record, false, 0, {}, false, {"⌃⎵"}}},
      {"a menu item's combination gives the menu alert naming it",
       true,
       keyDown(kKeyQ, kCommand, "q"),
       {json(kCommandShiftKJson), "⇧⌘K", press, true, 0, {menuMessage("Quit Quillo")}, false, {}}},
      {"a capital key equivalent means Shift",
       false,
       keyDown(kKeyA, kCommandShift, "A"),
       {std::nullopt, "", press, true, 0, {menuMessage("Select Every Message")}, false, {}}},
      {"without Shift the capital key equivalent does not match",
       false,
       keyDown(kKeyA, kCommand, "a"),
       {json(R"({"carbonKeyCode":0,"carbonModifiers":256})"), "⌘A", record, false, 0, {}, false, {"⌘A"}}},
      {"keys whose equivalent is not their glyph are never found in menus",
       false,
       keyDown(kReturn, kCommand, "\r"),
       {json(R"({"carbonKeyCode":36,"carbonModifiers":256})"), "⌘↩", record, false, 0, {}, false, {"⌘↩"}}},
      {"Escape ends recording unchanged",
       true,
       keyDown(kEscape, kNone, "\x1b"),
       {json(kCommandShiftKJson), "⇧⌘K", record, false, 0, {}, false, {}}},
      {"Tab ends recording and passes on",
       true,
       keyDown(kTab, kNone, "\t"),
       {json(kCommandShiftKJson), "⇧⌘K", record, false, 0, {}, true, {}}},
      {"Delete clears and keeps recording",
       true,
       keyDown(kDelete, kNone, "\x7f"),
       {PlistValue(false), "", press, true, 0, {}, false, {"none"}}},
      {"Forward Delete clears as well",
       true,
       keyDown(kForwardDelete, appkit::ModifierFlags::function,
               appkit::SpecialKey::deleteForward.characters()),
       {PlistValue(false), "", press, true, 0, {}, false, {"none"}}},
      {"Delete on an empty field only swallows the key",
       false,
       keyDown(kDelete, kNone, "\x7f"),
       {std::nullopt, "", press, true, 0, {}, false, {}}},
      {"a click inside the control is swallowed",
       true,
       appkit::Event::mouseEvent(appkit::EventType::leftMouseUp, {150, 60}),
       {json(kCommandShiftKJson), "⇧⌘K", press, true, 0, {}, false, {}}},
      {"a click within 3 points of the control is swallowed",
       true,
       appkit::Event::mouseEvent(appkit::EventType::rightMouseUp, {97.5, 47.5}),
       {json(kCommandShiftKJson), "⇧⌘K", press, true, 0, {}, false, {}}},
      {"a click farther away ends recording and reaches its target",
       true,
       appkit::Event::mouseEvent(appkit::EventType::leftMouseUp, {96.5, 60}),
       {json(kCommandShiftKJson), "⇧⌘K", record, false, 0, {}, true, {}}},
      {"a click below the control ends recording",
       true,
       appkit::Event::mouseEvent(appkit::EventType::leftMouseUp, {150, 75.5}),
       {json(kCommandShiftKJson), "⇧⌘K", record, false, 0, {}, true, {}}},
      {"key releases are not watched",
       false,
       appkit::Event::keyEvent(appkit::EventType::keyUp, kKeyK, kNone, "k"),
       {std::nullopt, "", press, true, 0, {}, true, {}}},
  };

  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    KeyboardShortcuts::detail::resetRegistryForTesting();
    defaults_->removeObject("KeyboardShortcuts_openChat");
    desktop_.alerts().clearRecords();
    appkit::setMainMenu(standardMainMenu());
    desktop_.hotKeys().setSymbolicHotKeys(PlistValue(PlistValue::Array{
        desktop::HeadlessHotKeys::symbolicHotKey(true, kF12, 0),
        desktop::HeadlessHotKeys::symbolicHotKey(true, kF12, 0x100),
        desktop::HeadlessHotKeys::symbolicHotKey(false, kSpace, 0x1000),
    }));
    if (c.hasStoredShortcut)
      KeyboardShortcuts::storeShortcut(Shortcut(kKeyK, 0x300), KeyboardShortcuts::Name("openChat"));
    makeRecorder();
    ASSERT_TRUE(startRecording());
    ASSERT_TRUE(KeyboardShortcuts::isPaused());
    changes_.clear();

    const auto passed = send(c.event);
    mainLoop_.loop().runUntilIdle();

    EXPECT_EQ(stored(), c.expected.stored);
    EXPECT_EQ(recorder_->stringValue(), c.expected.text);
    EXPECT_EQ(recorder_->cancelButtonCell() != nullptr, !c.expected.text.empty());
    EXPECT_EQ(recorder_->placeholderString(), c.expected.placeholder);
    EXPECT_EQ(isFirstResponder(), c.expected.isRecording);
    EXPECT_EQ(KeyboardShortcuts::isPaused(), c.expected.isRecording);
    EXPECT_EQ(recorder_->isRecording(), c.expected.isRecording);
    EXPECT_EQ(appkit::localMonitorCount(), c.expected.isRecording ? 1u : 0u);
    EXPECT_EQ(desktop_.alerts().beepCount(), c.expected.beeps);
    std::vector<std::string> messages;
    for (const auto& alert : desktop_.alerts().alerts()) messages.push_back(alert.messageText);
    EXPECT_EQ(messages, c.expected.alertMessages);
    EXPECT_EQ(passed.has_value(), c.expected.passes);
    if (passed) {
      EXPECT_EQ(*passed, c.event);
    }
    EXPECT_EQ(changes_, c.expected.changes);

    window_->contentView()->setSubviews({});
    recorder_.reset();
    EXPECT_FALSE(KeyboardShortcuts::isPaused());
  }
}

TEST_F(EventFilter, TheMenuAlertIsAWarningSheetOnTheWindowAndRecordingResumes) {
  appkit::setMainMenu(standardMainMenu());
  makeRecorder();
  startRecording();
  desktop_.alerts().scriptAnswers({0});
  EXPECT_EQ(send(keyDown(kKeyQ, kCommand, "q")), std::nullopt);
  const auto alerts = desktop_.alerts().alerts();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].messageText,
            "This keyboard shortcut cannot be used as it's already used by the “Quit Quillo” menu item.");
  EXPECT_EQ(alerts[0].informativeText, "");
  EXPECT_EQ(alerts[0].style, 0u);  // warning
  EXPECT_TRUE(alerts[0].buttonTitles.empty());
  EXPECT_EQ(alerts[0].sheetWindowTitle, std::optional<std::string>("Quillo Settings"));
  EXPECT_EQ(desktop_.alerts().scriptedAnswerCount(), 0u);
  EXPECT_TRUE(isFirstResponder());
  EXPECT_TRUE(KeyboardShortcuts::isPaused());
}

TEST_F(EventFilter, TheSystemAlertSaysTheShortcutsCanBeChangedAndRecordingResumes) {
  desktop_.hotKeys().setSymbolicHotKeys(
      PlistValue(PlistValue::Array{desktop::HeadlessHotKeys::symbolicHotKey(true, kSpace, 0x100)}));
  makeRecorder();
  startRecording();
  // The registry is not paused while the alert is up: recording ended before it.
  std::vector<bool> pausedWhileAlertIsUp;
  mainLoop_.loop().async([&] { pausedWhileAlertIsUp.push_back(KeyboardShortcuts::isPaused()); });
  EXPECT_EQ(send(keyDown(kSpace, kCommand, " ")), std::nullopt);
  EXPECT_EQ(pausedWhileAlertIsUp, std::vector<bool>{false});
  const auto alerts = desktop_.alerts().alerts();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_EQ(alerts[0].informativeText,
            "Most system-wide keyboard shortcuts can be changed in “System Settings › Keyboard › Keyboard "
            "Shortcuts”.");
  EXPECT_EQ(stored(), std::nullopt);
  EXPECT_TRUE(isFirstResponder());
  EXPECT_TRUE(KeyboardShortcuts::isPaused());
}

TEST_F(EventFilter, UnreadableSystemHotKeysGiveNoConflict) {
  desktop_.hotKeys().setSymbolicHotKeys(std::nullopt);
  makeRecorder();
  startRecording();
  send(functionKeyDown(12, kF12, kCommand));
  EXPECT_EQ(KeyboardShortcuts::readStoredShortcut(KeyboardShortcuts::Name("openChat")),
            Shortcut(kF12, 0x100));
  EXPECT_TRUE(desktop_.alerts().alerts().empty());
}

TEST_F(EventFilter, DeleteClearsThroughTheChangeNotificationAndRecordsAgain) {
  const KeyboardShortcuts::Name name("openChat");
  KeyboardShortcuts::storeShortcut(Shortcut(kKeyK, 0x300), name);
  std::vector<std::string> posted;
  auto token = foundation::NotificationCenter::defaultCenter().addObserver(
      KeyboardShortcuts::kShortcutByNameDidChange, nullptr, nullptr, [&](const foundation::Notification& n) {
        posted.push_back(n.userInfoValue<KeyboardShortcuts::Name>("name")->rawValue);
      });
  makeRecorder();
  startRecording();
  send(keyDown(kDelete, kNone, "\x7f"));
  EXPECT_EQ(posted, std::vector<std::string>{"openChat"});
  EXPECT_EQ(KeyboardShortcuts::readStoredShortcut(name), std::nullopt);
  // Recording started anew: the next key press is taken.
  send(keyDown(kKeyK, kCommandShift, "K"));
  EXPECT_EQ(KeyboardShortcuts::readStoredShortcut(name), Shortcut(kKeyK, 0x300));
  EXPECT_EQ(changes_, (std::vector<std::string>{"none", "⇧⌘K"}));
}

TEST_F(EventFilter, EventsAfterRecordingEndedReachNoFilter) {
  makeRecorder();
  startRecording();
  send(keyDown(kEscape, kNone, "\x1b"));
  const auto event = keyDown(kKeyK, kCommandShift, "K");
  EXPECT_EQ(send(event), event);
  EXPECT_EQ(stored(), std::nullopt);
}

}  // namespace
}  // namespace recorder_test
