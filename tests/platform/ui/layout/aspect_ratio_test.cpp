// Views that keep their proportions: fitted into or covering what they are offered.
#include <gtest/gtest.h>

#include "platform/ui/aspect_ratio.h"
#include "platform/ui/progress_view.h"
#include "platform/ui/scale_effect.h"
#include "platform/ui/views.h"
#include "tests/platform/ui/layout/layout_fixture.h"

namespace ui {
namespace {

using testing::type;

TEST(AspectRatio, TheFittedSizeKeepsTheRatioWithinOrAroundTheProposal) {
  struct Case {
    const char* name;
    ContentMode mode;
    std::optional<double> width, height;
    Size expected;
  };
  const Case cases[] = {
      {"fit, wide space", ContentMode::fit, 100, 100, {100, 50}},
      {"fit, narrow space", ContentMode::fit, 30, 100, {30, 15}},
      {"fill, square space", ContentMode::fill, 100, 100, {200, 100}},
      {"width only", ContentMode::fit, 60, std::nullopt, {60, 30}},
      {"height only", ContentMode::fit, std::nullopt, 10, {20, 10}},
      {"nothing offered: the ideal width", ContentMode::fit, std::nullopt, std::nullopt, {40, 20}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(aspectFittedSize(2.0, c.mode, c.width, c.height, {40, 20}), c.expected);
  }
}

TEST(AspectRatio, AResizableImageScaledToFitKeepsItsOwnProportionsCentred) {
  auto picture = Image::picture("wide", {40, 20}).resizable();
  LaidOut laidOut(AnyView(scaledToFit(picture)).frame(100, 100), {300, 300});
  const Rect frame = laidOut.frame(type("Image"));
  EXPECT_EQ(frame.size, Size(100, 50));
  EXPECT_EQ(frame.minY() - laidOut.frame(type("Image")).minY(), 0);
  LaidOut narrow(AnyView(scaledToFit(picture)).frame(20, 100), {300, 300});
  EXPECT_EQ(narrow.frame(type("Image")).size, Size(20, 10));
  LaidOut given(AnyView(aspectRatio(picture, 1.0, ContentMode::fit)).frame(100, 40), {300, 300});
  EXPECT_EQ(given.frame(type("Image")).size, Size(40, 40));
}

TEST(ProgressView, IsARegularSpinnerThatAScaleEffectDrawsSmallerWithoutMovingIt) {
  LaidOut laidOut(scaleEffect(ProgressView(), 0.8), {300, 300});
  EXPECT_EQ(laidOut.frame(type("ProgressView")).size, Size(32, 32));
  auto spinner = laidOut.host().find(type("ProgressView"));
  auto* effect = spinner.modifier<ScaleEffectModifier>();
  ASSERT_TRUE(effect);
  EXPECT_EQ(effect->scale, 0.8);
  EXPECT_EQ(effect->describe(), "scaleEffect(0.8)");
}

}  // namespace
}  // namespace ui
