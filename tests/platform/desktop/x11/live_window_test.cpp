// Application windows on the X display: drawn by the renderer exactly as its offscreen image, and the
// person's clicks and typing (through the X server, as a person's) reach the views.
#include <gtk/gtk.h>

#include <cstdlib>
#include <memory>

#include "platform/appkit/event_monitor.h"
#include "platform/appkit/key_codes.h"
#include "platform/appkit/styled_window.h"
#include "platform/desktop/x11/gtk_window.h"
#include "platform/desktop/x11/keys.h"
#include "platform/foundation/notification_center.h"
#include "platform/render/pango_text_measurer.h"
#include "platform/render/renderer.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "tests/platform/desktop/x11/live_desktop_fixture.h"
#include "tests/support/live/x_person.h"

// Xlib's macros (None, Bool, Status) clash with names above: it comes last.
#include <X11/keysym.h>
#include <gdk/gdkx.h>

namespace {

using namespace ui;
using desktop::x11::GtkWindowPresenter;
using desktop::x11::WindowChrome;
using testsupport::live::differingPixels;
using testsupport::live::drawAgainAndWait;
using testsupport::live::HeldKey;
using testsupport::live::LiveDesktopTest;
using testsupport::live::pressKey;
using testsupport::live::serveUntil;
using ui::testing::button;
using ui::testing::text;
using ui::testing::textField;
using ui::testing::WindowHost;

// A form with colours, text, a field and a button that counts its clicks.
class Form final : public View {
 public:
  AnyView body() const override {
    auto clicks = clicks_;
    return VStack(HorizontalAlignment::leading, 8,
                  HStack(VerticalAlignment::center, 0, AnyView(Color(1, 0, 0)).frame(40, 30),
                         AnyView(Color(0, 0.5, 1)).frame(40, 30)),
                  Text::verbatim("Quillo draws this line"), TextField("Name", name_.binding()),
                  Button("Count", [clicks] { clicks.set(*clicks + 1); }),
                  Text::verbatim(std::to_string(*clicks_) + " clicks, name " + *name_))
        .padding(12);
  }
  State<std::string> name_{""};
  State<int> clicks_{0};
};

struct ShownWindow {
  std::unique_ptr<WindowHost> host;
  std::unique_ptr<GtkWindowPresenter> presenter;
};

class LiveWindows : public LiveDesktopTest {
 protected:
  // Shows the form in a titled window and waits until it is on the screen and drawn.
  void show(AnyView view, foundation::Size size = {320, 220}) {
    shown.host =
        std::make_unique<WindowHost>(std::move(view), size, std::make_shared<render::PangoTextMeasurer>());
    shown.host->window().setTitle("Live form");
    shown.host->window().setFrame(foundation::Rect(foundation::Point{100, 400}, size));
    shown.presenter = std::make_unique<GtkWindowPresenter>(shown.host->windowPointer());
    shown.presenter->show();
    ASSERT_TRUE(serveUntil([&] {
      return gtk_widget_get_mapped(shown.presenter->widget()) && shown.presenter->window()->isKeyWindow();
    }));
    // Drawn once more, so the window manager has placed it where the pointer will find it.
    ASSERT_TRUE(drawAgainAndWait(*shown.presenter));
  }

  void click(foundation::Point pointInWindow) {
    const auto origin = testsupport::live::contentOrigin(*shown.presenter);
    testsupport::live::clickAt(static_cast<int>(origin.x + pointInWindow.x),
                               static_cast<int>(origin.y + pointInWindow.y));
  }

