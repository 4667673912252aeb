#include "MarkdownRender/views/flow_layout.h"

#include <gtest/gtest.h>

#include <vector>

#include "layout_fixture.h"

namespace MarkdownRender {
namespace {

using testing::block;
using testing::inCorner;
using ui::Rect;
using ui::Size;
using ui::testing::type;
using ui::testing::WindowHost;

TEST(FlowLayout, WrapsWhenTheNextSubviewWouldNotFit) {
  struct Case {
    double width;
    Rect third;
    Size size;
  };
  const Case cases[] = {
      {320, Rect(220, 0, 100, 40), {320, 40}},  // 100 + 10 + 100 + 10 + 100 fits exactly
      {319, Rect(0, 48, 100, 40), {210, 88}},   // one point less: the third starts a row below
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    WindowHost host(
        inCorner(ui::LayoutView(FlowLayout(10, 8), {block(100, 40), block(100, 20), block(100, 40)}),
                 {c.width, 300}),
        {c.width, 300});
    EXPECT_EQ(host.frame(type("FlowLayout")).size, c.size);
    EXPECT_EQ(host.frame(host.find(type("Color"), 0)), Rect(0, 0, 100, 40));
    EXPECT_EQ(host.frame(host.find(type("Color"), 2)), c.third);
  }
}

TEST(FlowLayout, SubviewsOfARowShareTheirBottomEdge) {
  WindowHost host(inCorner(ui::LayoutView(FlowLayout(0, 0), {block(50, 40), block(50, 20)}), {300, 100}),
                  {300, 100});
  EXPECT_EQ(host.frame(host.find(type("Color"), 1)), Rect(50, 20, 50, 20));
}

TEST(FlowLayout, RowsAreSeparatedByTheVerticalSpacing) {
  WindowHost host(inCorner(ui::LayoutView(FlowLayout(0, 8), {block(200, 40), block(200, 30)}), {300, 200}),
                  {300, 200});
  EXPECT_EQ(host.frame(type("FlowLayout")).size, Size(200, 78));
  EXPECT_EQ(host.frame(host.find(type("Color"), 1)), Rect(0, 48, 200, 30));
}

TEST(FlowLayout, ASubviewWiderThanTheOfferFormsARowOfItsOwn) {
  WindowHost host(inCorner(ui::LayoutView(FlowLayout(10, 0), {block(500, 20), block(50, 20)}), {300, 200}),
                  {300, 200});
  EXPECT_EQ(host.frame(type("FlowLayout")).size, Size(500, 40));
  EXPECT_EQ(host.frame(host.find(type("Color"), 0)), Rect(0, 0, 500, 20));
  EXPECT_EQ(host.frame(host.find(type("Color"), 1)), Rect(0, 20, 50, 20));
}

TEST(FlowLayout, WithoutAProposedWidthEverythingIsOneRow) {
  WindowHost host(ui::LayoutView(FlowLayout(10, 8), {block(300, 20), block(300, 30), block(300, 10)})
                      .fixedSize()
                      .frame(400, 100, ui::Alignment::topLeading()),
                  {400, 100});
  EXPECT_EQ(host.frame(type("FlowLayout")).size, Size(920, 30));
  EXPECT_EQ(host.frame(host.find(type("Color"), 2)), Rect(620, 20, 300, 10));
}

TEST(FlowLayout, ASubviewOfNegativePriorityIsOfferedTheRestOfItsRow) {
  ui::FrameModifier flexible;
  flexible.maxWidth = testing::infinity;
  flexible.height = 10;
  // The open row holds 190 points and 10 of spacing: 100 of the 300 are left.
  WindowHost host(
      inCorner(ui::LayoutView(
                   FlowLayout(10, 0),
                   {block(190, 10), ui::layoutPriority(ui::AnyView(ui::Color::blue()).frame(flexible), -1),
                    block(20, 10)}),
               {300, 100}),
      {300, 100});
  EXPECT_EQ(host.frame(host.find(type("Color"), 1)), Rect(200, 0, 100, 10));
  EXPECT_EQ(host.frame(host.find(type("Color"), 2)),
            Rect(0, 10, 20, 10));  // the row is full: a new one starts
}

TEST(FlowLayout, WithoutSubviewsItTakesNoSpace) {
  WindowHost host(inCorner(ui::LayoutView(FlowLayout(10, 8), {}), {300, 100}), {300, 100});
  EXPECT_EQ(host.frame(type("FlowLayout")).size, Size(0, 0));
}

}  // namespace
}  // namespace MarkdownRender
