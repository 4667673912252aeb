// Quillo on the live desktop, used as a person would through the X server: its status item in the tray,
// a click there opening the popover, a prompt typed and sent with Return to the scripted chat service,
// the streamed reply drawn on the screen as the renderer draws it, and Ctrl-Q quitting.
#include <gtk/gtk.h>

#include "Quillo/chat_model/settings_keys.h"
#include "platform/appkit/application.h"
#include "platform/appkit/controls.h"
#include "platform/appkit/popover.h"
#include "platform/render/pango_text_measurer.h"
#include "platform/ui/hosting_controller.h"
#include "settings_store/key.h"
#include "tests/Quillo/app/app_world.h"
#include "tests/platform/desktop/x11/live_desktop_fixture.h"
#include "tests/support/live/application_suppressions.h"

// Xlib's macros (None, Bool, Status) clash with names above: it comes last.
#include <X11/keysym.h>


namespace {

using testsupport::live::FixtureProgram;
using testsupport::live::HeldKey;
using testsupport::live::LiveDesktopTest;
using testsupport::live::pressKey;
using testsupport::live::serveUntil;

namespace q = ui::testing;

// The first editable text of a hierarchy (the popover's prompt field).
std::shared_ptr<appkit::View> firstEditableView(const std::shared_ptr<appkit::View>& view) {
  if (!view || view->isHidden()) return nullptr;
  auto* text = dynamic_cast<appkit::TextView*>(view.get());
  auto* field = dynamic_cast<appkit::TextField*>(view.get());
  if ((text != nullptr && text->acceptsFirstResponder()) ||
      (field != nullptr && field->acceptsFirstResponder()))
    return view;
  for (const auto& subview : view->subviews())
    if (auto found = firstEditableView(subview)) return found;
  return nullptr;
}

class LiveApplication : public LiveDesktopTest {
 protected:
  void SetUp() override {
    LiveDesktopTest::SetUp();
    if (IsSkipped()) return;
    render::installPangoTextMeasurer();
    apptest::freshApplicationPointedAtServices();
    // The native chat, not the chat service's web page.
    Defaults::set(Quillo::Keys::showNative(), true);
  }
  void TearDown() override {
    appkit::Application::shared().resetForTesting();
    foundation::RunLoop::main().runUntilIdle();
    LiveDesktopTest::TearDown();
  }
};

TEST_F(LiveApplication, StatusItemPopoverPromptStreamedReplyAndCtrlQ) {
  apptest::replyWith({"Hello", " from", " the", " service"});
  FixtureProgram tray(
      {"trayer", "--edge", "top", "--align", "right", "--widthtype", "request", "--height", "24"});
  ASSERT_TRUE(tray.isStarted());
  apptest::LaunchedApplication launched;
  auto delegate = launched.delegate();
  ASSERT_NE(delegate, nullptr);

  // The status item in the tray.
  const auto itemNumber = delegate->statusBarItem()->itemNumber();
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  GtkStatusIcon* icon = live->statusBar().trayIcon(itemNumber);
  ASSERT_NE(icon, nullptr);
  ASSERT_TRUE(serveUntil([&] { return gtk_status_icon_is_embedded(icon); })) << tray.output();
  G_GNUC_END_IGNORE_DEPRECATIONS

  // A click on it opens the popover, an undecorated window by the icon.
  ASSERT_TRUE(
      testsupport::live::clickTrayIconUntil(icon, [&] { return delegate->popover->isShown(); }));
  auto popoverWindow = delegate->popover->window();
  auto* shown = live->windowServer().presenter(popoverWindow->windowNumber());
  ASSERT_NE(shown, nullptr);
  ASSERT_TRUE(serveUntil([&] { return gtk_widget_get_mapped(shown->widget()); }));
  EXPECT_FALSE(gtk_window_get_decorated(GTK_WINDOW(shown->widget())));

  // A prompt typed into its field and sent with Return.
  std::shared_ptr<appkit::View> field;
  ASSERT_TRUE(
      serveUntil([&] { return (field = firstEditableView(popoverWindow->contentView())) != nullptr; }));
  const auto fieldFrame = field->convertRectToView(field->bounds(), nullptr);
  ASSERT_TRUE(serveUntil([&] { return popoverWindow->isKeyWindow(); }));
  const auto origin = testsupport::live::contentOrigin(*shown);
  testsupport::live::clickAt(static_cast<int>(origin.x + fieldFrame.midX()),
                             static_cast<int>(origin.y + fieldFrame.midY()));
  for (unsigned long key : {XK_h, XK_i}) pressKey(key);
  pressKey(XK_Return);

  // The streamed reply arrives and is drawn.
  auto controller =
      std::dynamic_pointer_cast<ui::HostingController>(delegate->popover->contentViewController());
  ASSERT_NE(controller, nullptr);
  ui::testing::Inspector popover(controller->graph());
  ASSERT_TRUE(serveUntil([&] {
    popover.settle();
    return popover.exists(q::text("Hello from the service"));
  })) << popover.dump();
  // Compared clear of the tray's panel, which stands above the popover's top edge.
  popoverWindow->setFrameOrigin({popoverWindow->frame().minX(), popoverWindow->frame().minY() - 40});
  ASSERT_TRUE(serveUntil([&] { return testsupport::live::contentOrigin(*shown).y >= 40; }));
  ASSERT_TRUE(testsupport::live::drawAgainAndWait(*shown));
  EXPECT_EQ(testsupport::live::differingPixels(*shown), 0);

  // Ctrl-Q quits.
  pressKey(XK_q, HeldKey::control);
  EXPECT_TRUE(serveUntil([] { return appkit::Application::shared().isTerminating(); }));
}

}  // namespace
