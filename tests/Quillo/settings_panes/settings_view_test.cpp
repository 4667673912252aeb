// The settings window's content: ten tabs in a fixed order, its size, and the one value handed in from
// outside the settings store (the Accessibility flag of AppState).
#include "Quillo/settings_panes/settings_view.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Quillo/app/app_state.h"
#include "Quillo/chat_model/settings_keys.h"
#include "platform/ui/inspector.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/views.h"
#include "tests/Quillo/settings_panes/settings_panes_environment.h"

namespace {

using namespace settingspanestest;
using ui::testing::Host;
namespace q = ui::testing;

using SettingsWindow = SettingsPaneTest;

ui::AnyView settingsWindow(const std::shared_ptr<Quillo::AppState>& appState) {
  return ui::AnyView(Quillo::SettingsView()).environmentObject(appState);
}

TEST_F(SettingsWindow, ShowsTheTenTabsInTheirFixedOrderWithTheirSymbols) {
  auto appState = Quillo::AppState::make();
  Host host{settingsWindow(appState)};
  waitForKeyProbes(host);
  std::vector<std::pair<std::string, std::string>> tabs;
  for (const auto& item : host.findAll(q::type("TabItem"))) {
    auto label = item.children().front();
    tabs.emplace_back(label.text(), label.find(q::type("Image")).primitive<ui::detail::ImageSpec>()->name);
  }
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"General", "gear"},
      {"Web", "safari"},
      {"Menu Bar", "menubar.rectangle"},
      {"Global", "star.bubble"},
      {"Inline", "text.badge.star"},
      {"Sidebar", "rectangle.rightthird.inset.filled"},
      {"Prompts", "text.book.closed"},
      {"About", "info.circle"},
      {"Advanced", "gearshape.2.fill"},
      {"Donate", "heart.fill"},
  };
  EXPECT_EQ(tabs, expected);
  EXPECT_TRUE(host.findAll(q::type("TabItem")).front().exists(q::button("Test API Key")));
}

TEST_F(SettingsWindow, TheTabViewIs460PointsWideInsideAMarginOf50) {
  auto appState = Quillo::AppState::make();
  Host host{settingsWindow(appState)};
  waitForKeyProbes(host);
  auto tabView = host.find(q::type("TabView"));
  const auto* frame = tabView.modifier<ui::FrameModifier>();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->width, 460);
  EXPECT_EQ(frame->height, std::nullopt);
  EXPECT_EQ(tabView.padding(), (ui::EdgeInsets{50, 50, 50, 50}));
}

TEST_F(SettingsWindow, AFreshInstallationShowsMediumWidthAndTheDefaultUserAgent) {
  auto appState = Quillo::AppState::make();
  Host host{settingsWindow(appState)};
  waitForKeyProbes(host);
  EXPECT_EQ(selectedTitle(host.find(q::picker("Menu View Width:"))), "Medium");
  EXPECT_FALSE(host.find(q::toggle("Use Custom User Agent")).primitive<ui::detail::ToggleSpec>()->isOn.get());
  EXPECT_FALSE(foundation::UserDefaults::standard()->objectForKey("size").has_value());
}

TEST_F(SettingsWindow, TheInlinePaneShowsThePermissionOnceTheApplicationMarksItGranted) {
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-key"));
  auto appState = Quillo::AppState::make();
  Host host{settingsWindow(appState)};
  waitForKeyProbes(host);
  EXPECT_TRUE(host.exists(q::text("⚠️ Accessibility not granted")));
  EXPECT_FALSE(host.find(q::toggle("Enable Quillo Inline")).isEnabled());
  appState->isAccessibilityGranted.set(true);
  host.settle();
  EXPECT_TRUE(host.exists(q::text("✅ Accessibility granted")));
  EXPECT_TRUE(host.find(q::toggle("Enable Quillo Inline")).isEnabled());
}

}  // namespace
