// Shapes stroked with a full stroke style: width, ends, corners and dashes are kept for drawing.
#include "platform/ui/stroke_style.h"

#include <gtest/gtest.h>

#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace ui {
namespace {

TEST(StrokeStyle, ShapesKeepTheWholeStyleAndShowTheirDashes) {
  StrokeStyle dashed;
  dashed.lineWidth = 2;
  dashed.lineCap = StrokeStyle::LineCap::round;
  dashed.dash = {4, 2};
  dashed.dashPhase = 1;
  testing::Host host{VStack(Rectangle().stroke(Color::red(), dashed), Circle().stroke(Color::blue(), 3))};
  auto shapes = host.findAll(testing::type("Rectangle"));
  ASSERT_EQ(shapes.size(), 1u);
  const auto* rectangle = shapes[0].primitive<detail::ShapeSpec>();
  EXPECT_EQ(rectangle->lineWidth, 2);
  EXPECT_EQ(rectangle->strokeStyle, dashed);
  EXPECT_EQ(rectangle->describe(), "Rectangle stroke(red, lineWidth: 2, dash: [4, 2], dashPhase: 1)");
  // A stroke given by its width alone is a solid line with butt ends and miter corners.
  const auto* circle = host.find(testing::type("Circle")).primitive<detail::ShapeSpec>();
  StrokeStyle solid;
  solid.lineWidth = 3;
  EXPECT_EQ(circle->strokeStyle, solid);
  EXPECT_EQ(circle->describe(), "Circle stroke(blue, lineWidth: 3)");
}

}  // namespace
}  // namespace ui
