#include <gtest/gtest.h>

#include <string>

#include "platform/appkit/image.h"
#include "platform/appkit/popover.h"
#include "platform/appkit/status_bar.h"
#include "tests/platform/appkit/desktop_fixture.h"

namespace appkittest {
namespace {

using foundation::Rect;
using foundation::Size;

class CountingDelegate : public appkit::ApplicationDelegate {
 public:
  bool performAction(std::string_view action) override {
    if (action != "togglePopover") return false;
    ++toggles;
    return true;
  }
  int toggles = 0;
};

// A view controller asking for a fixed size.
class SizedController : public appkit::ViewController {
 public:
  explicit SizedController(std::optional<Size> size) : size_(size) {}
  std::optional<Size> preferredContentSize() override { return size_; }

 private:
  std::optional<Size> size_;
};

using StatusItems = DesktopTest;
using Popovers = DesktopTest;

TEST_F(StatusItems, ButtonImageAndTooltipShowInTheMenuBar) {
  auto item = appkit::StatusBar::system().statusItem(appkit::StatusItem::variableLength);
  auto record = desktop.statusBar().item(item->itemNumber());
  ASSERT_TRUE(record.has_value());
  EXPECT_FALSE(record->image.has_value());
  EXPECT_FALSE(record->toolTip.has_value());
  auto image = appkit::Image::named("menubar");
  ASSERT_TRUE(image.has_value());
  image->setTemplate(true);
  item->button()->setImage(*image);
  item->button()->setToolTip("Open Quillo");
  record = desktop.statusBar().item(item->itemNumber());
  ASSERT_TRUE(record->image.has_value());
  EXPECT_EQ(record->image->name, "menubar");
  EXPECT_EQ(record->image->path.filename(), "menubar.svg");
  EXPECT_TRUE(record->image->isTemplate);
  EXPECT_EQ(record->toolTip, "Open Quillo");
  // The menu bar lies at the top of the main screen; the item sits left of the system's items.
  EXPECT_EQ(record->frame.maxY(), 900);
  EXPECT_EQ(record->frame.height(), 22);
  EXPECT_EQ(record->frame.maxX(), 1440 - desktop::HeadlessStatusBar::defaultTrailingInset);
  EXPECT_EQ(item->button()->window()->frame(), record->frame);
  EXPECT_EQ(item->button()->bounds(), Rect(0, 0, record->frame.width(), 22));
}

TEST_F(StatusItems, AClickSendsTheButtonsActionWithoutTargetToTheDelegate) {
  auto delegate = std::make_shared<CountingDelegate>();
  appkit::Application::shared().setDelegate(delegate);
  auto item = appkit::StatusBar::system().statusItem(appkit::StatusItem::variableLength);
  EXPECT_TRUE(desktop.statusBar().click(item->itemNumber()));  // no action yet: nothing happens
  item->button()->setAction("togglePopover");
  desktop.statusBar().click(item->itemNumber());
  item->button()->setEnabled(false);
  desktop.statusBar().click(item->itemNumber());
  EXPECT_EQ(delegate->toggles, 1);
}

TEST_F(StatusItems, AnItemLeavesTheMenuBarWithItsLastOwner) {
  std::uint64_t number = 0;
  {
    auto item = appkit::StatusBar::system().statusItem(appkit::StatusItem::variableLength);
    number = item->itemNumber();
    EXPECT_EQ(desktop.statusBar().items().size(), 1u);
  }
  EXPECT_FALSE(desktop.statusBar().item(number).has_value());
  EXPECT_FALSE(desktop.statusBar().click(number));
}

TEST_F(Popovers, ShownBelowTheButtonAtTheSizeTheContentAsksFor) {
  auto item = appkit::StatusBar::system().statusItem(appkit::StatusItem::variableLength);
  auto popover = appkit::Popover::make();
  popover->setContentSize({400, 650});
  popover->setContentViewController(std::make_shared<SizedController>(Size{500, 700}));
  const auto& button = *item->button();
  popover->show(button.bounds(), button, appkit::RectEdge::minY);
  ASSERT_TRUE(popover->isShown());
  const Rect anchor = button.window()->frame();
  const Rect frame = popover->window()->frame();
  EXPECT_EQ(frame.size, (Size{500, 700}));
  EXPECT_EQ(frame.maxY(), anchor.minY());
  EXPECT_EQ(frame.midX(), anchor.midX());
  EXPECT_TRUE(popover->window()->isKeyWindow());
  EXPECT_EQ(popover->window()->title(), "");
  popover->performClose();
  EXPECT_FALSE(popover->isShown());
  EXPECT_FALSE(popover->window()->isVisible());
}

TEST_F(Popovers, ContentThatAsksForNothingGetsThePopoversContentSize) {
  auto item = appkit::StatusBar::system().statusItem(appkit::StatusItem::variableLength);
  auto popover = appkit::Popover::make();
  popover->setContentSize({400, 650});
  popover->setContentViewController(std::make_shared<SizedController>(std::nullopt));
  popover->show(item->button()->bounds(), *item->button(), appkit::RectEdge::minY);
  EXPECT_EQ(popover->window()->frame().size, (Size{400, 650}));
}

TEST_F(Popovers, ATransientPopoverClosesAtAClickOutsideItOnly) {
  struct Case {
    appkit::Popover::Behavior behavior;
    bool isInside;
    bool staysShown;
  };
  const Case cases[] = {
      {appkit::Popover::Behavior::transient, true, true},
      {appkit::Popover::Behavior::transient, false, false},
      {appkit::Popover::Behavior::semitransient, false, false},
      {appkit::Popover::Behavior::applicationDefined, false, true},
  };
  auto item = appkit::StatusBar::system().statusItem(appkit::StatusItem::variableLength);
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.behavior) * 10 + c.isInside);
    auto popover = appkit::Popover::make();
    popover->setBehavior(c.behavior);
    popover->setContentViewController(std::make_shared<SizedController>(Size{300, 200}));
    popover->show(item->button()->bounds(), *item->button(), appkit::RectEdge::minY);
    const Rect frame = popover->window()->frame();
    desktop.click(c.isInside ? foundation::Point{frame.midX(), frame.midY()} : foundation::Point{10, 10});
    EXPECT_EQ(popover->isShown(), c.staysShown);
    popover->close();
  }
}

