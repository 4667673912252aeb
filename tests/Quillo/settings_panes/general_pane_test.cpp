// The General pane as a person uses it: switches, the text size, the API key with its test, the model
// list the test unlocks, the window level, the application mode and the bubble colour.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/settings_panes/general_settings_pane.h"
#include "platform/appkit/application.h"
#include "platform/appkit/color_panel.h"
#include "platform/appkit/controls.h"
#include "platform/ui/app_storage.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "tests/Quillo/settings_panes/settings_panes_environment.h"

namespace {

using namespace settingspanestest;
using ui::testing::Host;
using ui::testing::WindowHost;
namespace q = ui::testing;

using GeneralPane = SettingsPaneTest;

ui::Color dotColor(Host& host) {
  return *host.find(q::type("Circle")).primitive<ui::detail::ShapeSpec>()->fill;
}

const std::vector<std::string> kShortModelList = {"GPT-3.5-turbo", "GPT-3.5 16k"};
const std::vector<std::string> kLongModelList = {
    "GPT-3.5-turbo", "GPT-3.5-turbo-1106", "GPT-3.5 16k", "GPT-4", "GPT-4 Turbo", "GPT-4 (0125 Preview)"};

std::shared_ptr<appkit::StyledWindow> shownWindow(const std::string& title) {
  auto window = std::make_shared<appkit::StyledWindow>(
      foundation::Rect(0, 0, 100, 100), appkit::StyledWindow::StyleMask::titled,
      appkit::StyledWindow::BackingStoreType::buffered, false);
  window->setTitle(title);
  window->orderFront();
  return window;
}

TEST_F(GeneralPane, AFreshInstallationShowsTheDefaults) {
  WindowHost host{Quillo::GeneralSettings()};
  waitForKeyProbes(host);
  for (const char* label : {"Show Tokens per message", "Play sound when reply arrives in background",
                            "Show Markdown & Code Syntax", "Always On Top"}) {
    SCOPED_TRACE(label);
    EXPECT_FALSE(host.find(q::toggle(label)).primitive<ui::detail::ToggleSpec>()->isOn.get());
  }
  EXPECT_TRUE(
      host.find(q::toggle("Show Full App & Dock Icon")).primitive<ui::detail::ToggleSpec>()->isOn.get());
  auto textSize = host.find(q::picker("Text Size"));
  EXPECT_EQ(optionTitles(textSize), (std::vector<std::string>{"Small", "Medium", "Large", "Xlarge"}));
  EXPECT_EQ(selectedTitle(textSize), "Small");
  EXPECT_EQ(selectedTitle(host.find(q::picker("API Model:"))), "GPT-3.5-turbo");
  EXPECT_EQ(host.find(q::textField("OpenAI API Key:")).primitive<ui::detail::TextInputSpec>()->text.get(),
            "");
}

TEST_F(GeneralPane, SwitchesAndTheTextSizeWriteTheirSettingsAtOnce) {
  WindowHost host{Quillo::GeneralSettings()};
  waitForKeyProbes(host);
  struct Case {
    const char* label;
    const Defaults::Key<bool>& key;
    bool expected;
  };
  const Case cases[] = {
      {"Show Tokens per message", Quillo::Keys::showTokenCount(), true},
      {"Play sound when reply arrives in background", Quillo::Keys::playSoundWhenReplied(), true},
      {"Show Markdown & Code Syntax", Quillo::Keys::enableMarkdown(), true},
      {"Show Full App & Dock Icon", Quillo::Keys::showNormalApp(), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    host.tap(q::toggle(c.label));
    EXPECT_EQ(Defaults::get(c.key), c.expected);
  }
  host.select(host.find(q::picker("Text Size")), "Xlarge");
  EXPECT_EQ(Defaults::get(Quillo::Keys::fontSize()), Quillo::FontSize::xLarge);
  host.tap(q::toggle("Always On Top"));
  EXPECT_EQ(ui::AppStorage<bool>("floatOnTop", false).get(), true);
}

TEST_F(GeneralPane, TheKeyTestRunsWhenThePaneIsShownAndTurnsTheDotGreenWhenGPT35Answers) {
  answerModels({"gpt-3.5-turbo"});
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-user-key"));
  WindowHost host{Quillo::GeneralSettings()};
  waitForKeyProbes(host);
  EXPECT_EQ(dotColor(host), ui::Color::green());
  EXPECT_FALSE(host.exists(q::text("GPT-4")));
  EXPECT_EQ(optionTitles(host.find(q::picker("API Model:"))), kShortModelList);
}

TEST_F(GeneralPane, AKeyWithGPT4AccessShowsTheBadgeAndOffersEveryModelButTheOldSnapshot) {
  answerModels({"gpt-3.5-turbo", "gpt-4"});
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-user-key"));
  WindowHost host{Quillo::GeneralSettings()};
  waitForKeyProbes(host);
  EXPECT_EQ(dotColor(host), ui::Color::green());
  auto badge = host.find(q::text("GPT-4"));
  EXPECT_EQ(badge.help(), "Your API key allows access to GPT-4");
  EXPECT_EQ(optionTitles(host.find(q::picker("API Model:"))), kLongModelList);
}

TEST_F(GeneralPane, AKeyThatNothingAnswersLeavesTheDotYellowAndTheListShort) {
  WindowHost host{Quillo::GeneralSettings()};
  waitForKeyProbes(host);
  EXPECT_EQ(dotColor(host), ui::Color::yellow());
  EXPECT_FALSE(host.exists(q::text("GPT-4")));
  EXPECT_EQ(optionTitles(host.find(q::picker("API Model:"))), kShortModelList);
  EXPECT_EQ(service_->requests().size(), 2u);
}

TEST_F(GeneralPane, TypingAKeyTestsItOnceAfterAQuietFifthOfASecondWithTheTypedKey) {
  answerModels({"gpt-3.5-turbo", "gpt-4"});
  WindowHost host{Quillo::GeneralSettings()};
  waitForKeyProbes(host);
  const auto before = service_->requests().size();
  auto field = host.find(q::textField("OpenAI API Key:"));
  host.type(field, "sk-");
  host.advance(0.1);
  host.type(host.find(q::textField("OpenAI API Key:")), "typed");
  host.advance(0.19);
  EXPECT_EQ(service_->requests().size(), before);
  EXPECT_EQ(Defaults::get(Quillo::Keys::apiKey()), "sk-typed");
  host.advance(0.01);
  waitForKeyProbes(host);
  auto received = receivedKeysAndModels();
  ASSERT_EQ(received.size(), before + 2);
  // With the custom endpoint on, each probe carries the user's own key in "api-key".
  EXPECT_EQ(received[before].first, "sk-typed");
  EXPECT_EQ(received[before + 1].first, "sk-typed");
  EXPECT_EQ(dotColor(host), ui::Color::green());
  EXPECT_TRUE(host.exists(q::text("GPT-4")));
}

TEST_F(GeneralPane, ALateAnswerForAnEarlierKeyDoesNotVouchForTheKeyNowStored) {
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-old"));
  auto gate = holdRepliesFor("sk-old");
  WindowHost host{Quillo::GeneralSettings()};
  ASSERT_TRUE(service_->waitForRequests(2));
  host.setText(host.find(q::textField("OpenAI API Key:")), "sk-new");
  host.advance(0.2);
  ASSERT_TRUE(host.runUntil([] { return Quillo::GeneralSettings::keyProbesInFlight() == 2; }));
  EXPECT_EQ(dotColor(host), ui::Color::yellow());
  gate->open();
  waitForKeyProbes(host);
  EXPECT_EQ(dotColor(host), ui::Color::yellow());
  EXPECT_FALSE(host.exists(q::text("GPT-4")));
}

TEST_F(GeneralPane, PressingTestAPIKeyStartsTwoProbesForGPT35AndGPT4) {
  WindowHost host{Quillo::GeneralSettings()};
  waitForKeyProbes(host);
  answerModels({"gpt-4"});
  host.tap(q::button("Test API Key"));
  waitForKeyProbes(host);
  auto received = receivedKeysAndModels();
  ASSERT_EQ(received.size(), 4u);
  std::vector<std::string> models{received[2].second, received[3].second};
  std::sort(models.begin(), models.end());
  EXPECT_EQ(models, (std::vector<std::string>{"gpt-3.5-turbo", "gpt-4"}));
  EXPECT_EQ(dotColor(host), ui::Color::green());
  EXPECT_EQ(host.find(q::button("Test API Key")).help(), "Test your API key");
}

TEST_F(GeneralPane, AStoredModelOutsideTheShortListStaysStoredAndShowsNoSelection) {
  Defaults::set(Quillo::Keys::apiModel(), Quillo::Model::gpt4);
  WindowHost host{Quillo::GeneralSettings()};
  waitForKeyProbes(host);
  EXPECT_EQ(selectedTitle(host.find(q::picker("API Model:"))), "");
  EXPECT_EQ(Defaults::get(Quillo::Keys::apiModel()), Quillo::Model::gpt4);
  host.select(host.find(q::picker("API Model:")), "GPT-3.5 16k");
  EXPECT_EQ(Defaults::get(Quillo::Keys::apiModel()), Quillo::Model::turbo16k);
}

TEST_F(GeneralPane, AlwaysOnTopFloatsOnlyTheMainAndSettingsWindows) {
  auto main = shownWindow("Quillo");
  auto settings = shownWindow("Quillo Settings");
  auto global = shownWindow("Quillo Global");
  WindowHost host{Quillo::GeneralSettings()};
  waitForKeyProbes(host);
  host.tap(q::toggle("Always On Top"));
  EXPECT_EQ(main->level(), appkit::StyledWindow::Level::floating);
  EXPECT_EQ(settings->level(), appkit::StyledWindow::Level::floating);
  EXPECT_EQ(global->level(), appkit::StyledWindow::Level::normal);
  host.tap(q::toggle("Always On Top"));
  EXPECT_EQ(main->level(), appkit::StyledWindow::Level::normal);
  EXPECT_EQ(settings->level(), appkit::StyledWindow::Level::normal);
}

TEST_F(GeneralPane, MenuBarOnlyModeClosesTheMainWindowAndComingBackOpensNone) {
  auto main = shownWindow("Quillo");
  auto settings = shownWindow("Quillo Settings");
  auto& application = appkit::Application::shared();
  WindowHost host{Quillo::GeneralSettings()};
  waitForKeyProbes(host);
  host.tap(q::toggle("Show Full App & Dock Icon"));
  EXPECT_EQ(application.activationPolicy(), appkit::ActivationPolicy::accessory);
  EXPECT_TRUE(main->isClosed());
  EXPECT_FALSE(settings->isClosed());
  host.tap(q::toggle("Show Full App & Dock Icon"));
  EXPECT_EQ(application.activationPolicy(), appkit::ActivationPolicy::regular);
  EXPECT_EQ(application.windows().size(), 1u);
}

TEST_F(GeneralPane, ResetColorPutsTheUsersBubbleBackToTeal) {
  Defaults::set(Quillo::Keys::userChatColor(), ui::Color::purple());
  WindowHost host{Quillo::GeneralSettings()};
  waitForKeyProbes(host);
  host.tap(q::button("Reset color"));
  EXPECT_EQ(Defaults::get(Quillo::Keys::userChatColor()), ui::Color::teal());
}

TEST_F(GeneralPane, TheBubbleColourIsChosenInTheColourPanelThroughItsWell) {
  auto panel = appkit::ColorPanel::shared();
  panel->close();
  WindowHost host{Quillo::GeneralSettings(), {500, 700}};
  waitForKeyProbes(host);
  const auto picker = host.find(q::type("ColorPicker"));
  EXPECT_EQ(picker.text(), "Your Bubble Color:");
  const auto well = std::dynamic_pointer_cast<appkit::ColorWell>(host.platformView(picker));
  ASSERT_NE(well, nullptr);
  // The well follows its label on the row, showing the stored colour (teal until the user picks one).
  const auto wellFrame = well->convertRectToView(well->bounds(), nullptr);
  EXPECT_GT(wellFrame.minX(), host.frame(q::text("Your Bubble Color:")).maxX());
  const auto teal = ui::Color::teal().resolved(ui::ColorScheme::light);
  EXPECT_EQ(well->color(), (appkit::ColorWell::Components{teal.red, teal.green, teal.blue, teal.opacity}));

  host.click(ui::Point{wellFrame.midX(), wellFrame.midY()});
  ASSERT_TRUE(panel->isVisible());
  EXPECT_TRUE(panel->showsAlpha());
  EXPECT_TRUE(panel->pickColor({0.5, 0.25, 1, 0.75}));
  host.settle();
  EXPECT_EQ(Defaults::get(Quillo::Keys::userChatColor()), ui::Color(0.5, 0.25, 1, 0.75));
  panel->close();

  host.tap(q::button("Reset color"));
  EXPECT_EQ(Defaults::get(Quillo::Keys::userChatColor()), ui::Color::teal());
  EXPECT_EQ(well->color(), (appkit::ColorWell::Components{teal.red, teal.green, teal.blue, teal.opacity}));
}

TEST(TextSizeLabel, CapitalisesTheRawValue) {
  EXPECT_EQ(Quillo::textSizeLabel(Quillo::FontSize::small), "Small");
  EXPECT_EQ(Quillo::textSizeLabel(Quillo::FontSize::xLarge), "Xlarge");
}

}  // namespace
