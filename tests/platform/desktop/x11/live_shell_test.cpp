// The application kit's windows and status items on the live desktop: a window ordered front is shown as
// the renderer draws it, presses reach the window server's records, and the status item sits in the tray
// (trayer) where a click on it runs its action.
#include <gtk/gtk.h>

#include <memory>

#include "platform/appkit/application.h"
#include "platform/appkit/styled_window.h"
#include "platform/desktop/x11/x11_desktop.h"
#include "platform/render/pango_text_measurer.h"
#include "platform/render/renderer.h"
#include "platform/ui/hosting.h"
#include "platform/ui/views.h"
#include "tests/platform/desktop/x11/live_desktop_fixture.h"

namespace {

using appkit::StyledWindow;
using testsupport::live::FixtureProgram;
using testsupport::live::LiveDesktopTest;
using testsupport::live::serveUntil;

class LiveShell : public LiveDesktopTest {
 protected:
  void TearDown() override {
    for (const auto& window : appkit::Application::shared().windows()) window->orderOut();
    LiveDesktopTest::TearDown();
  }
};

TEST_F(LiveShell, AWindowOrderedFrontIsShownWithItsChromeAndTakenOffAgain) {
  auto window =
      std::make_shared<StyledWindow>(foundation::Rect(200, 300, 240, 160),
                                     StyledWindow::StyleMask::titled | StyledWindow::StyleMask::closable,
                                     StyledWindow::BackingStoreType::buffered, false);
  window->setTitle("Shell window");
  window->makeKeyAndOrderFront();
  auto& server = live->windowServer();
  ASSERT_NE(window->windowNumber(), 0u);
  auto* shown = server.presenter(window->windowNumber());
  ASSERT_NE(shown, nullptr);
  ASSERT_TRUE(serveUntil([&] { return gtk_widget_get_mapped(shown->widget()) && window->isKeyWindow(); }));
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(shown->widget())), "Shell window");
  EXPECT_TRUE(gtk_window_get_decorated(GTK_WINDOW(shown->widget())));
  ASSERT_EQ(server.windowsOnScreen().size(), 1u);
  EXPECT_EQ(server.windowsOnScreen()[0].title, "Shell window");

  window->setLevel(StyledWindow::Level::floating);
  window->setTitle("Renamed");
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(shown->widget())), "Renamed");

  window->orderOut();
  EXPECT_FALSE(gtk_widget_get_mapped(shown->widget()));
  EXPECT_TRUE(server.windowsOnScreen().empty());
  // Its GTK window goes after the event; it no longer holds the application's window.
  EXPECT_TRUE(serveUntil([&] { return server.presenter(window->windowNumber()) == nullptr; }));
  std::weak_ptr<StyledWindow> weak = window;
  appkit::Application::shared().resetForTesting();
  window.reset();
  EXPECT_TRUE(weak.expired());
}

TEST_F(LiveShell, AWindowThatOnlyItsGtkWindowStillHoldsGoesWithItWhenClosed) {
  // As a panel shown for a moment and let go (Inline's loading window): closed, and released by its owner
  // before its GTK window goes.
  auto window =
      std::make_shared<StyledWindow>(foundation::Rect(200, 300, 120, 80), StyledWindow::StyleMask::borderless,
                                     StyledWindow::BackingStoreType::buffered, false);
  window->orderFront();
  const auto number = window->windowNumber();
  ASSERT_NE(live->windowServer().presenter(number), nullptr);
  std::weak_ptr<StyledWindow> weak = window;
  window->close();
  window.reset();
  appkit::Application::shared().resetForTesting();
  EXPECT_TRUE(serveUntil([&] { return weak.expired() && !live->windowServer().presenter(number); }));
}

