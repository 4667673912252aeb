// The safe area of a hosting view: what the window's title bar covers, additional insets, subclasses that
// report none, and views that reach beyond it; and where a hosting view takes clicks.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/appkit/styled_window.h"
#include "platform/ui/hosting.h"
#include "platform/ui/layout/text_measurer.h"
#include "platform/ui/views.h"

namespace ui {
namespace {

using appkit::StyledWindow;

// A red bar at the top of the safe area, over a background that reaches out of it.
AnyView bars() {
  return VStack(HorizontalAlignment::center, 0.0, AnyView(Color::red()).frame(std::nullopt, 20), Spacer())
      .background(AnyView(Color::blue()).ignoresSafeArea());
}

std::shared_ptr<StyledWindow> window(std::uint64_t styleMask) {
  return std::make_shared<StyledWindow>(foundation::Rect(0, 0, 300, 200), styleMask,
                                        StyledWindow::BackingStoreType::buffered, false);
}

class WithoutSafeArea final : public HostingView {
 public:
  static std::shared_ptr<WithoutSafeArea> make(AnyView root) {
    std::shared_ptr<WithoutSafeArea> view(new WithoutSafeArea(std::move(root)));
    view->refresh();
    return view;
  }
  EdgeInsets safeAreaInsets() const override { return {}; }
  EdgeInsets additionalSafeAreaInsets() const override { return {}; }
  void setAdditionalSafeAreaInsets(EdgeInsets) override {}

