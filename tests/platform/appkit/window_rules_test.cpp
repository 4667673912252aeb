// Which windows may take the keyboard and become main, what a press of the pointer does to key status and
// to the active application, and the non-activating panel.
#include <gtest/gtest.h>

#include <memory>

#include "platform/appkit/controls.h"
#include "platform/appkit/panel.h"
#include "platform/appkit/responder.h"
#include "platform/appkit/view.h"
#include "tests/platform/appkit/desktop_fixture.h"

namespace appkittest {
namespace {

using appkit::StyledWindow;
using foundation::Rect;
using Mask = StyledWindow::StyleMask;
using Backing = StyledWindow::BackingStoreType;

using WindowRules = DesktopTest;

// A borderless window that asks to take the keyboard all the same.
class KeyableBorderlessWindow : public StyledWindow {
 public:
  using StyledWindow::StyledWindow;
  bool canBecomeKeyWindow() const override { return true; }
};

TEST_F(WindowRules, WhichWindowsMayBecomeKeyAndMain) {
  struct Case {
    const char* name;
    std::shared_ptr<StyledWindow> window;
    bool canBecomeKey, canBecomeMain;
  };
  const Rect frame(0, 0, 200, 100);
  const Case cases[] = {
      {"titled", std::make_shared<StyledWindow>(frame, Mask::titled, Backing::buffered, false), true, true},
      {"resizable", std::make_shared<StyledWindow>(frame, Mask::resizable, Backing::buffered, false), true, true},
      {"borderless", std::make_shared<StyledWindow>(frame, Mask::borderless, Backing::buffered, false), false,
       false},
      {"titled panel", std::make_shared<appkit::Panel>(frame, Mask::titled, Backing::buffered, false), true,
       false},
      {"borderless, overridden",
       std::make_shared<KeyableBorderlessWindow>(frame, Mask::borderless, Backing::buffered, false), true,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.window->canBecomeKeyWindow(), c.canBecomeKey);
    EXPECT_EQ(c.window->canBecomeMainWindow(), c.canBecomeMain);
    c.window->makeKeyAndOrderFront();
    EXPECT_EQ(c.window->isKeyWindow(), c.canBecomeKey);
    EXPECT_EQ(c.window->isMainWindow(), c.canBecomeMain);
    c.window->close();
  }
}

TEST_F(WindowRules, ANonActivatingPanelLeavesTheFrontmostApplicationAsItWas) {
  auto editor = desktop.launchApplication("com.example.editor", "Editor");
  desktop.setFrontmostApplication(editor.processIdentifier);
  auto panel = std::make_shared<appkit::Panel>(Rect(100, 100, 300, 200), Mask::titled | Mask::nonactivatingPanel,
                                               Backing::buffered, false);
  EXPECT_FALSE(panel->activatesApplication());
  panel->makeKeyAndOrderFront();
  desktop.click({200, 200});  // into the panel
  EXPECT_TRUE(panel->isKeyWindow());
  EXPECT_FALSE(appkit::Application::shared().isActive());
  ASSERT_TRUE(desktop.frontmostApplication());
  EXPECT_EQ(desktop.frontmostApplication()->processIdentifier, editor.processIdentifier);

  // A press on an ordinary window brings the application forward.
  auto window = titledWindow("Quillo", Rect(600, 100, 300, 200));
  window->makeKeyAndOrderFront();
  EXPECT_FALSE(appkit::Application::shared().isActive());  // showing alone does not
  desktop.click({700, 200});
  EXPECT_TRUE(window->isKeyWindow());
  EXPECT_TRUE(appkit::Application::shared().isActive());
}

TEST_F(WindowRules, APressOutsideEveryWindowTakesKeyStatusFromTheKeyWindow) {
  auto window = titledWindow("Notes", Rect(0, 0, 300, 200));
  window->makeKeyAndOrderFront();
  ASSERT_TRUE(window->isKeyWindow());
  desktop.click({800, 600});  // another application
  EXPECT_FALSE(window->isKeyWindow());
  EXPECT_EQ(appkit::Window::keyWindow(), nullptr);
  desktop.click({100, 100});
  EXPECT_TRUE(window->isKeyWindow());
}

TEST_F(WindowRules, AWindowShownKeyTheFirstTimeFocusesItsFirstField) {
  auto window = titledWindow("Form", Rect(0, 0, 300, 200));
  auto content = std::make_shared<appkit::View>(Rect(0, 0, 300, 200));
  auto first = std::make_shared<appkit::TextField>(Rect(10, 10, 200, 22));
  auto second = std::make_shared<appkit::TextField>(Rect(10, 40, 200, 22));
  content->addSubview(first);
  content->addSubview(second);
  window->setContentView(content);
  window->makeKeyAndOrderFront();
  EXPECT_EQ(appkit::firstResponder(*window), first);
  // Later showings leave the focus where the person put it.
  ASSERT_TRUE(appkit::makeFirstResponder(*window, second));
  window->orderOut();
  window->makeKeyAndOrderFront();
  EXPECT_EQ(appkit::firstResponder(*window), second);
}

}  // namespace
}  // namespace appkittest
