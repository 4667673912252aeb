// The application delegate's start-up, its status item and popover, and the rule that keeps the popover
// on its screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Quillo/app/status_bar_delegate.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/popover/menu_container_view.h"
#include "Quillo/settings_panes/menu_bar_settings_pane.h"
#include "platform/appkit/application.h"
#include "platform/foundation/notification_center.h"
#include "settings_store/key.h"
#include "tests/Quillo/app/app_world.h"

namespace apptest {
namespace {

namespace q = ui::testing;
using appkit::StyledWindow;
using foundation::Rect;

using StatusItem = AppTest;
using KeepWindowOnScreen = AppTest;

TEST_F(StatusItem, StartUpShowsTheChosenIconAsATemplateWithItsTooltipAndTheToggleAction) {
  Defaults::set(Quillo::Keys::menubarIconName(), std::string("menubar2"));
  LaunchedApplication launched;
  const auto& delegate = launched.delegate();
  EXPECT_EQ(Quillo::StatusBarDelegate::shared(), delegate);
  const auto& button = delegate->statusBarItem()->button();
  ASSERT_TRUE(button->image().has_value());
  EXPECT_EQ(button->image()->name(), "menubar2");
  EXPECT_TRUE(button->image()->isTemplate());
  EXPECT_EQ(button->image()->symbolConfiguration(),
            (appkit::SymbolConfiguration{appkit::SymbolConfiguration::TextStyle::title2,
                                         appkit::SymbolConfiguration::Scale::small}));
  EXPECT_EQ(button->toolTip(), "Open Quillo");
  EXPECT_EQ(button->imagePosition(), appkit::StatusBarButton::ImagePosition::imageLeading);
  EXPECT_EQ(button->action(), "togglePopover");
  auto shown = desktop.statusBar().items();
  ASSERT_EQ(shown.size(), 1u);
  ASSERT_TRUE(shown[0].image.has_value());
  EXPECT_EQ(shown[0].image->name, "menubar2");
  EXPECT_EQ(shown[0].toolTip, "Open Quillo");
  EXPECT_EQ(delegate->popover->contentSize(), (foundation::Size{400, 650}));
  EXPECT_EQ(delegate->popover->behavior(), appkit::Popover::Behavior::transient);
  EXPECT_TRUE(delegate->popover->animates());
}

TEST_F(StatusItem, AMissingIconLeavesImageAndTooltipUnsetUntilAValidNameIsChosen) {
  Defaults::set(Quillo::Keys::menubarIconName(), std::string("no-such-icon"));
  LaunchedApplication launched;
  const auto& button = launched.delegate()->statusBarItem()->button();
  EXPECT_FALSE(button->image().has_value());
  EXPECT_FALSE(button->toolTip().has_value());
  EXPECT_FALSE(desktop.statusBar().items()[0].image.has_value());
  foundation::NotificationCenter::defaultCenter().post(Quillo::kUpdateMenuNotification);
  EXPECT_FALSE(button->image().has_value());
  Defaults::set(Quillo::Keys::menubarIconName(), std::string("menubar3"));
  foundation::NotificationCenter::defaultCenter().post(Quillo::kUpdateMenuNotification);
  ASSERT_TRUE(button->image().has_value());
  EXPECT_EQ(button->image()->name(), "menubar3");
  EXPECT_EQ(button->toolTip(), "Open Quillo");
  const auto shown = desktop.statusBar().items()[0].image;
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(shown->name, "menubar3");
}

TEST_F(StatusItem, TheButtonOpensAndClosesThePopoverWithoutRebuildingItsContent) {
  LaunchedApplication launched;
  const auto& popover = launched.delegate()->popover;
  auto content = popover->contentViewController();
  ASSERT_NE(content, nullptr);
  clickStatusItem();
  ASSERT_TRUE(popover->isShown());
  EXPECT_EQ(popover->window()->level(), 2);
  EXPECT_TRUE(popover->window()->isKeyWindow());
  // Below the button, centred on it, as wide as the "size" preset asks (500 by default) and 700 high.
  const Rect button = launched.delegate()->statusBarItem()->button()->window()->frame();
  const Rect frame = popover->window()->frame();
  EXPECT_EQ(frame.size, (foundation::Size{500, 700}));
  EXPECT_EQ(frame.maxY(), button.minY());
  clickStatusItem();
  EXPECT_FALSE(popover->isShown());
  clickStatusItem();
  EXPECT_TRUE(popover->isShown());
  EXPECT_EQ(popover->contentViewController(), content);
  EXPECT_TRUE(inspectPopover(*launched.delegate())->exists(q::type<Quillo::MenuContainerView>()));
}

TEST_F(StatusItem, APopoverThatLostItsContentGetsANewOne) {
  LaunchedApplication launched;
  const auto& popover = launched.delegate()->popover;
  popover->setContentViewController(nullptr);
  clickStatusItem();
  ASSERT_TRUE(popover->isShown());
  EXPECT_NE(popover->contentViewController(), nullptr);
}

TEST_F(StatusItem, AClickOutsideClosesThePopover) {
  LaunchedApplication launched;
  clickStatusItem();
  const auto& popover = launched.delegate()->popover;
  const Rect frame = popover->window()->frame();
  desktop.click({frame.midX(), frame.midY()});
  EXPECT_TRUE(popover->isShown());
  desktop.click({20, 20});
  EXPECT_FALSE(popover->isShown());
}

TEST_F(StatusItem, ThePopoverNeverSpillsOffItsScreensRightEdge) {
  desktop.statusBar().setTrailingInset(0);  // the item at the very right of the menu bar
  LaunchedApplication launched;
  clickStatusItem();
  settle();
  const Rect frame = launched.delegate()->popover->window()->frame();
  EXPECT_EQ(frame.maxX(), 1440);
  EXPECT_EQ(frame.maxY(), 900 - 22);  // the top edge stays below the menu bar
}

// A window of the application with this frame and title, shown (or not) and announced as changed.
std::shared_ptr<StyledWindow> changedWindow(Rect frame, const std::string& title, bool isShown = true) {
  auto window = std::make_shared<StyledWindow>(frame, StyledWindow::StyleMask::borderless,
                                               StyledWindow::BackingStoreType::buffered, false);
  window->setTitle(title);
  window->orderFront();
  if (!isShown) window->orderOut();
  return window;
}

TEST_F(KeepWindowOnScreen, MovesOnlyAVisibleUntitledWindowPastItsScreensRightEdge) {
  desktop.setScreens({desktop::Screen(Rect(0, 0, 1440, 900)), desktop::Screen(Rect(1440, 0, 1920, 1080))});
  struct Case {
    const char* name;
    Rect frame;
    std::string title;
    bool isShown;
    Rect expected;
  };
  const Case cases[] = {
      {"inside", Rect(900, 178, 500, 700), "", true, Rect(900, 178, 500, 700)},
      {"overflowing", Rect(1100, 178, 500, 700), "", true, Rect(940, 178, 500, 700)},
      {"second screen, inside", Rect(2000, 300, 500, 700), "", true, Rect(2000, 300, 500, 700)},
      {"second screen, overflowing", Rect(2900, 300, 500, 700), "", true, Rect(2860, 300, 500, 700)},
      {"titled", Rect(1200, 178, 500, 700), "Quillo", true, Rect(1200, 178, 500, 700)},
      {"not visible", Rect(1200, 178, 500, 700), "", false, Rect(1200, 178, 500, 700)},
      {"no screen", Rect(5000, 178, 500, 700), "", true, Rect(5000, 178, 500, 700)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto window = changedWindow(c.frame, c.title, c.isShown);
    Quillo::keepWindowOnScreen({StyledWindow::didChangeOcclusionStateNotification, window.get(), {}});
    EXPECT_EQ(window->frame(), c.expected);
    window->close();
  }
}

TEST_F(KeepWindowOnScreen, IgnoresNotificationsAboutAnythingButTheApplicationsWindows) {
  int notAWindow = 0;
  Quillo::keepWindowOnScreen({StyledWindow::didChangeOcclusionStateNotification, &notAWindow, {}});
  Quillo::keepWindowOnScreen({StyledWindow::didChangeOcclusionStateNotification, nullptr, {}});
  SUCCEED();
}

}  // namespace
}  // namespace apptest
