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
  Host host{Quillo::GlobalSettings()};
  EXPECT_EQ(selectedTitle(host.find(q::picker("Global API Model:"))), "");
  EXPECT_EQ(Defaults::get(Quillo::Keys::globalApiModel()), Quillo::Model::turbo31);
}

TEST_F(GlobalPane, TheSpeakingLimitTakesWholeNumbersOnlyAndSurvivesSwitchingSpeechOff) {
  Host host{Quillo::GlobalSettings()};
  host.tap(q::toggle("Speak Response"));
  EXPECT_TRUE(Defaults::get(Quillo::Keys::speakGlobalOutLoud()));
  struct Case {
    const char* typed;
    std::int64_t stored;
  };
  const Case cases[] = {{"350", 350}, {"0", 0},     {"-5", -5},  {"twelve", -5},
                        {"", -5},     {"12.5", -5}, {" 42 ", 42}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    host.setText(host.find(q::textField("Max Characters to speak")), c.typed);
    EXPECT_EQ(Defaults::get(Quillo::Keys::maxLengthForSpeaking()), c.stored);
  }
  host.tap(q::toggle("Speak Response"));
  EXPECT_FALSE(host.find(q::textField("Max Characters to speak")).isEnabled());
  host.tap(q::toggle("Speak Response"));
  EXPECT_EQ(fieldText(host, "Max Characters to speak"), "42");
  host.tap(q::toggle("Conversation Mode"));
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
  Host host{sidebarPane()};
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

TEST_F(MenuBarPane, PickingAnotherIconStoresItAndPostsUpdateMenuOnce) {
  int posts = 0;
  auto token = foundation::NotificationCenter::defaultCenter().addObserver(
      "updateMenu", nullptr, nullptr, [&posts](const foundation::Notification&) { ++posts; });
  Host host{menuBarPane()};
  EXPECT_EQ(posts, 0);
  host.select(host.find(q::picker("Menu Bar Icon:")), "menubar2");
  EXPECT_EQ(Defaults::get(Quillo::Keys::menubarIconName()), "menubar2");
  EXPECT_EQ(posts, 1);
  host.select(host.find(q::picker("Menu Bar Icon:")), "menubar2");
  EXPECT_EQ(posts, 1);
  host.select(host.find(q::picker("Menu View Width:")), "Wide");
  EXPECT_EQ(ui::AppStorage<std::int64_t>("size", 1).get(), 2);
  EXPECT_EQ(posts, 1);
}

TEST_F(MenuBarPane, StoredValuesOutsideTheOptionsSelectNothing) {
  ui::AppStorage<std::int64_t>("size", 1).set(5);
  Defaults::set(Quillo::Keys::menubarIconName(), std::string("custom"));
  Host host{menuBarPane()};
  EXPECT_EQ(selectedTitle(host.find(q::picker("Menu View Width:"))), "");
  EXPECT_EQ(selectedTitle(host.find(q::picker("Menu Bar Icon:"))), "");
}

TEST(WholeNumberField, ReadsWhatANumberFormatterReads) {
  EXPECT_EQ(Quillo::parsedWholeNumber("200"), 200);
  EXPECT_EQ(Quillo::parsedWholeNumber("-3"), -3);
  EXPECT_EQ(Quillo::parsedWholeNumber("+7"), 7);
  EXPECT_EQ(Quillo::parsedWholeNumber("99999999999999999999"), std::nullopt);
  EXPECT_EQ(Quillo::parsedWholeNumber("1e3"), std::nullopt);
  EXPECT_EQ(Quillo::parsedWholeNumber("+"), std::nullopt);
}

}  // namespace
