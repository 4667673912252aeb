// The application's sidebar window, the sidebar hot key's action and the Inline switch: what the delegate
// does at start-up and afterwards, on the manual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Quillo/app/status_bar_delegate.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/common/borderless_window.h"
#include "Quillo/inline/native_gpt_engine.h"
#include "Quillo/sidebar/overlay_hosting_view.h"
#include "Quillo/sidebar/overlay_view.h"
#include "platform/appkit/application.h"
#include "platform/appkit/screen.h"
#include "platform/desktop/permission_service.h"
#include "platform/foundation/log.h"
#include "platform/foundation/notification_center.h"
#include "settings_store/key.h"
#include "tests/Quillo/app/app_world.h"

namespace apptest {
namespace {

namespace q = ui::testing;
using appkit::StyledWindow;
using foundation::Rect;

constexpr const char* kSidebarTitle = "Quillo Sidebar";
const auto kWebView = q::type("WebViewWrapperRepresentable");

class SidebarWindow : public AppTest {
 protected:
  void TearDown() override {
    Quillo::NativeGPTEngine::shared()->stop();
    AppTest::TearDown();
  }
  static std::shared_ptr<StyledWindow> sidebar(const Quillo::StatusBarDelegate& delegate) {
    return delegate.sidebarWindow;
  }
  // Whether the panel is slid in: its page lies on the screen.
  bool isPanelShown(const std::shared_ptr<StyledWindow>& window) {
    auto hosting = std::dynamic_pointer_cast<ui::HostingView>(window->contentView());
    auto views = inspect(window);
    auto frame = hosting->frame(views->find(kWebView).node());
    return frame && frame->minX() < window->frame().width();
  }
  void grantAccessibility(bool isGranted) {
    desktop.setPermissionGranted(desktop::permission::accessibility, isGranted);
  }
};

TEST_F(SidebarWindow, CoversTheFirstScreenTransparentlyAtTheScreenSaverLevel) {
  desktop.setScreens({desktop::Screen(Rect(0, 0, 1512, 982)), desktop::Screen(Rect(1512, 0, 1920, 1080))});
  LaunchedApplication launched;
  const auto window = sidebar(*launched.delegate());
  ASSERT_NE(window, nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<Quillo::BorderlessWindow>(window), nullptr);
  EXPECT_EQ(window->title(), kSidebarTitle);
  EXPECT_EQ(window->frame(), Rect(0, 0, 1512, 982));
  EXPECT_EQ(window->level(), 1000);
  EXPECT_EQ(window->collectionBehavior(), 17u);
  EXPECT_EQ(window->styleMask(), 128u);
  EXPECT_EQ(window->backingType(), StyledWindow::BackingStoreType::buffered);
  EXPECT_FALSE(window->isDeferred());
  EXPECT_EQ(window->backgroundColor(), appkit::Color::clear());
  EXPECT_FALSE(window->isOpaque());
  EXPECT_FALSE(window->hasShadow());
  EXPECT_EQ(window->alphaValue(), 1.0);
  EXPECT_EQ(window->titleVisibility(), StyledWindow::TitleVisibility::hidden);
  EXPECT_TRUE(window->titlebarAppearsTransparent());
  EXPECT_FALSE(window->isMovableByWindowBackground());
  EXPECT_FALSE(window->activatesApplication());
  EXPECT_NE(std::dynamic_pointer_cast<Quillo::OverlayHostingView>(window->contentView()), nullptr);
  EXPECT_EQ(window->contentView()->frame().size, (foundation::Size{1512, 982}));
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->isKeyWindow());
  EXPECT_EQ(windowsTitled(kSidebarTitle), 1u);
  EXPECT_FALSE(isPanelShown(window));
  // The window server knows it, on screen, at its level.
  const auto record = desktop.windowServer().window(window->windowNumber());
  ASSERT_TRUE(record.has_value());
  EXPECT_TRUE(record->isOnScreen);
  EXPECT_EQ(record->level, 1000);
  EXPECT_EQ(record->title, kSidebarTitle);
}

TEST_F(SidebarWindow, TheSidebarActionTwiceSlidesThePanelInAndOutAndLeavesTheWindowKeyEachTime) {
  LaunchedApplication launched;
  const auto& delegate = launched.delegate();
  const auto window = sidebar(*delegate);
  ASSERT_NE(window, nullptr);
  auto other = windowTitled("Quillo");
  ASSERT_NE(other, nullptr);

  other->makeKeyAndOrderFront();
  ASSERT_FALSE(window->isKeyWindow());
  delegate->showSidebarWindow();
  settle();
  EXPECT_TRUE(isPanelShown(window));
  EXPECT_TRUE(window->isKeyWindow());

  other->makeKeyAndOrderFront();
  delegate->showSidebarWindow();
  settle();
  EXPECT_FALSE(isPanelShown(window));
  EXPECT_TRUE(window->isKeyWindow());
}

TEST_F(SidebarWindow, AClickWhereTheSidebarDrawsNothingReachesTheWindowBeneath) {
  LaunchedApplication launched;
  const auto& delegate = launched.delegate();
  const auto window = sidebar(*delegate);
  ASSERT_NE(window, nullptr);
  const Rect screen = window->frame();
  auto beneath = std::make_shared<StyledWindow>(screen, StyledWindow::StyleMask::titled,
                                                StyledWindow::BackingStoreType::buffered, false);
  beneath->setTitle("Beneath");
  beneath->orderFront();
  window->makeKeyAndOrderFront();
  ASSERT_TRUE(window->isKeyWindow());

  // The middle of the screen: the sidebar's clear background only.
  const foundation::Point middle{screen.midX(), screen.midY()};
  desktop.click(middle);
  settle();
  EXPECT_TRUE(beneath->isKeyWindow());
  EXPECT_EQ(desktop.windowServer().windowAt(middle)->title, "Beneath");

  // With the panel shown, a click on its page is the sidebar's.
  delegate->showSidebarWindow();
  settle();
  beneath->makeKeyAndOrderFront();
  auto hosting = std::dynamic_pointer_cast<ui::HostingView>(window->contentView());
  const auto page = *hosting->frame(inspect(window)->find(kWebView).node());
  // Window coordinates grow downwards from the top; the screen's grow upwards from the bottom.
  const foundation::Point onPage{screen.minX() + page.midX(), screen.maxY() - page.midY()};
  desktop.click(onPage);
  settle();
  EXPECT_TRUE(window->isKeyWindow());
  EXPECT_FALSE(beneath->isKeyWindow());

  // The middle of the screen still lets clicks through.
  desktop.click(middle);
  settle();
  EXPECT_TRUE(beneath->isKeyWindow());
  beneath->close();
}

TEST_F(SidebarWindow, WithNoScreenThereIsNoSidebarWindowAndTheActionOnlyPosts) {
  desktop.removeAllScreens();
  foundation::LogCapture log;
  LaunchedApplication launched;
  const auto& delegate = launched.delegate();
  EXPECT_EQ(delegate->sidebarWindow, nullptr);
  EXPECT_EQ(windowsTitled(kSidebarTitle), 0u);
  EXPECT_TRUE(log.contains("No screen: the sidebar window is not made"));
  int posted = 0;
  auto token = foundation::NotificationCenter::defaultCenter().addObserver(
      Quillo::kToggleSidebarNotification, nullptr, nullptr,
      [&](const foundation::Notification&) { ++posted; });
  delegate->showSidebarWindow();
  EXPECT_EQ(posted, 1);
  EXPECT_EQ(delegate->sidebarWindow, nullptr);
}

TEST_F(SidebarWindow, InlineOnWithThePermissionAtLaunchStartsTheEngineAtTheFirstTick) {
  Defaults::set(Quillo::Keys::isNativeGPTEnabled(), true);
  grantAccessibility(true);
  foundation::LogCapture log;
  LaunchedApplication launched;
  const auto& delegate = launched.delegate();
  settle();
  // The current value arrives first and finds the permission not yet marked.
  EXPECT_TRUE(log.contains("Is Inline Enabled:  true"));
  EXPECT_FALSE(delegate->state->isAccessibilityGranted.get());
  EXPECT_FALSE(Quillo::NativeGPTEngine::shared()->isStarted());
  EXPECT_FALSE(log.contains("NativeGPTEngine start()"));

  advanceSeconds(0.9);
  EXPECT_FALSE(Quillo::NativeGPTEngine::shared()->isStarted());
  advanceSeconds(0.1);
  EXPECT_TRUE(delegate->state->isAccessibilityGranted.get());
  EXPECT_TRUE(Quillo::NativeGPTEngine::shared()->isStarted());
  const auto lines = log.lines();
  const std::vector<std::string> expected{"Is Inline Enabled:  true", "Accessibility permission granted!",
                                          "NativeGPTEngine stop()", "NativeGPTEngine start()"};
  std::vector<std::string> seen;
  for (const auto& line : lines) {
    if (std::find(expected.begin(), expected.end(), line) != expected.end()) seen.push_back(line);
  }
  EXPECT_EQ(seen, expected);

  // The timer ran once: later ticks say nothing more.
  advanceSeconds(3);
  const auto later = log.lines();
  EXPECT_EQ(std::count(later.begin(), later.end(), "Accessibility permission granted!"), 1);
}

TEST_F(SidebarWindow, SwitchingInlineOffStopsTheEngineEvenWhenItNeverRan) {
  foundation::LogCapture log;
  LaunchedApplication launched;
  settle();
  EXPECT_TRUE(log.contains("Is Inline Enabled:  false"));
  Defaults::set(Quillo::Keys::isNativeGPTEnabled(), true);
  settle();
  EXPECT_TRUE(log.contains("Is Inline Enabled:  true"));
  EXPECT_FALSE(Quillo::NativeGPTEngine::shared()->isStarted());
  const auto before = log.lines();
  const auto stopsBefore = std::count(before.begin(), before.end(), "NativeGPTEngine stop()");
  Defaults::set(Quillo::Keys::isNativeGPTEnabled(), false);
  settle();
  const auto lines = log.lines();
  EXPECT_EQ(lines[lines.size() - 2], "Is Inline Enabled:  false");
  EXPECT_EQ(lines.back(), "NativeGPTEngine stop()");
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "NativeGPTEngine stop()"), stopsBefore + 1);
  EXPECT_FALSE(Quillo::NativeGPTEngine::shared()->isStarted());
}

