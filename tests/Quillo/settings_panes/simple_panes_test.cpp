// The Advanced, Prompts and Web panes as a person uses them.
#include <gtest/gtest.h>

#include <string>

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/settings_panes/advanced_settings_pane.h"
#include "Quillo/settings_panes/prompt_settings_pane.h"
#include "Quillo/settings_panes/web_settings_pane.h"
#include "platform/appkit/key_codes.h"
#include "platform/foundation/user_defaults.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "tests/Quillo/settings_panes/settings_panes_environment.h"

namespace {

using namespace settingspanestest;
using ui::testing::Host;
using ui::testing::WindowHost;
namespace q = ui::testing;

using AdvancedPane = SettingsPaneTest;
using PromptsPane = SettingsPaneTest;
using WebPane = SettingsPaneTest;

const char* const kWarning = "⚠️ You need to add your OpenAI API key to use this feature.";

bool isOn(Host& host, const std::string& label) {
  return host.find(q::toggle(label)).primitive<ui::detail::ToggleSpec>()->isOn.get();
}

std::string fieldText(const q::ViewRef& field) {
  return field.primitive<ui::detail::TextInputSpec>()->text.get();
}

TEST_F(AdvancedPane, TheEndpointFieldIsGreyedOutWhileTheCustomAPIIsOffAndKeepsItsAddress) {
  Defaults::set(Quillo::Keys::useCustomAPI(), false);
  Defaults::set(Quillo::Keys::azureKey(), std::string("https://example.azure.test"));
  WindowHost host{Quillo::AdvancedSettings()};
  auto field = host.find(q::textField("Custom Azure Endpoint:"));
  EXPECT_FALSE(field.isEnabled());
  EXPECT_EQ(fieldText(field), "https://example.azure.test");
  // Greyed out: a click gives it no focus and typing reaches nothing.
  host.click(q::textField("Custom Azure Endpoint:"));
  EXPECT_EQ(host.firstResponder(), nullptr);
  host.typeText("/x");
  EXPECT_EQ(Defaults::get(Quillo::Keys::azureKey()), "https://example.azure.test");

  host.click(q::toggle("Use Custom API (Azure)"));
  EXPECT_TRUE(Defaults::get(Quillo::Keys::useCustomAPI()));
  EXPECT_TRUE(host.find(q::textField("Custom Azure Endpoint:")).isEnabled());
  host.click(q::textField("Custom Azure Endpoint:"));
  for (int i = 0; i < 26; ++i) host.press(appkit::KeyCode::deleteBackward);
  host.typeText("http://127.0.0.1:1");
  EXPECT_EQ(Defaults::get(Quillo::Keys::azureKey()), "http://127.0.0.1:1");
  host.tap(q::toggle("Use Custom API (Azure)"));
  EXPECT_EQ(Defaults::get(Quillo::Keys::azureKey()), "http://127.0.0.1:1");
}

TEST_F(AdvancedPane, AFieldInsideADisabledContainerStaysDisabled) {
  Defaults::set(Quillo::Keys::useCustomAPI(), true);
  WindowHost host{ui::AnyView(Quillo::AdvancedSettings()).disabled(true)};
  EXPECT_FALSE(host.find(q::textField("Custom Azure Endpoint:")).isEnabled());
}

TEST_F(PromptsPane, ResetWritesTheTwoSentencePromptNotTheDefault) {
  WindowHost host{Quillo::PromptSettingsView()};
  auto editor = host.find(q::type("TextEditor"));
  EXPECT_EQ(fieldText(editor), Quillo::Keys::defaultCustomSystemPrompt);
  EXPECT_EQ(fieldText(editor).size(), 170u);
  host.tap(q::button("Reset to default"));
  EXPECT_EQ(Defaults::get(Quillo::Keys::customSystemPrompt()), Quillo::kResetSystemPrompt);
  EXPECT_EQ(std::string(Quillo::kResetSystemPrompt).size(), 91u);
  EXPECT_TRUE(foundation::UserDefaults::standard()->objectForKey("customSystemPrompt").has_value());
}

TEST_F(PromptsPane, EditingStoresEveryChangeAndAnEmptyPromptIsKept) {
  WindowHost host{Quillo::PromptSettingsView()};
  host.setText(host.find(q::type("TextEditor")), "");
  EXPECT_EQ(Defaults::get(Quillo::Keys::customSystemPrompt()), "");
  host.type(host.find(q::type("TextEditor")), "Be brief.");
  EXPECT_EQ(Defaults::get(Quillo::Keys::customSystemPrompt()), "Be brief.");
}

TEST_F(PromptsPane, TheWarningFollowsTheStoredKeyWhileThePaneIsOpen) {
  WindowHost host{Quillo::PromptSettingsView()};
  EXPECT_TRUE(host.exists(q::text(kWarning)));
  Defaults::set(Quillo::Keys::apiKey(), std::string("   "));  // blanks count as a key
  host.settle();
  EXPECT_FALSE(host.exists(q::text(kWarning)));
  Defaults::set(Quillo::Keys::apiKey(), std::string());
  host.settle();
  EXPECT_TRUE(host.exists(q::text(kWarning)));
}

TEST_F(WebPane, BothSwitchesStartOffAndWriteWhereTheWebChatReadsThem) {
  WindowHost host{Quillo::WebSettings(ui::AppStorage<bool>("useCustomUserAgent", false),
                                      Defaults::Default<bool>(Quillo::Keys::webDefaultToGPT4()))};
  EXPECT_FALSE(isOn(host, "Use Custom User Agent"));
  EXPECT_FALSE(isOn(host, "Default to GPT-4"));
  host.tap(q::toggle("Use Custom User Agent"));
  EXPECT_EQ(foundation::UserDefaults::standard()->objectForKey("useCustomUserAgent")->boolValue(), true);
  host.tap(q::toggle("Default to GPT-4"));
  EXPECT_TRUE(Defaults::get(Quillo::Keys::webDefaultToGPT4()));
  EXPECT_TRUE(
      host.exists(q::text("Automatically select GPT-4 from the model picker when the page loads. This "
                          "requires a ChatGPT Plus subscription")));
}

}  // namespace
