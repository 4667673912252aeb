#include <gtest/gtest.h>

#include "layout_fixture.h"
#include "platform/ui/views.h"

namespace ui {
namespace {

using testing::text;
using testing::type;

FrameModifier flexible(std::optional<double> minWidth, std::optional<double> maxWidth,
                       Alignment alignment = Alignment::center()) {
  FrameModifier frame;
  frame.minWidth = minWidth;
  frame.maxWidth = maxWidth;
  frame.alignment = alignment;
  return frame;
}

TEST(PaddingLayout, InsetsTheContentByTheGivenOrDefaultLength) {
  LaidOut byDefault(Text("ab").padding().accessibilityIdentifier("padded"), {48, 52});
  EXPECT_EQ(byDefault.frame(testing::identifier("padded")), Rect(0, 0, 48, 52));
  EXPECT_EQ(byDefault.frame(text("ab")), Rect(defaultPadding, defaultPadding, 16, 20));

  LaidOut edges(Text("ab").padding(Edges::horizontal, 10).padding(Edges::top, 4), {36, 24});
  EXPECT_EQ(edges.frame(text("ab")), Rect(10, 4, 16, 20));

  // Each edge by its own length, laid out as the paddings of single edges one inside the other.
  LaidOut insets(Text("ab").padding(EdgeInsets{4, 10, 2, 6}).accessibilityIdentifier("padded"), {100, 100});
  EXPECT_EQ(insets.frame(testing::identifier("padded")), Rect(34, 37, 32, 26));
  EXPECT_EQ(insets.frame(text("ab")), Rect(44, 41, 16, 20));
}

TEST(FrameLayout, FixedFrameAlignsItsContent) {
  struct Case {
    Alignment alignment;
    Rect text;
  };
  const Case cases[] = {{Alignment::center(), Rect(42, 15, 16, 20)},
                        {Alignment::topLeading(), Rect(0, 0, 16, 20)},
                        {Alignment::bottomTrailing(), Rect(84, 30, 16, 20)}};
  for (const auto& c : cases) {
    LaidOut laid(Text("ab").frame(100, 50, c.alignment), {100, 50});
    EXPECT_EQ(laid.frame(text("ab")), c.text);
  }
}

TEST(FrameLayout, AFrameWithOneDimensionTakesTheOtherFromItsContent) {
  LaidOut laid(Text("ab").frame(100, std::nullopt, Alignment::leading()).accessibilityIdentifier("f"),
               {100, 20});
  EXPECT_EQ(laid.frame(testing::identifier("f")), Rect(0, 0, 100, 20));
  EXPECT_EQ(laid.frame(text("ab")), Rect(0, 0, 16, 20));
}

TEST(FrameLayout, FlexibleFramesClampTheContent) {
  struct Case {
    const char* name;
    FrameModifier frame;
    double width;
  };
  const Case cases[] = {
      {"max infinity takes the whole width", flexible(std::nullopt, infinity), 300},
      {"min widens", flexible(100, std::nullopt), 100},
      {"max narrower than the content", flexible(std::nullopt, 10), 10},
      {"min below the content keeps the content", flexible(8, std::nullopt), 16},
      {"min and max take the proposal between them", flexible(50, 200), 200},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LaidOut laid(Text("ab").frame(c.frame).accessibilityIdentifier("f"), {300, 20});
    EXPECT_EQ(laid.frame(testing::identifier("f")).width(), c.width);
  }
}

TEST(FrameLayout, InfiniteMaximumWithLeadingAlignmentFillsARow) {
  LaidOut laid(VStack(Text("ab").frame(flexible(std::nullopt, infinity, Alignment::leading())), Text("abcd")),
               {300, 48});
  EXPECT_EQ(laid.frame(text("ab")), Rect(0, 0, 16, 20));
  EXPECT_EQ(laid.frame(text("abcd")), Rect(134, 28, 32, 20));
}

TEST(FixedSizeLayout, KeepsTheIdealSizeInsteadOfWrapping) {
  LaidOut wrapped(Text("aaaa bbbb").frame(40, 100), {40, 100});
  EXPECT_EQ(wrapped.frame(text("aaaa bbbb")), Rect(4, 30, 32, 40));

  LaidOut fixed(Text("aaaa bbbb").fixedSize().frame(40, 100), {40, 100});
  EXPECT_EQ(fixed.frame(text("aaaa bbbb")), Rect(-16, 40, 72, 20));

  LaidOut vertical(Text("aaaa bbbb").fixedSize(false, true).frame(40, 30), {40, 30});
  EXPECT_EQ(vertical.frame(text("aaaa bbbb")), Rect(4, -5, 32, 40));
}

TEST(TextLayout, WrapsToTheOfferedWidth) {
  LaidOut laid(VStack(Text("aaaa bbbb cccc")).frame(80, 200, Alignment::topLeading()), {80, 200});
  EXPECT_EQ(laid.frame(text("aaaa bbbb cccc")), Rect(0, 0, 72, 40));
}

TEST(BackgroundLayout, BackgroundAndOverlayTakeTheSizeOfTheView) {
  LaidOut laid(Text("ab").padding(4).background(Color::blue()).overlay(Text("x"), Alignment::topLeading()),
               {24, 28});
  EXPECT_EQ(laid.frame(type("Color")), Rect(0, 0, 24, 28));
  EXPECT_EQ(laid.frame(text("x")), Rect(0, 0, 8, 20));
  EXPECT_EQ(laid.frame(text("ab")), Rect(4, 4, 16, 20));
}

TEST(OffsetLayout, MovesTheViewWithoutChangingItsSize) {
  LaidOut laid(HStack(VerticalAlignment::top, 0.0, Text("ab").offset(5, -3), Text("cd")), {32, 20});
  EXPECT_EQ(laid.frame(text("ab")), Rect(5, -3, 16, 20));
  EXPECT_EQ(laid.frame(text("cd")), Rect(16, 0, 16, 20));
}

TEST(ShapeLayout, ShapesAndColoursFillTheOffer) {
  LaidOut laid(Circle(), {30, 40});
  EXPECT_EQ(laid.frame(type("Circle")), Rect(0, 0, 30, 40));
}

}  // namespace
}  // namespace ui
