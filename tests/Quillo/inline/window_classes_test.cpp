#include <gtest/gtest.h>

#include <cfloat>
#include <memory>

#include "Quillo/common/borderless_window.h"
#include "Quillo/common/floating_panel.h"
#include "platform/appkit/panel.h"
#include "platform/appkit/screen.h"
#include "platform/desktop/headless_desktop.h"

namespace Quillo {
namespace {

using Style = appkit::StyledWindow::StyleMask;

TEST(FloatingPanel, WithoutTitleIsANonActivatingFloatingPanelOnEverySpace) {
  const auto panel = std::make_shared<FloatingPanel>(std::nullopt);
  EXPECT_EQ(panel->styleMask(), 0x8080u);
  EXPECT_EQ(panel->title(), "");
  EXPECT_EQ(panel->titleVisibility(), appkit::StyledWindow::TitleVisibility::visible);
  EXPECT_EQ(panel->backingType(), appkit::StyledWindow::BackingStoreType::buffered);
  EXPECT_TRUE(panel->isDeferred());
  EXPECT_EQ(panel->frame(), foundation::Rect());
  EXPECT_EQ(panel->level(), 101);
  EXPECT_EQ(panel->collectionBehavior(), 257u);
  EXPECT_TRUE(panel->isMovable());
  EXPECT_TRUE(panel->isMovableByWindowBackground());
  EXPECT_FALSE(panel->ignoresMouseEvents());
  EXPECT_FALSE(panel->activatesApplication());
  EXPECT_FALSE(panel->canBecomeMainWindow());
}

TEST(FloatingPanel, WithTitleKeepsItButShowsNoTitleText) {
  const auto panel = std::make_shared<FloatingPanel>("Quillo Global");
  EXPECT_EQ(panel->styleMask(), 0x8081u);
  EXPECT_EQ(panel->title(), "Quillo Global");
  EXPECT_EQ(panel->titleVisibility(), appkit::StyledWindow::TitleVisibility::hidden);
  EXPECT_TRUE(panel->titlebarAppearsTransparent());
  EXPECT_EQ(panel->level(), 101);
}

TEST(FloatingPanel, TakesKeyboardFocusOnlyOnceAllowed) {
  const auto panel = std::make_shared<FloatingPanel>("Quillo Global");
  EXPECT_FALSE(panel->canBecomeKeyWindow());
  panel->makeKeyAndOrderFront();
  EXPECT_TRUE(panel->isVisible());
  EXPECT_FALSE(panel->isKeyWindow());

  panel->setCanBecomeKeyWindow(true);
  EXPECT_TRUE(panel->canBecomeKeyWindow());
  panel->makeKeyAndOrderFront();
  EXPECT_TRUE(panel->isKeyWindow());
  panel->close();
  EXPECT_FALSE(panel->isVisible());
  EXPECT_FALSE(panel->isKeyWindow());
}

TEST(FloatingPanel, MayBePlacedAcrossAndBeyondTheScreensEdges) {
  desktop::HeadlessDesktop desktop;
  desktop::HeadlessDesktop::Scope scope(desktop);
  const auto screen = appkit::Screen::mainScreen();
  ASSERT_TRUE(screen);
  const foundation::Rect halfOutside{1300, 850, 300, 200};

  const auto panel = std::make_shared<FloatingPanel>("Quillo Global");
  EXPECT_EQ(panel->constrainFrameRect(halfOutside, screen), halfOutside);
  panel->setFrame(halfOutside);
  panel->orderFront();
  EXPECT_EQ(panel->frame(), halfOutside);

  // An ordinary titled panel is kept below the top of the screen.
  const auto ordinary = std::make_shared<appkit::Panel>(
      halfOutside, Style::titled, appkit::StyledWindow::BackingStoreType::buffered, false);
  EXPECT_EQ(ordinary->constrainFrameRect(halfOutside, screen), (foundation::Rect{1300, 700, 300, 200}));
}

TEST(BorderlessWindow, IsBorderlessWhateverStyleIsAskedForAndTakesFocus) {
  for (const std::uint64_t asked :
       {Style::fullSizeContentView, Style::titled | Style::resizable, Style::borderless}) {
    SCOPED_TRACE(asked);
    const auto window = std::make_shared<BorderlessWindow>(
        foundation::Rect{0, 0, 400, 900}, asked, appkit::StyledWindow::BackingStoreType::buffered, false);
    EXPECT_EQ(window->styleMask(), 0u);
    EXPECT_EQ(window->frame(), (foundation::Rect{0, 0, 400, 900}));
    EXPECT_TRUE(window->canBecomeKeyWindow());
    EXPECT_TRUE(window->canBecomeMainWindow());
  }
}

}  // namespace
}  // namespace Quillo
