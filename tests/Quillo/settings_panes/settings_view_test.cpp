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
#include "platform/appkit/key_codes.h"
#include "platform/ui/inspector.h"
#include "platform/ui/layout/layout_pass.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "tests/Quillo/settings_panes/settings_panes_environment.h"

namespace {

using namespace settingspanestest;
using ui::testing::Host;
using ui::testing::WindowHost;
namespace q = ui::testing;

using SettingsWindow = SettingsPaneTest;

ui::AnyView settingsWindow(const std::shared_ptr<Quillo::AppState>& appState) {
  return ui::AnyView(Quillo::SettingsView()).environmentObject(appState);
}

// The window's content size in these tests: the tab view and its margin, with room for the tallest pane.
const ui::Size kWindow{560, 900};

TEST_F(SettingsWindow, ShowsTheTenTabsInTheirFixedOrderWithTheirSymbols) {
  auto appState = Quillo::AppState::make();
  WindowHost host{settingsWindow(appState), kWindow};
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
  // The labels share the bar at the top of the tab view, in order.
  for (std::size_t i = 1; i < expected.size(); ++i) {
    EXPECT_LT(host.frame(q::text(expected[i - 1].first)).maxX(),
              host.frame(q::text(expected[i].first)).minX());
  }
}

TEST_F(SettingsWindow, EachTabShowsItsPanesControlsWhenClickedAndOnlyThose) {
  auto appState = Quillo::AppState::make();
  WindowHost host{settingsWindow(appState), kWindow};
  waitForKeyProbes(host);
  struct Case {
    std::string tab;
    q::ViewQuery control;
  };
  const Case cases[] = {
      {"Web", q::toggle("Use Custom User Agent")},
      {"Menu Bar", q::picker("Menu Bar Icon:")},
      {"Global", q::textField("Max Characters to speak")},
      {"Inline", q::toggle("Enable Quillo Inline")},
      {"Sidebar", q::picker("Sidebar Width")},
      {"Prompts", q::type("TextEditor")},
      {"About", q::button("Roadmap")},
      {"Advanced", q::textField("Custom Azure Endpoint:")},
      {"Donate", q::button("Donate")},
      {"General", q::button("Test API Key")},
  };
  const auto bar = host.frame(q::type("TabView"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tab);
    host.click(q::text(c.tab));
    waitForKeyProbes(host);
    // The pane's control is laid out below the bar, inside the tab view, and is in the window's views.
    const auto control = host.frame(c.control);
    EXPECT_GE(control.minY(), bar.minY() + ui::tabBarHeight);
    EXPECT_LE(control.maxY(), bar.maxY());
    EXPECT_GE(control.minX(), bar.minX());
    EXPECT_LE(control.maxX(), bar.maxX());
    const auto hit = host.hostingView().hitTest({control.midX(), control.midY()});
    ASSERT_NE(hit, nullptr);
    EXPECT_NE(hit->className(), "ui::HostingView");
    // One pane at a time: exactly one tab item holds content.
    std::size_t shown = 0;
    for (const auto& item : host.findAll(q::type("TabItem"))) shown += item.children().size() > 1 ? 1 : 0;
    EXPECT_EQ(shown, 1u);
  }
  EXPECT_FALSE(host.exists(q::button("Donate")));
}

TEST_F(SettingsWindow, ControlTabChoosesTheNextTab) {
  auto appState = Quillo::AppState::make();
  WindowHost host{settingsWindow(appState), kWindow};
  waitForKeyProbes(host);
  host.click(q::textField("OpenAI API Key:"));
  host.press(appkit::KeyCode::tab, appkit::ModifierFlags::control);
  EXPECT_TRUE(host.exists(q::toggle("Use Custom User Agent")));
  host.press(appkit::KeyCode::tab, appkit::ModifierFlags::control | appkit::ModifierFlags::shift);
  waitForKeyProbes(host);
  EXPECT_TRUE(host.exists(q::button("Test API Key")));
}

TEST_F(SettingsWindow, TheTabViewIs460PointsWideInsideAMarginOf50) {
  auto appState = Quillo::AppState::make();
  WindowHost host{settingsWindow(appState), kWindow};
  waitForKeyProbes(host);
  EXPECT_EQ(host.frame(q::type("TabView")), ui::Rect(50, 50, 460, kWindow.height - 100));
}

TEST_F(SettingsWindow, AFreshInstallationShowsMediumWidthAndTheDefaultUserAgent) {
  auto appState = Quillo::AppState::make();
  WindowHost host{settingsWindow(appState), kWindow};
  waitForKeyProbes(host);
  host.click(q::text("Menu Bar"));
  EXPECT_EQ(selectedTitle(host.find(q::picker("Menu View Width:"))), "Medium");
  host.click(q::text("Web"));
  EXPECT_FALSE(host.find(q::toggle("Use Custom User Agent")).primitive<ui::detail::ToggleSpec>()->isOn.get());
  EXPECT_FALSE(foundation::UserDefaults::standard()->objectForKey("size").has_value());
}

TEST_F(SettingsWindow, TheInlinePaneAsksForThePermissionAndFollowsTheAnswer) {
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-key"));
  auto appState = Quillo::AppState::make();
  WindowHost host{settingsWindow(appState), kWindow};
  waitForKeyProbes(host);
  host.click(q::text("Inline"));
  EXPECT_TRUE(host.exists(q::text("⚠️ Accessibility not granted")));
  EXPECT_FALSE(host.find(q::toggle("Enable Quillo Inline")).isEnabled());

  host.click(q::button("Grant Accessibility Privileges"));
  EXPECT_EQ(host.desktop().permissionRequests(), std::vector<std::string>{"accessibility"});
  EXPECT_TRUE(host.exists(q::text("⚠️ Accessibility not granted")));  // asking changes nothing by itself

  // The person allows it in the system's settings; the application's poll marks it in AppState.
  host.desktop().setPermissionGranted("accessibility", true);
  appState->isAccessibilityGranted.set(true);
  host.settle();
  EXPECT_TRUE(host.exists(q::text("✅ Accessibility granted")));
  host.click(q::toggle("Enable Quillo Inline"));
  EXPECT_TRUE(Defaults::get(Quillo::Keys::isNativeGPTEnabled()));
}

}  // namespace