TEST_F(SidebarWindow, WithoutThePermissionTheTimerKeepsTickingAndInlineStartsOnceItArrives) {
  Defaults::set(Quillo::Keys::isNativeGPTEnabled(), true);
  foundation::LogCapture log;
  LaunchedApplication launched;
  const auto& delegate = launched.delegate();
  advanceSeconds(5);
  EXPECT_FALSE(delegate->state->isAccessibilityGranted.get());
  EXPECT_FALSE(Quillo::NativeGPTEngine::shared()->isStarted());

  // Switched on again while the permission is still missing: nothing starts.
  Defaults::set(Quillo::Keys::isNativeGPTEnabled(), false);
  Defaults::set(Quillo::Keys::isNativeGPTEnabled(), true);
  settle();
  EXPECT_FALSE(Quillo::NativeGPTEngine::shared()->isStarted());

  grantAccessibility(true);
  advanceSeconds(1);
  EXPECT_TRUE(log.contains("Accessibility permission granted!"));
  EXPECT_TRUE(Quillo::NativeGPTEngine::shared()->isStarted());

  // Off stops it; on again starts it at once, the permission being marked.
  Defaults::set(Quillo::Keys::isNativeGPTEnabled(), false);
  settle();
  EXPECT_FALSE(Quillo::NativeGPTEngine::shared()->isStarted());
  Defaults::set(Quillo::Keys::isNativeGPTEnabled(), true);
  settle();
  EXPECT_TRUE(Quillo::NativeGPTEngine::shared()->isStarted());
}

TEST_F(SidebarWindow, ThePermissionWithInlineOffMarksItAndStartsNothing) {
  grantAccessibility(true);
  foundation::LogCapture log;
  LaunchedApplication launched;
  advanceSeconds(1);
  EXPECT_TRUE(launched.delegate()->state->isAccessibilityGranted.get());
  EXPECT_TRUE(log.contains("Accessibility permission granted!"));
  EXPECT_FALSE(Quillo::NativeGPTEngine::shared()->isStarted());
}

}  // namespace
}  // namespace apptest