TEST_F(LiveShell, TheWindowManagersCloseButtonClosesTheWindow) {
  auto window =
      std::make_shared<StyledWindow>(foundation::Rect(200, 300, 120, 80),
                                     StyledWindow::StyleMask::titled | StyledWindow::StyleMask::closable,
                                     StyledWindow::BackingStoreType::buffered, false);
  window->makeKeyAndOrderFront();
  auto* shown = live->windowServer().presenter(window->windowNumber());
  ASSERT_NE(shown, nullptr);
  ASSERT_TRUE(serveUntil([&] { return gtk_widget_get_mapped(shown->widget()); }));
  gtk_window_close(GTK_WINDOW(shown->widget()));  // as the window manager's close button asks
  EXPECT_TRUE(serveUntil(
      [&] { return window->isClosed() && !live->windowServer().presenter(window->windowNumber()); }));
  EXPECT_TRUE(live->windowServer().windowsOnScreen().empty());
}

TEST_F(LiveShell, WindowsFollowTheDesktopsAppearanceWhileShown) {
  GtkSettings* settings = gtk_settings_get_default();
  g_object_set(settings, "gtk-theme-name", "Adwaita", "gtk-application-prefer-dark-theme", FALSE, nullptr);
  auto window =
      std::make_shared<StyledWindow>(foundation::Rect(200, 300, 120, 80), StyledWindow::StyleMask::titled,
                                     StyledWindow::BackingStoreType::buffered, false);
  auto hosting = ui::HostingView::make(ui::EmptyView(), foundation::Rect(0, 0, 120, 80),
                                       std::make_shared<render::PangoTextMeasurer>());
  window->setContentView(hosting);
  window->makeKeyAndOrderFront();
  auto* shown = live->windowServer().presenter(window->windowNumber());
  ASSERT_NE(shown, nullptr);
  ASSERT_TRUE(serveUntil([&] { return gtk_widget_get_mapped(shown->widget()); }));
  EXPECT_EQ(hosting->graph().environment().colorScheme(), ui::ColorScheme::light);

  g_object_set(settings, "gtk-theme-name", "Adwaita-dark", nullptr);
  EXPECT_EQ(hosting->graph().environment().colorScheme(), ui::ColorScheme::dark);
  ASSERT_TRUE(testsupport::live::drawAgainAndWait(*shown));
  EXPECT_EQ(testsupport::live::differingPixels(*shown), 0);
  // The window's background on the screen is the dark one.
  EXPECT_EQ(render::Renderer().draw(*window).pixel(60, 40) & 0xFFFFFF, 0x323232u);
}

TEST_F(LiveShell, TheStatusItemSitsInTheTrayAndAClickRunsItsAction) {
  auto& statusBar = live->statusBar();
  ASSERT_EQ(statusBar.kind(), desktop::x11::X11StatusBar::Kind::trayIcon);  // no StatusNotifier host here
  FixtureProgram tray(
      {"trayer", "--edge", "top", "--align", "right", "--widthtype", "request", "--height", "24"});
  ASSERT_TRUE(tray.isStarted());
  int clicks = 0;
  const auto number = statusBar.addItem(24, [&] { ++clicks; });
  statusBar.setImage(number, desktop::StatusItemImage{"menubar", QUILLO_TEST_STATUS_IMAGE, true});
  statusBar.setToolTip(number, "Quillo");
  GtkStatusIcon* icon = statusBar.trayIcon(number);
  ASSERT_NE(icon, nullptr);
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  ASSERT_TRUE(serveUntil([&] { return gtk_status_icon_is_embedded(icon); })) << tray.output();
  // Where the tray put the icon is the item's frame, near the top right of the 1280 x 1024 screen.
  const auto frame = statusBar.item(number)->frame;
  EXPECT_GT(frame.minX(), 640);
  EXPECT_GT(frame.minY(), 900);
  G_GNUC_END_IGNORE_DEPRECATIONS
  int attempts = 0;
  EXPECT_TRUE(testsupport::live::clickTrayIconUntil(icon, [&] { return clicks > 0; }, &attempts));
  EXPECT_GE(clicks, 1);
  EXPECT_LE(clicks, attempts);
  statusBar.removeItem(number);
  EXPECT_EQ(statusBar.item(number), std::nullopt);
}

}  // namespace
