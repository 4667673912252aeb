// The Global, Sidebar and Menu Bar panes as a person uses them: the shortcut recorders, pickers, switches
// and the number field.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "KeyboardShortcuts/recorder/recorder.h"
#include "KeyboardShortcuts/recorder/recorder_cocoa.h"
#include "KeyboardShortcuts/registry.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/settings_panes/global_settings_pane.h"
#include "Quillo/settings_panes/menu_bar_settings_pane.h"
#include "Quillo/settings_panes/sidebar_settings_pane.h"
#include "platform/appkit/controls.h"
#include "platform/appkit/key_codes.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/run_loop.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "tests/Quillo/settings_panes/settings_panes_environment.h"

namespace {

using namespace settingspanestest;
using ui::testing::Host;
using ui::testing::WindowHost;
namespace q = ui::testing;

class RecorderPanes : public SettingsPaneTest {
 protected:
  void SetUp() override {
    SettingsPaneTest::SetUp();
    KeyboardShortcuts::detail::resetRegistryForTesting();
  }
  void TearDown() override {
    KeyboardShortcuts::detail::resetRegistryForTesting();
    SettingsPaneTest::TearDown();
  }

  // The recorder control of the pane (there is one per pane).
  static std::shared_ptr<KeyboardShortcuts::RecorderCocoa> recorderControl(WindowHost& host) {
    return std::dynamic_pointer_cast<KeyboardShortcuts::RecorderCocoa>(
        host.platformView(host.find(q::type("RecorderRepresentable"))));
  }
};

using GlobalPane = RecorderPanes;
using SidebarPane = RecorderPanes;
using MenuBarPane = RecorderPanes;

const char* const kWarning = "⚠️ You need to add your OpenAI API key to use this feature.";

std::string fieldText(Host& host, const std::string& title) {
  return host.find(q::textField(title)).primitive<ui::detail::TextInputSpec>()->text.get();
}

// What a field shows in the window (while a person types, not yet what is stored).
std::string shownText(WindowHost& host, const std::string& title) {
  return std::dynamic_pointer_cast<appkit::TextField>(host.platformView(host.find(q::textField(title))))
      ->stringValue();
}

Quillo::SidebarSettings sidebarPane() {
  return Quillo::SidebarSettings(Defaults::Default<bool>(Quillo::Keys::sidebarAlwaysShowButtons()),
                                 Defaults::Default<double>(Quillo::Keys::sidebarWidth()));
}

Quillo::MenuBarSettings menuBarPane() {
  return Quillo::MenuBarSettings(ui::AppStorage<std::int64_t>("size", 1),
                                 Defaults::Default<std::string>(Quillo::Keys::menubarIconName()),
                                 {"menubar", "menubar2", "menubar3"});
}

TEST_F(GlobalPane, AFreshInstallationDisablesTheRecorderAndPickerAndWarns) {
  WindowHost host{Quillo::GlobalSettings()};
  auto recorder = host.find(q::type<KeyboardShortcuts::Recorder>());
  EXPECT_FALSE(recorder.isEnabled());
  EXPECT_TRUE(recorder.exists(q::text("Toggle Global:")));
  ASSERT_NE(recorderControl(host), nullptr);
  EXPECT_EQ(recorderControl(host)->shortcutName().rawValue, "showSpotlight");
  EXPECT_EQ(recorderControl(host)->stringValue(), "");
  auto picker = host.find(q::picker("Global API Model:"));
  EXPECT_FALSE(picker.isEnabled());
  EXPECT_EQ(selectedTitle(picker), "GPT-3.5-turbo");
  EXPECT_EQ(optionTitles(picker),
            (std::vector<std::string>{"GPT-3.5-turbo", "GPT-3.5-turbo-1106", "GPT-3.5 16k", "GPT-4",
                                      "GPT-4 Turbo", "GPT-4 (0125 Preview)"}));
  EXPECT_EQ(fieldText(host, "Max Characters to speak"), "200");
  EXPECT_FALSE(host.find(q::textField("Max Characters to speak")).isEnabled());
  EXPECT_TRUE(host.exists(q::text(kWarning)));
}

TEST_F(GlobalPane, AKeyOfOneSpaceEnablesTheRecorderAndPickerLive) {
  WindowHost host{Quillo::GlobalSettings()};
  Defaults::set(Quillo::Keys::apiKey(), std::string(" "));
  host.settle();
  EXPECT_TRUE(host.find(q::type<KeyboardShortcuts::Recorder>()).isEnabled());
  EXPECT_TRUE(host.find(q::picker("Global API Model:")).isEnabled());
  EXPECT_FALSE(host.exists(q::text(kWarning)));
  host.select(host.find(q::picker("Global API Model:")), "GPT-4");
  EXPECT_EQ(Defaults::get(Quillo::Keys::globalApiModel()), Quillo::Model::gpt4);
}

TEST_F(GlobalPane, TheOldSnapshotShowsNoSelectionAndStaysStored) {
  Defaults::set(Quillo::Keys::globalApiModel(), Quillo::Model::turbo31);
  WindowHost host{Quillo::GlobalSettings()};
  EXPECT_EQ(selectedTitle(host.find(q::picker("Global API Model:"))), "");
  EXPECT_EQ(Defaults::get(Quillo::Keys::globalApiModel()), Quillo::Model::turbo31);
}

TEST_F(GlobalPane, WithoutAKeyTheRecorderTakesNeitherFocusNorAShortcut) {
  WindowHost host{Quillo::GlobalSettings()};
  auto recorder = recorderControl(host);
  ASSERT_NE(recorder, nullptr);
  EXPECT_FALSE(recorder->isEnabled());
  host.click(q::type("RecorderRepresentable"));
  EXPECT_EQ(host.firstResponder(), nullptr);
  EXPECT_FALSE(recorder->isRecording());
  host.press(17, appkit::ModifierFlags::command | appkit::ModifierFlags::option, "t");
  EXPECT_FALSE(KeyboardShortcuts::readStoredShortcut(KeyboardShortcuts::Name("showSpotlight")).has_value());
  // Tab passes it by as well.
  host.pressTab();
  EXPECT_NE(host.firstResponder(), recorder);
}

TEST_F(GlobalPane, WithAKeyTheRecorderRecordsAndLosingTheKeyEndsTheRecording) {
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-key"));
  WindowHost host{Quillo::GlobalSettings()};
  auto recorder = recorderControl(host);
  host.click(q::type("RecorderRepresentable"));
  EXPECT_TRUE(recorder->isRecording());
  host.press(17, appkit::ModifierFlags::command | appkit::ModifierFlags::option, "t");
  EXPECT_TRUE(KeyboardShortcuts::readStoredShortcut(KeyboardShortcuts::Name("showSpotlight")).has_value());

  host.click(q::type("RecorderRepresentable"));
  EXPECT_TRUE(recorder->isRecording());
  Defaults::set(Quillo::Keys::apiKey(), std::string(""));
  host.settle();
  EXPECT_FALSE(recorder->isEnabled());
  EXPECT_FALSE(recorder->isRecording());
  EXPECT_EQ(host.firstResponder(), nullptr);
}

TEST_F(GlobalPane, TheSpeakingLimitIsStoredWhenCommittedAndABadEntryShowsTheStoredNumber) {
  WindowHost host{Quillo::GlobalSettings()};
  host.click(q::textField("Max Characters to speak"));
  EXPECT_EQ(host.firstResponder(), nullptr);  // disabled while speech is off
  host.click(q::toggle("Speak Response"));
  EXPECT_TRUE(Defaults::get(Quillo::Keys::speakGlobalOutLoud()));

  const auto field = q::textField("Max Characters to speak");
  const auto retype = [&](const std::string& text) {
    host.click(field);
    for (int i = 0; i < 25; ++i) host.press(appkit::KeyCode::deleteBackward);
    host.typeText(text);
  };
  struct Case {
    const char* typed;
    bool byReturn;  // otherwise by moving focus on with Tab
    std::int64_t stored;
    const char* shown;
  };
  const Case cases[] = {{"350", true, 350, "350"},  {"0", false, 0, "0"},  {"-5", true, -5, "-5"},
                        {"twelve", true, -5, "-5"}, {"", false, -5, "-5"}, {"12.5", false, -5, "-5"},
                        {" 42 ", true, 42, "42"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    retype(c.typed);
    EXPECT_EQ(shownText(host, "Max Characters to speak"), c.typed);
    if (c.byReturn) {
      host.pressReturn();
    } else {
      host.pressTab();
    }
    EXPECT_EQ(Defaults::get(Quillo::Keys::maxLengthForSpeaking()), c.stored);
    EXPECT_EQ(shownText(host, "Max Characters to speak"), c.shown);
  }
  host.click(q::toggle("Speak Response"));
  EXPECT_FALSE(host.find(field).isEnabled());
  host.click(q::toggle("Speak Response"));
  EXPECT_EQ(fieldText(host, "Max Characters to speak"), "42");
  host.click(q::toggle("Conversation Mode"));
  EXPECT_TRUE(Defaults::get(Quillo::Keys::conversationModeEnabled()));
}

TEST_F(SidebarPane, AFreshInstallationShowsMediumAndAnEmptyRecorder) {
  WindowHost host{sidebarPane()};
  auto width = host.find(q::picker("Sidebar Width"));
  EXPECT_EQ(optionTitles(width), (std::vector<std::string>{"Small", "Medium", "Large", "Huge"}));
  EXPECT_EQ(selectedTitle(width), "Medium");
  EXPECT_FALSE(host.find(q::toggle("Show Sidebar Button")).primitive<ui::detail::ToggleSpec>()->isOn.get());
  ASSERT_NE(recorderControl(host), nullptr);
  EXPECT_EQ(recorderControl(host)->shortcutName().rawValue, "showSidebar");
  EXPECT_TRUE(host.exists(q::text("Toggle Sidebar:")));
}

TEST_F(SidebarPane, ChoosingAWidthStoresItsPointsAndAnUnknownWidthShowsNoSelection) {
  WindowHost host{sidebarPane()};
  host.select(host.find(q::picker("Sidebar Width")), "Huge");
  EXPECT_EQ(Defaults::get(Quillo::Keys::sidebarWidth()), 800.0);
  Defaults::set(Quillo::Keys::sidebarWidth(), 512.0);  // the sidebar's own menu or a hand edit
  host.settle();
  EXPECT_EQ(selectedTitle(host.find(q::picker("Sidebar Width"))), "");
  host.tap(q::toggle("Show Sidebar Button"));
  EXPECT_TRUE(Defaults::get(Quillo::Keys::sidebarAlwaysShowButtons()));
}

TEST_F(MenuBarPane, AFreshInstallationShowsMediumAndTheFirstIcon) {
  WindowHost host{menuBarPane()};
  auto width = host.find(q::picker("Menu View Width:"));
  EXPECT_EQ(optionTitles(width), (std::vector<std::string>{"Small", "Medium", "Wide"}));
  EXPECT_EQ(selectedTitle(width), "Medium");
  EXPECT_EQ(selectedTitle(host.find(q::picker("Menu Bar Icon:"))), "menubar");
  ASSERT_NE(recorderControl(host), nullptr);
  EXPECT_EQ(recorderControl(host)->shortcutName().rawValue, "openChat");
  EXPECT_TRUE(host.exists(q::text("Open menu bar view:")));
}

TEST_F(MenuBarPane, TheIconsAreSegmentsOfTheirImagesAndAClickOnOneStoresItAndPostsUpdateMenuOnce) {
  int posts = 0;
  auto token = foundation::NotificationCenter::defaultCenter().addObserver(
      "updateMenu", nullptr, nullptr, [&posts](const foundation::Notification&) { ++posts; });
  WindowHost host{menuBarPane()};
  auto control = std::dynamic_pointer_cast<appkit::SegmentedControl>(
      host.platformView(host.find(q::picker("Menu Bar Icon:"))));
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->imageNames(), (std::vector<std::string>{"menubar", "menubar2", "menubar3"}));
  EXPECT_TRUE(control->areImagesTemplates());
  EXPECT_EQ(control->selectedSegment(), 0);
  EXPECT_LE(host.frame(q::picker("Menu Bar Icon:")).width(), 200);
  // Each image sits in a segment of its own, side by side, with a margin of 2 points around it.
  const auto area = control->convertRectToView(control->bounds(), nullptr);
  const auto images = host.findAll(q::type("Image"));
  ASSERT_EQ(images.size(), 3u);
  for (std::size_t i = 0; i < images.size(); ++i) {
    const auto segment = host.frame(images[i].parent().value());
    EXPECT_DOUBLE_EQ(segment.midX(), area.minX() + area.width() * (static_cast<double>(i) + 0.5) / 3);
    EXPECT_EQ(images[i].padding(), (ui::EdgeInsets{2, 2, 2, 2}));
  }
  EXPECT_EQ(posts, 0);

  host.click(images[1]);
  EXPECT_EQ(Defaults::get(Quillo::Keys::menubarIconName()), "menubar2");
  EXPECT_EQ(control->selectedSegment(), 1);
  EXPECT_EQ(posts, 1);
  host.click(images[1]);
  EXPECT_EQ(posts, 1);
  host.select(host.find(q::picker("Menu View Width:")), "Wide");
  EXPECT_EQ(ui::AppStorage<std::int64_t>("size", 1).get(), 2);
  EXPECT_EQ(posts, 1);
}

TEST_F(MenuBarPane, StoredValuesOutsideTheOptionsSelectNothing) {
  ui::AppStorage<std::int64_t>("size", 1).set(5);
  Defaults::set(Quillo::Keys::menubarIconName(), std::string("custom"));
  WindowHost host{menuBarPane()};
  EXPECT_EQ(selectedTitle(host.find(q::picker("Menu View Width:"))), "");
  EXPECT_EQ(selectedTitle(host.find(q::picker("Menu Bar Icon:"))), "");
}

}  // namespace