  ShownWindow shown;
};

TEST_F(LiveWindows, AWindowOnTheScreenLooksAsTheRenderersOffscreenImage) {
  show(Form());
  shown.host->settle();
  ASSERT_TRUE(drawAgainAndWait(*shown.presenter));
  EXPECT_EQ(differingPixels(*shown.presenter), 0);
  EXPECT_TRUE(shown.presenter->isShown());
  EXPECT_NE(shown.presenter->xWindow(), 0u);
}

TEST_F(LiveWindows, ClicksAndTypingReachTheViewsAndTheScreenShowsTheResult) {
  show(Form());
  auto& host = *shown.host;
  const auto field = host.frame(textField("Name"));
  click({field.midX(), field.midY()});
  ASSERT_TRUE(serveUntil([&] { return host.hasFocus(textField("Name")); }));
  pressKey(XK_q, HeldKey::shift);
  pressKey(XK_u);
  pressKey(XK_i);
  const auto countButton = host.frame(button("Count"));
  click({countButton.midX(), countButton.midY()});
  ASSERT_TRUE(serveUntil([&] {
    host.settle();
    return host.exists(text("1 clicks, name Qui"));
  })) << host.dump();
  shown.host->settle();
  ASSERT_TRUE(drawAgainAndWait(*shown.presenter));
  EXPECT_EQ(differingPixels(*shown.presenter), 0);
}

TEST_F(LiveWindows, KeyEquivalentsAnswerToCtrl) {
  show(Form());
  std::vector<appkit::Event> seen;
  auto monitor = appkit::addLocalMonitorForEvents(appkit::EventTypeMask::of(appkit::EventType::keyDown),
                                                  [&](const appkit::Event& event) {
                                                    seen.push_back(event);
                                                    return std::optional<appkit::Event>(event);
                                                  });
  pressKey(XK_q, HeldKey::control);
  ASSERT_TRUE(serveUntil([&] { return !seen.empty(); }));
  appkit::removeMonitor(monitor);
  EXPECT_EQ(seen[0].keyCode(), 12);  // the platform's Q
  EXPECT_EQ(seen[0].modifierFlags(), appkit::ModifierFlags::command);
  EXPECT_EQ(seen[0].charactersIgnoringModifiers(), "q");
}

TEST_F(LiveWindows, AKeyboardGrabLeavesTheKeyWindowKey) {
  show(Form());
  int resignations = 0;
  auto observer = foundation::NotificationCenter::defaultCenter().addObserver(
      appkit::Window::didResignKeyNotification, shown.presenter->window().get(), nullptr,
      [&](const foundation::Notification&) { ++resignations; });
  // Another program's global hot key: while it is held, that program has the keyboard.
  testsupport::live::XPerson person;
  ASSERT_TRUE(person.isConnected());
  ASSERT_TRUE(person.grabCombination({"Control_L", "Alt_L"}, "k"));
  person.pressCombination({"Control_L", "Alt_L"}, "k");
  // Every event the X server sent about the press has arrived once a round trip has.
  gdk_display_sync(gdk_display_get_default());
  ASSERT_TRUE(serveUntil([] { return !gtk_events_pending(); }));
  EXPECT_EQ(resignations, 0);
  EXPECT_TRUE(shown.presenter->window()->isKeyWindow());
  person.ungrabCombination({"Control_L", "Alt_L"}, "k");
}

TEST(LiveWindowChrome, FollowsTheWindowsStyleLevelAndCollectionBehaviour) {
  using appkit::StyledWindow;
  auto panel =
      std::make_shared<StyledWindow>(foundation::Rect(0, 0, 100, 100), StyledWindow::StyleMask::borderless,
                                     StyledWindow::BackingStoreType::buffered, false);
  panel->setLevel(StyledWindow::Level::floating);
  panel->setCollectionBehavior(StyledWindow::CollectionBehavior::canJoinAllSpaces);
  panel->setIgnoresMouseEvents(true);
  const auto chrome = WindowChrome::of(*panel);
  EXPECT_FALSE(chrome.isTitled);
  EXPECT_TRUE(chrome.keepsAbove);
  EXPECT_TRUE(chrome.isSticky);
  EXPECT_TRUE(chrome.ignoresMouseEvents);
  EXPECT_TRUE(chrome.skipsTaskbar);
  EXPECT_FALSE(chrome.acceptsFocus);  // borderless windows take no keyboard focus

  appkit::Window plain;
  EXPECT_EQ(WindowChrome::of(plain), WindowChrome{});
}

TEST(LiveKeys, KeysKeepTheirPlacesAndModifiersFollowTheTable) {
  // Linux input codes plus 8: Q, A, Return, Escape, the left arrow, F1.
  EXPECT_EQ(desktop::x11::virtualKeyCode(16 + 8), 12);
  EXPECT_EQ(desktop::x11::virtualKeyCode(30 + 8), 0);
  EXPECT_EQ(desktop::x11::virtualKeyCode(28 + 8), appkit::KeyCode::returnKey);
  EXPECT_EQ(desktop::x11::virtualKeyCode(1 + 8), appkit::KeyCode::escape);
  EXPECT_EQ(desktop::x11::virtualKeyCode(105 + 8), appkit::KeyCode::leftArrow);
  EXPECT_EQ(desktop::x11::virtualKeyCode(59 + 8), 122);
  EXPECT_EQ(desktop::x11::virtualKeyCode(3), std::nullopt);
  for (std::uint32_t code = 8; code < 256; ++code)
    if (auto virtualCode = desktop::x11::virtualKeyCode(code))
      EXPECT_EQ(desktop::x11::xKeyCode(*virtualCode), code);

  using appkit::ModifierFlags;
  EXPECT_EQ(desktop::x11::applicationModifiers(GDK_CONTROL_MASK), ModifierFlags::command);
  EXPECT_EQ(desktop::x11::applicationModifiers(static_cast<GdkModifierType>(GDK_MOD1_MASK | GDK_SHIFT_MASK)),
            ModifierFlags::option | ModifierFlags::shift);
  EXPECT_EQ(desktop::x11::applicationModifiers(GDK_SUPER_MASK), ModifierFlags::control);
  // Hot keys keep what was recorded: command is Super, control is Ctrl.
  EXPECT_EQ(desktop::x11::hotKeyModifiers(ModifierFlags::command), GDK_MOD4_MASK);
  EXPECT_EQ(desktop::x11::hotKeyModifiers(ModifierFlags::control | ModifierFlags::option),
            static_cast<GdkModifierType>(GDK_CONTROL_MASK | GDK_MOD1_MASK));
  EXPECT_EQ(desktop::x11::hotKeyModifierFlags(static_cast<GdkModifierType>(GDK_MOD4_MASK | GDK_CONTROL_MASK)),
            ModifierFlags::command | ModifierFlags::control);
  EXPECT_EQ(desktop::x11::charactersOfKey(GDK_KEY_Left), appkit::SpecialKey::leftArrow.characters());
  EXPECT_EQ(desktop::x11::charactersOfKey(GDK_KEY_eacute), "é");
}

}  // namespace