TEST(SvgDocumentSize, ReadsTheRootElementsWidthAndHeightOrItsViewBox) {
  struct Case {
    const char* document;
    std::optional<Size> size;
  };
  const Case cases[] = {
      {R"(<svg xmlns="http://www.w3.org/2000/svg" width="18" height="16"></svg>)", Size{18, 16}},
      {R"(<?xml version="1.0"?><svg width='20px' height='20px' stroke-width="3"/>)", Size{20, 20}},
      {R"(<svg viewBox="0 0 100 50"><rect width="5" height="5"/></svg>)", Size{100, 50}},
      {R"(<svg stroke-width="2" viewBox="0,0,24,24"/>)", Size{24, 24}},
      {R"(<svg width="100%" height="100%"/>)", std::nullopt},
      {R"(<svg width="-3" height="4"/>)", std::nullopt},
      {R"(<html></html>)", std::nullopt},
      {R"(<svg width="18")", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.document);
    EXPECT_EQ(appkit::svgDocumentSize(c.document), c.size);
  }
}

TEST_F(StatusItems, NamedImagesComeFromTheBundlesPicturesAndMissingOnesAreNothing) {
  for (const char* name : {"menubar", "menubar2", "menubar3", "abouticon"}) {
    SCOPED_TRACE(name);
    auto image = appkit::Image::named(name);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->name(), name);
    EXPECT_GT(image->size().width, 0);
    EXPECT_FALSE(image->isTemplate());
  }
  EXPECT_FALSE(appkit::Image::named("no-such-icon").has_value());
  EXPECT_FALSE(appkit::Image::named("../Info").has_value());
  auto configured = appkit::Image::named("menubar")->withSymbolConfiguration(
      {appkit::SymbolConfiguration::TextStyle::title2, appkit::SymbolConfiguration::Scale::small});
  EXPECT_EQ(configured.symbolConfiguration()->textStyle, appkit::SymbolConfiguration::TextStyle::title2);
}

}  // namespace
}  // namespace appkittest
