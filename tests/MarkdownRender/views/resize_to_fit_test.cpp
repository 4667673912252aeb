#include "MarkdownRender/views/resize_to_fit.h"

#include <gtest/gtest.h>

#include "layout_fixture.h"

namespace MarkdownRender {
namespace {

using testing::inCorner;
using ui::Rect;
using ui::Size;
using ui::testing::type;
using ui::testing::WindowHost;

TEST(ResizeToFit, FitsTheIdealSizeToTheWidthOnOfferWithoutEnlarging) {
  struct Case {
    Size ideal;
    double width;
    Size shown;
  };
  const Case cases[] = {
      {{1600, 800}, 400, {400, 200}},  // shrunk, aspect ratio kept
      {{300, 200}, 400, {300, 200}},   // never enlarged
      {{400, 100}, 400, {400, 100}},   // exactly as wide as offered
      {{800, 0}, 400, {400, 0}},       // no height to keep
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ideal.width);
    EXPECT_EQ(fittedSize(c.ideal, c.width), c.shown);
    WindowHost host(inCorner(ResizeToFit(c.ideal, ui::Image("picture").resizable()), {c.width, 1000}),
                    {c.width, 1000});
    EXPECT_EQ(host.frame(type("ResizeToFitLayout")), Rect(0, 0, c.shown.width, c.shown.height));
    EXPECT_EQ(host.frame(type("Image")), Rect(0, 0, c.shown.width, c.shown.height));
  }
}

TEST(ResizeToFit, AskedForItsIdealSizeAnswersTheContentsIdealSize) {
  WindowHost host(ui::AnyView(ResizeToFit({1600, 800}, ui::Image("picture").resizable()))
                      .fixedSize()
                      .frame(400, 300, ui::Alignment::topLeading()),
                  {400, 300});
  EXPECT_EQ(host.frame(type("ResizeToFitLayout")).size, Size(1600, 800));
}

TEST(ResizeToFit, TheLayoutMeasuresItsFirstSubviewOnly) {
  WindowHost host(
      inCorner(ui::LayoutView(ResizeToFitLayout{}, {testing::block(200, 100), testing::block(50, 50)}),
               {100, 300}),
      {100, 300});
  EXPECT_EQ(host.frame(type("ResizeToFitLayout")), Rect(0, 0, 100, 50));
  EXPECT_EQ(host.frame(host.find(type("Color"), 0)).origin, ui::Point(0, 0));
}

TEST(ResizeToFit, WithoutSubviewsTheLayoutTakesNoSpace) {
  WindowHost host(inCorner(ui::LayoutView(ResizeToFitLayout{}, {}), {100, 300}), {100, 300});
  EXPECT_EQ(host.frame(type("ResizeToFitLayout")).size, Size(0, 0));
}

}  // namespace
}  // namespace MarkdownRender