 private:
  explicit WithoutSafeArea(AnyView root)
      : HostingView(std::move(root), Rect(0, 0, 300, 200), std::make_shared<FixedMetricTextMeasurer>()) {}
};

const detail::Node* firstColor(const HostingView& view, SystemColor color) {
  for (const auto& [node, frame] : view.layout().frames()) {
    auto* spec = node->primitiveAs<detail::ColorSpec>();
    if (spec && spec->color.systemColor() == color) return node;
  }
  return nullptr;
}

TEST(SafeArea, ATitleBarOverFullSizeContentTakesTheTopAndBackgroundsReachUnderIt) {
  struct Case {
    std::uint64_t styleMask;
    double top;
  };
  const Case cases[] = {
      {StyledWindow::StyleMask::titled | StyledWindow::StyleMask::fullSizeContentView, titlebarHeight},
      {StyledWindow::StyleMask::titled, 0},
      {StyledWindow::StyleMask::borderless, 0},
      {StyledWindow::StyleMask::fullSizeContentView, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.styleMask);
    auto shown = window(c.styleMask);
    auto hosting =
        HostingView::make(bars(), Rect(0, 0, 300, 200), std::make_shared<FixedMetricTextMeasurer>());
    shown->setContentView(hosting);
    EXPECT_EQ(hosting->safeAreaInsets(), (EdgeInsets{c.top, 0, 0, 0}));
    EXPECT_EQ(hosting->safeAreaRect(), Rect(0, c.top, 300, 200 - c.top));
    EXPECT_EQ(*hosting->frame(*firstColor(*hosting, SystemColor::red)), Rect(0, c.top, 300, 20));
    EXPECT_EQ(*hosting->frame(*firstColor(*hosting, SystemColor::blue)), Rect(0, 0, 300, 200));
  }
}

TEST(SafeArea, AdditionalInsetsAddToTheChromeAndLayTheTreeOutAgain) {
  auto hosting = HostingView::make(bars(), Rect(0, 0, 300, 200), std::make_shared<FixedMetricTextMeasurer>());
  hosting->setAdditionalSafeAreaInsets({10, 5, 0, 5});
  EXPECT_EQ(hosting->additionalSafeAreaInsets(), (EdgeInsets{10, 5, 0, 5}));
  EXPECT_EQ(*hosting->frame(*firstColor(*hosting, SystemColor::red)), Rect(5, 10, 290, 20));
  EXPECT_EQ(*hosting->frame(*firstColor(*hosting, SystemColor::blue)), Rect(0, 0, 300, 200));
}

TEST(SafeArea, AHostingViewThatReportsNoSafeAreaLaysOutUnderTheTitleBar) {
  auto shown = window(StyledWindow::StyleMask::titled | StyledWindow::StyleMask::fullSizeContentView);
  auto hosting = WithoutSafeArea::make(bars());
  shown->setContentView(hosting);
  hosting->setAdditionalSafeAreaInsets({30, 30, 30, 30});
  EXPECT_EQ(hosting->additionalSafeAreaInsets(), (EdgeInsets{}));
  EXPECT_EQ(hosting->safeAreaInsets(), (EdgeInsets{}));
  EXPECT_EQ(*hosting->frame(*firstColor(*hosting, SystemColor::red)), Rect(0, 0, 300, 20));
}

TEST(SafeArea, OnlyFlexibleViewsReachOutAtTheChosenEdgesOnTheBoundary) {
  auto root = VStack(
      HorizontalAlignment::center, 0.0,
      AnyView(Color::red()).ignoresSafeArea(SafeAreaRegions::all, Edges::bottom).frame(std::nullopt, 20),
      AnyView(Color::green()).ignoresSafeArea(SafeAreaRegions::keyboard).frame(std::nullopt, 20), Spacer(),
      AnyView(Color::blue())
          .ignoresSafeArea(SafeAreaRegions::container, Edges::bottom)
          .frame(std::nullopt, 20));
  auto hosting = HostingView::make(root, Rect(0, 0, 300, 200), std::make_shared<FixedMetricTextMeasurer>());
  hosting->setAdditionalSafeAreaInsets({10, 0, 10, 0});
  // The red bar lies on the top boundary but reaches out only at the bottom, which is not on it.
  EXPECT_EQ(*hosting->frame(*firstColor(*hosting, SystemColor::red)), Rect(0, 10, 300, 20));
  // The keyboard takes no room here.
  EXPECT_EQ(*hosting->frame(*firstColor(*hosting, SystemColor::green)), Rect(0, 30, 300, 20));
  EXPECT_EQ(*hosting->frame(*firstColor(*hosting, SystemColor::blue)), Rect(0, 170, 300, 30));
}

TEST(SafeArea, AViewOfAFixedSizeStaysWhereItIs) {
  auto root = VStack(HorizontalAlignment::center, 0.0, Spacer(),
                     AnyView(Color::blue()).frame(std::nullopt, 20).ignoresSafeArea());
  auto hosting = HostingView::make(root, Rect(0, 0, 300, 200), std::make_shared<FixedMetricTextMeasurer>());
  hosting->setAdditionalSafeAreaInsets({10, 0, 10, 0});
  EXPECT_EQ(*hosting->frame(*firstColor(*hosting, SystemColor::blue)), Rect(0, 170, 300, 20));
}

TEST(ClickableRects, WhereTheTreeDrawsOrHostsAPlatformViewButNotWhereItIsClear) {
  auto root =
      ZStack(AnyView(Color::clear()), HStack(VerticalAlignment::center, 0.0, Spacer(),
                                             VStack(HorizontalAlignment::center, 0.0,
                                                    AnyView(Color::red()).frame(40, 40), Button("Go", [] {}))
                                                 .frame(60, std::nullopt)));
  auto hosting = HostingView::make(root, Rect(0, 0, 300, 200), std::make_shared<FixedMetricTextMeasurer>());
  const auto rects = hosting->clickableRects();
  auto takes = [&](foundation::Point point) {
    return std::any_of(rects.begin(), rects.end(), [&](const Rect& rect) { return rect.contains(point); });
  };
  EXPECT_FALSE(takes({20, 100}));
  const Rect red = *hosting->frame(*firstColor(*hosting, SystemColor::red));
  EXPECT_TRUE(takes({red.midX(), red.midY()}));
  ASSERT_EQ(hosting->subviews().size(), 1u);  // the button's host
  const Rect button = hosting->subviews().front()->frame();
  EXPECT_TRUE(takes({button.midX(), button.midY()}));
}

TEST(ClickableRects, ATransparentWindowTakesClicksOnlyThere) {
  auto shown = window(StyledWindow::StyleMask::borderless);
  auto hosting = HostingView::make(AnyView(Color::red()).frame(50, 50), Rect(0, 0, 300, 200),
                                   std::make_shared<FixedMetricTextMeasurer>());
  shown->setContentView(hosting);
  EXPECT_FALSE(shown->letsClicksThrough());
  EXPECT_FALSE(shown->clickRegion().has_value());
  EXPECT_TRUE(shown->takesClickAt({5, 5}));
  shown->setOpaque(false);
  EXPECT_FALSE(shown->letsClicksThrough());  // the background still fills it
  shown->setBackgroundColor(appkit::Color::clear());
  ASSERT_TRUE(shown->letsClicksThrough());
  // The red square stands in the middle: 125...175 across, 75...125 down from the top.
  EXPECT_TRUE(shown->takesClickAt({150, 100}));
  EXPECT_FALSE(shown->takesClickAt({5, 5}));
  EXPECT_FALSE(shown->takesClickAt({150, 190}));
}

}  // namespace
}  // namespace ui
