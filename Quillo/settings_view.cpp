#include "Quillo/settings_view.h"

#include <cstdint>
#include <string>
#include <vector>

#include "Quillo/about_settings_pane.h"
#include "Quillo/advanced_settings_pane.h"
#include "Quillo/donate_settings_pane.h"
#include "Quillo/general_settings_pane.h"
#include "Quillo/global_settings_pane.h"
#include "Quillo/inline_settings_pane.h"
#include "Quillo/menu_bar_settings_pane.h"
#include "Quillo/prompt_settings_pane.h"
#include "Quillo/settings_keys.h"
#include "Quillo/sidebar_settings_pane.h"
#include "Quillo/web_settings_pane.h"
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
