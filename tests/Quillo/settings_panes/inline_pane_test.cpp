// The Inline pane as a person uses it: what is usable with and without a key and the permission, the
// how-to line, the three pickers and the permission request.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/settings_panes/inline_settings_pane.h"
#include "platform/foundation/bundle.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "tests/Quillo/settings_panes/settings_panes_environment.h"

namespace {

using namespace settingspanestest;
using ui::testing::Host;
using ui::testing::WindowHost;
namespace q = ui::testing;

using InlinePane = SettingsPaneTest;

const char* const kHowToDefault =
    "Type \"+gpt\" in any text field, followed by your prompt. Press Shift-Return and watch Quillo Inline do "
    "its "
    "magic. 💫";

Quillo::InlineSettingsView inlinePane(bool isGranted) {
  using namespace Quillo;
  return InlineSettingsView(
      ui::Binding<bool>::constant(isGranted), Defaults::Default<bool>(Keys::isNativeGPTEnabled()),
      Defaults::Default<std::string>(Keys::globalGPTKey()), Defaults::Default<std::string>(Keys::apiKey()),
      Defaults::Default<Quillo::InlineTrigger>(Keys::inlineTrigger()),
      Defaults::Default<Quillo::Model>(Keys::inlineApiModel()));
}

TEST_F(InlinePane, WithoutAKeyEverythingIsDisabledAndTheWarningShowsEvenWithThePermission) {
  WindowHost host{inlinePane(true)};
  EXPECT_FALSE(host.find(q::toggle("Enable Quillo Inline")).isEnabled());
  for (const char* picker : {"Inline API Model:", "Trigger word:", "Trigger method:"}) {
    SCOPED_TRACE(picker);
    EXPECT_FALSE(host.find(q::picker(picker)).isEnabled());
  }
  EXPECT_TRUE(host.exists(q::text("⚠️ You need to add your OpenAI API key to use this feature.")));
  EXPECT_TRUE(host.exists(q::text("✅ Accessibility granted")));
}

TEST_F(InlinePane, WithAKeyButNoPermissionOnlyTheSwitchIsDisabled) {
  Defaults::set(Quillo::Keys::apiKey(), std::string(" "));  // blanks count as a key
  WindowHost host{inlinePane(false)};
  EXPECT_FALSE(host.find(q::toggle("Enable Quillo Inline")).isEnabled());
  for (const char* picker : {"Inline API Model:", "Trigger word:", "Trigger method:"}) {
    SCOPED_TRACE(picker);
    EXPECT_TRUE(host.find(q::picker(picker)).isEnabled());
  }
  EXPECT_FALSE(host.exists(q::text("⚠️ You need to add your OpenAI API key to use this feature.")));
  EXPECT_TRUE(host.exists(q::text("⚠️ Accessibility not granted")));
  EXPECT_TRUE(host.exists(q::button("Grant Accessibility Privileges")));
}

TEST_F(InlinePane, WithAKeyAndThePermissionTheSwitchTurnsInlineOn) {
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-key"));
  WindowHost host{inlinePane(true)};
  host.click(q::toggle("Enable Quillo Inline"));
  EXPECT_TRUE(Defaults::get(Quillo::Keys::isNativeGPTEnabled()));
  host.click(q::toggle("Enable Quillo Inline"));
  EXPECT_FALSE(Defaults::get(Quillo::Keys::isNativeGPTEnabled()));
}

TEST_F(InlinePane, ADisabledSwitchStillShowsTheStoredValue) {
  Defaults::set(Quillo::Keys::isNativeGPTEnabled(), true);
  WindowHost host{inlinePane(false)};
  auto toggle = host.find(q::toggle("Enable Quillo Inline"));
  EXPECT_TRUE(toggle.primitive<ui::detail::ToggleSpec>()->isOn.get());
  host.click(toggle);
  EXPECT_TRUE(Defaults::get(Quillo::Keys::isNativeGPTEnabled()));
  EXPECT_EQ(host.firstResponder(), nullptr);
}

TEST_F(InlinePane, TheHowToLineFollowsTheTriggerWordAndKey) {
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-key"));
  WindowHost host{inlinePane(true)};
  EXPECT_TRUE(host.exists(q::text(kHowToDefault)));
  host.select(host.find(q::picker("Trigger method:")), "Return");
  EXPECT_EQ(Defaults::get(Quillo::Keys::inlineTrigger()), Quillo::InlineTrigger::normalReturn);
  host.select(host.find(q::picker("Trigger word:")), "/gpt");
  EXPECT_EQ(Defaults::get(Quillo::Keys::globalGPTKey()), "/gpt");
  EXPECT_TRUE(
      host.exists(q::text("Type \"/gpt\" in any text field, followed by your prompt. Press Return and "
                          "watch Quillo Inline do its magic. 💫")));
}

TEST_F(InlinePane, PickersOfferTheirFixedOptions) {
  WindowHost host{inlinePane(true)};
  EXPECT_EQ(optionTitles(host.find(q::picker("Trigger word:"))),
            (std::vector<std::string>{"+gpt", ":gpt", "/gpt", ".gpt", "-gpt"}));
  EXPECT_EQ(optionTitles(host.find(q::picker("Trigger method:"))),
            (std::vector<std::string>{"Return", "Shift-Return"}));
  EXPECT_EQ(selectedTitle(host.find(q::picker("Trigger method:"))), "Shift-Return");
  EXPECT_EQ(optionTitles(host.find(q::picker("Inline API Model:"))),
            (std::vector<std::string>{"GPT-3.5-turbo", "GPT-3.5-turbo-1106", "GPT-3.5 16k", "GPT-4",
                                      "GPT-4 Turbo", "GPT-4 (0125 Preview)"}));
}

TEST_F(InlinePane, StoredValuesOutsideTheOptionsShowNoSelectionAndTheHowToQuotesTheStoredWord) {
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-key"));
  Defaults::set(Quillo::Keys::globalGPTKey(), std::string("!ask"));
  Defaults::set(Quillo::Keys::inlineApiModel(), Quillo::Model::turbo31);
  WindowHost host{inlinePane(true)};
  EXPECT_EQ(selectedTitle(host.find(q::picker("Trigger word:"))), "");
  EXPECT_EQ(selectedTitle(host.find(q::picker("Inline API Model:"))), "");
  EXPECT_TRUE(host.exists(q::textContaining("Type \"!ask\" in any text field")));
  host.select(host.find(q::picker("Inline API Model:")), "GPT-4 Turbo");
  EXPECT_EQ(Defaults::get(Quillo::Keys::inlineApiModel()), Quillo::Model::gpt4turbo128);
}

TEST_F(InlinePane, TheGrantButtonAsksTheDesktopToPromptAndThePaneWaitsForTheAnswer) {
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-key"));
  WindowHost host{inlinePane(false)};
  const auto before = host.dump();
  host.click(q::button("Grant Accessibility Privileges"));
  EXPECT_EQ(host.desktop().permissionRequests(), std::vector<std::string>{"accessibility"});
  EXPECT_EQ(host.dump(), before);

  // Already trusted, the system does not prompt again, and the pane still changes only with its flag.
  host.desktop().setPermissionGranted("accessibility", true);
  host.click(q::button("Grant Accessibility Privileges"));
  EXPECT_EQ(host.desktop().permissionRequests().size(), 1u);
  EXPECT_TRUE(host.exists(q::text("⚠️ Accessibility not granted")));
}

TEST_F(InlinePane, TheHowToLineAndTheOptionTitlesComeFromTheStringTableButNamesDoNot) {
  foundation::Bundle::setMainResourceDirectory(std::string(QUILLO_TEST_DIR) + "/fixtures/Resources");
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-key"));
  {
    WindowHost host{inlinePane(true)};
    EXPECT_TRUE(host.exists(q::text("Schreibe \"+gpt\" in ein Textfeld und drücke Shift-Return. 💫")));
    // Model names, trigger words and key names are shown as they stand, whatever the table says.
    EXPECT_EQ(optionTitles(host.find(q::picker("Inline-Modell:")))[3], "GPT-4");
    EXPECT_EQ(optionTitles(host.find(q::picker("Trigger method:"))),
              (std::vector<std::string>{"Return", "Shift-Return"}));
  }
  foundation::Bundle::setMainResourceDirectory(std::nullopt);
}

TEST(InlineHowTo, NamesTheTriggerKeys) {
  EXPECT_EQ(Quillo::triggerKeyName(Quillo::InlineTrigger::normalReturn), "Return");
  EXPECT_EQ(Quillo::triggerKeyName(Quillo::InlineTrigger::shiftReturn), "Shift-Return");
}

}  // namespace
