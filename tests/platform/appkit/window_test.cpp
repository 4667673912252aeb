#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/appkit/screen.h"
#include "platform/appkit/styled_window.h"
#include "tests/platform/appkit/desktop_fixture.h"

namespace appkittest {
namespace {

using Windows = DesktopTest;
using foundation::Rect;

// Counts the notifications of one name about one window.
class NotificationCounter {
 public:
  NotificationCounter(const char* name, const void* object)
      : token_(foundation::NotificationCenter::defaultCenter().addObserver(
            name, object, nullptr, [this](const foundation::Notification&) { ++count; })) {}
  int count = 0;

 private:
  foundation::ObserverToken token_;
};

class RecordingWindowDelegate : public appkit::WindowDelegate {
 public:
  void windowDidBecomeKey(const foundation::Notification& n) override { record("key", n); }
  void windowDidResignKey(const foundation::Notification& n) override { record("resign", n); }
  void windowWillClose(const foundation::Notification& n) override { record("close", n); }
  void record(const std::string& what, const foundation::Notification& notification) {
    calls.push_back(what);
    objects.push_back(notification.object);
  }
  std::vector<std::string> calls;
  std::vector<const void*> objects;
};

TEST_F(Windows, TheWindowServerKnowsWhatIsShownWithTitleFrameAndLevel) {
  auto window = titledWindow("Quillo", Rect(100, 100, 400, 300));
  window->setLevel(appkit::StyledWindow::Level::floating);
  window->makeKeyAndOrderFront();
  auto shown = desktop.windowServer().windowsOnScreen();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, "Quillo");
  EXPECT_EQ(shown[0].frame, Rect(100, 100, 400, 300));
  EXPECT_EQ(shown[0].level, 3);
  window->setTitle("Quillo Settings");
  window->setFrameTopLeftPoint({50, 800});
  EXPECT_EQ(window->frame(), Rect(50, 500, 400, 300));
  EXPECT_EQ(desktop.windowServer().window(window->windowNumber())->frame, Rect(50, 500, 400, 300));
  EXPECT_EQ(desktop.windowServer().window(window->windowNumber())->title, "Quillo Settings");
  window->close();
  EXPECT_TRUE(desktop.windowServer().windowsOnScreen().empty());
}

TEST_F(Windows, OcclusionStateFollowsWhatTheUserCanSeeAndEachChangeIsPosted) {
  auto window = titledWindow("Notes");
  NotificationCounter changes(appkit::StyledWindow::didChangeOcclusionStateNotification, window.get());
  EXPECT_EQ(window->occlusionState(), 0u);  // not known to the window server yet
  window->orderFront();
  EXPECT_EQ(window->occlusionState(), 8194u);
  desktop.windowServer().setCovered(window->windowNumber(), true);
  EXPECT_EQ(window->occlusionState(), 8192u);
  desktop.windowServer().setCovered(window->windowNumber(), false);
  window->setFrameOrigin({10, 10});  // moving a visible window changes nothing the user can see
  window->orderOut();
  EXPECT_EQ(window->occlusionState(), 8192u);
  EXPECT_EQ(changes.count, 4);
}

TEST_F(Windows, OneMainWindowAtATimeAndBecomingMainIsPosted) {
  auto first = titledWindow("First");
  auto second = titledWindow("Second");
  NotificationCounter firstBecameMain(appkit::Window::didBecomeMainNotification, first.get());
  NotificationCounter anyBecameMain(appkit::Window::didBecomeMainNotification, nullptr);
  first->makeKeyAndOrderFront();
  EXPECT_TRUE(first->isMainWindow());
  second->makeKeyAndOrderFront();
  EXPECT_FALSE(first->isMainWindow());
  EXPECT_TRUE(second->isMainWindow());
  EXPECT_EQ(appkit::Window::mainWindow(), second);
  second->close();
  EXPECT_EQ(appkit::Window::mainWindow(), nullptr);
  EXPECT_EQ(firstBecameMain.count, 1);
  EXPECT_EQ(anyBecameMain.count, 2);
}

TEST_F(Windows, TheDelegateHearsOfKeyChangesAndClosing) {
  auto window = titledWindow("Global");
  auto other = titledWindow("Other");
  auto delegate = std::make_shared<RecordingWindowDelegate>();
  window->setDelegate(delegate);
  window->makeKeyAndOrderFront();
  other->makeKeyAndOrderFront();
  window->close();
  EXPECT_EQ(delegate->calls, (std::vector<std::string>{"key", "resign", "close"}));
  for (const void* object : delegate->objects) EXPECT_EQ(object, window.get());
}

TEST_F(Windows, TheScreenOfAWindowIsTheOneHoldingMostOfItAlsoAwayFromTheOrigin) {
  desktop.setScreens({desktop::Screen(Rect(0, 0, 1440, 900)), desktop::Screen(Rect(1440, 0, 1920, 1080))});
  struct Case {
    const char* name;
    Rect frame;
    std::optional<Rect> screen;
  };
  const Case cases[] = {
      {"on the first screen", Rect(100, 100, 400, 300), Rect(0, 0, 1440, 900)},
      {"on the second screen", Rect(1600, 100, 400, 300), Rect(1440, 0, 1920, 1080)},
      {"mostly on the second", Rect(1340, 100, 400, 300), Rect(1440, 0, 1920, 1080)},
      {"on no screen", Rect(4000, 100, 400, 300), std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto window = titledWindow("W", c.frame);
    auto screen = window->screen();
    ASSERT_EQ(screen.has_value(), c.screen.has_value());
    if (screen) EXPECT_EQ(screen->frame(), *c.screen);
  }
}

TEST_F(Windows, APressOnAWindowMakesItKey) {
  auto back = titledWindow("Back", Rect(0, 0, 400, 300));
  auto front = titledWindow("Front", Rect(200, 0, 400, 300));
  back->makeKeyAndOrderFront();
  front->makeKeyAndOrderFront();
  desktop.click({100, 100});
  EXPECT_TRUE(back->isKeyWindow());
  desktop.click({300, 100});  // where both lie, the one in front takes it
  EXPECT_TRUE(front->isKeyWindow());
}

TEST_F(Windows, CenteringPutsTheWindowInTheMiddleOfTheMainScreen) {
  auto window = titledWindow("W", Rect(0, 0, 400, 300));
  window->center();
  EXPECT_EQ(window->frame(), Rect(520, 300, 400, 300));
}

}  // namespace
}  // namespace appkittest
