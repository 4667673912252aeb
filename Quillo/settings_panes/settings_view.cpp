#include "Quillo/settings_panes/settings_view.h"

#include <cstdint>
#include <string>
#include <vector>

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/settings_panes/about_settings_pane.h"
#include "Quillo/settings_panes/advanced_settings_pane.h"
#include "Quillo/settings_panes/donate_settings_pane.h"
#include "Quillo/settings_panes/general_settings_pane.h"
#include "Quillo/settings_panes/global_settings_pane.h"
#include "Quillo/settings_panes/inline_settings_pane.h"
#include "Quillo/settings_panes/menu_bar_settings_pane.h"
#include "Quillo/settings_panes/prompt_settings_pane.h"
#include "Quillo/settings_panes/sidebar_settings_pane.h"
#include "Quillo/settings_panes/web_settings_pane.h"
#include "platform/ui/views.h"

namespace Quillo {

ui::AnyView SettingsView::body() const {
  using namespace ui;
  const auto appState = appState_.get();
  Binding<bool> isAccessibilityGranted(
      [appState] { return appState->isAccessibilityGranted.get(); },
      [appState](bool value) { appState->isAccessibilityGranted.set(value); });
  return TabView(
             {
                 {GeneralSettings::tabLabel(), GeneralSettings()},
                 {WebSettings::tabLabel(), WebSettings(AppStorage<bool>("useCustomUserAgent", false),
                                                       Defaults::Default<bool>(Keys::webDefaultToGPT4()))},
                 {MenuBarSettings::tabLabel(),
                  MenuBarSettings(AppStorage<std::int64_t>("size", 1),
                                  Defaults::Default<std::string>(Keys::menubarIconName()),
                                  {"menubar", "menubar2", "menubar3"})},
                 {GlobalSettings::tabLabel(), GlobalSettings()},
                 {InlineSettingsView::tabLabel(),
                  InlineSettingsView(isAccessibilityGranted,
                                     Defaults::Default<bool>(Keys::isNativeGPTEnabled()),
                                     Defaults::Default<std::string>(Keys::globalGPTKey()),
                                     Defaults::Default<std::string>(Keys::apiKey()),
                                     Defaults::Default<InlineTrigger>(Keys::inlineTrigger()),
                                     Defaults::Default<Model>(Keys::inlineApiModel()))},
                 {SidebarSettings::tabLabel(),
                  SidebarSettings(Defaults::Default<bool>(Keys::sidebarAlwaysShowButtons()),
                                  Defaults::Default<double>(Keys::sidebarWidth()))},
                 {PromptSettingsView::tabLabel(), PromptSettingsView()},
                 {AboutSettings::tabLabel(), AboutSettings()},
                 {AdvancedSettings::tabLabel(), AdvancedSettings()},
                 {DonateSettings::tabLabel(), DonateSettings()},
             })
      .frame(460, std::nullopt)
      .padding(50);
}

}  // namespace Quillo
