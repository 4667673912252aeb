// The renderer draws what the views describe: colours, shapes, clipping, opacity, shadows, offsets, scroll
// offsets, images and text, checked on single pixels and on whole pictures.
#include "platform/render/renderer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/appkit/controls.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/log.h"
#include "platform/render/pango_text_measurer.h"
#include "platform/ui/material.h"
#include "platform/ui/progress_view.h"
#include "platform/ui/scale_effect.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "tests/platform/render/snapshot.h"

namespace {

using namespace ui;
using ui::testing::WindowHost;

struct Rgba {
  int red, green, blue, alpha;
};

Rgba rgbaOf(std::uint32_t pixel) {
  const int alpha = static_cast<int>(pixel >> 24);
  auto unpremultiplied = [&](int shift) {
    const int value = static_cast<int>((pixel >> shift) & 0xFF);
    return alpha == 0 ? 0 : (value * 255 + alpha / 2) / alpha;
  };
  return {unpremultiplied(16), unpremultiplied(8), unpremultiplied(0), alpha};
}

void expectNear(Rgba actual, Rgba expected, int tolerance = 2) {
  EXPECT_NEAR(actual.red, expected.red, tolerance);
  EXPECT_NEAR(actual.green, expected.green, tolerance);
  EXPECT_NEAR(actual.blue, expected.blue, tolerance);
  EXPECT_NEAR(actual.alpha, expected.alpha, tolerance);
}

render::Canvas drawn(AnyView view, Size size, ColorScheme scheme = ColorScheme::light, double scale = 1) {
  WindowHost host(std::move(view), size, std::make_shared<render::PangoTextMeasurer>(), scheme);
  return render::Renderer().draw(host.window(), scale);
}

TEST(Renderer, TheWindowBackgroundFollowsTheColourScheme) {
  expectNear(rgbaOf(drawn(EmptyView(), {10, 10}).pixel(5, 5)), {236, 236, 236, 255});
  expectNear(rgbaOf(drawn(EmptyView(), {10, 10}, ColorScheme::dark).pixel(5, 5)), {50, 50, 50, 255});
}

TEST(Renderer, ColoursFillTheirFramesWithTheirOpacityAndTheSchemesDynamicColour) {
  auto view = HStack(VerticalAlignment::center, 0, AnyView(Color(1, 0, 0)).frame(10, 10),
                     AnyView(Color(0, 0, 1).opacity(0.5)).frame(10, 10),
                     AnyView(Color::dynamic(Color(0, 1, 0), Color(1, 1, 0))).frame(10, 10));
  auto light = drawn(view, {30, 10});
  expectNear(rgbaOf(light.pixel(5, 5)), {255, 0, 0, 255});
  expectNear(rgbaOf(light.pixel(15, 5)), {118, 118, 246, 255});  // half blue over the window's grey
  expectNear(rgbaOf(light.pixel(25, 5)), {0, 255, 0, 255});
  expectNear(rgbaOf(drawn(view, {30, 10}, ColorScheme::dark).pixel(25, 5)), {255, 255, 0, 255});
}

TEST(Renderer, BackgroundsAreBehindOverlaysInFrontAndOffsetsMoveWhatIsDrawn) {
  auto view = AnyView(Color(1, 0, 0))
                  .frame(20, 20)
                  .overlay(AnyView(Color(0, 0, 1)).frame(6, 6))
                  .background(AnyView(Color(0, 1, 0)).frame(40, 40))
                  .frame(40, 40, Alignment::topLeading());
  // The red square at the top-left corner, moved two points right; the green one behind it, centred on it.
  auto canvas = drawn(AnyView(view).offset(2, 0), {40, 40});
  expectNear(rgbaOf(canvas.pixel(12, 10)), {0, 0, 255, 255});  // the overlay, centred
  expectNear(rgbaOf(canvas.pixel(18, 16)), {255, 0, 0, 255});
  expectNear(rgbaOf(canvas.pixel(26, 26)), {0, 255, 0, 255});
  expectNear(rgbaOf(canvas.pixel(1, 5)), {0, 255, 0, 255});
  expectNear(rgbaOf(canvas.pixel(36, 36)), {236, 236, 236, 255});
}

TEST(Renderer, ClipShapesOpacityAndStrokes) {
  auto clipped = AnyView(Color(1, 0, 0)).frame(40, 40).clipShape(Circle());
  auto canvas = drawn(clipped, {40, 40});
  expectNear(rgbaOf(canvas.pixel(20, 20)), {255, 0, 0, 255});
  expectNear(rgbaOf(canvas.pixel(2, 2)), {236, 236, 236, 255});  // outside the circle

  auto faded = drawn(AnyView(Color(0, 0, 0)).frame(10, 10).opacity(0.25), {10, 10});
  expectNear(rgbaOf(faded.pixel(5, 5)), {177, 177, 177, 255});

  auto outline = drawn(Rectangle().stroke(Color(0, 0, 1), 4).frame(20, 20), {20, 20});
  expectNear(rgbaOf(outline.pixel(0, 10)), {0, 0, 255, 255});
  expectNear(rgbaOf(outline.pixel(10, 10)), {236, 236, 236, 255});
}

TEST(Renderer, ContinuousCornersCutLessOfTheCornerThanTheyReach) {
  auto shape = [](CornerStyle style) {
    return RoundedRectangle(10, style).fill(Color(0, 0, 0)).frame(60, 60);
  };
  auto circular = drawn(shape(CornerStyle::circular), {60, 60});
  auto continuous = drawn(shape(CornerStyle::continuous), {60, 60});
  // Along the edge a continuous corner starts bending farther from the corner...
  EXPECT_EQ(rgbaOf(circular.pixel(11, 0)).red, 0);
  EXPECT_GT(rgbaOf(continuous.pixel(11, 0)).red, 0);
  // ...and both leave the corner itself out.
  EXPECT_GT(rgbaOf(circular.pixel(0, 0)).red, 200);
  EXPECT_GT(rgbaOf(continuous.pixel(0, 0)).red, 200);
}

TEST(Renderer, AShadowDarkensAroundItsViewByItsOffset) {
  auto canvas = drawn(AnyView(Color(1, 1, 1)).frame(20, 20).shadow(Color(0, 0, 0, 1), 2, 6, 6), {60, 60});
  expectNear(rgbaOf(canvas.pixel(30, 30)), {255, 255, 255, 255});
  EXPECT_LT(rgbaOf(canvas.pixel(43, 43)).red, 120);  // under the offset shadow
  EXPECT_GT(rgbaOf(canvas.pixel(17, 17)).red, 230);  // the other side stays light
}

TEST(Renderer, ScrolledContentMovesByTheScrollOffsetAndIsClippedToTheScrollView) {
  auto content = VStack(HorizontalAlignment::center, 0, AnyView(Color(1, 0, 0)).frame(20, 30),
                        AnyView(Color(0, 0, 1)).frame(20, 30));
  WindowHost host(ScrollView(content).frame(20, 30), {20, 50}, std::make_shared<render::PangoTextMeasurer>());
  auto scroll = std::dynamic_pointer_cast<appkit::ScrollView>(
      host.platformView(host.find(ui::testing::type("ScrollView"))));
  ASSERT_NE(scroll, nullptr);
  expectNear(rgbaOf(render::Renderer().draw(host.window()).pixel(10, 20)), {255, 0, 0, 255});
  scroll->contentView()->setBoundsOrigin({0, 30});
  auto scrolled = render::Renderer().draw(host.window());
  expectNear(rgbaOf(scrolled.pixel(10, 20)), {0, 0, 255, 255});
  expectNear(rgbaOf(scrolled.pixel(10, 2)), {236, 236, 236, 255});  // above the scroll view: nothing drawn
}

TEST(Renderer, AShadowCastIntoSightByAViewOutOfSightIsDrawn) {
  // The blue square sits above the window's top edge; its shadow falls well inside.
  auto view = AnyView(Color(0, 0, 1)).frame(20, 20).shadow(Color(0, 0, 0, 1), 0, 0, 60).offset(0, -50);
  auto canvas = drawn(view, {60, 60});
  expectNear(rgbaOf(canvas.pixel(30, 40)), {0, 0, 0, 255});
  expectNear(rgbaOf(canvas.pixel(10, 40)), {236, 236, 236, 255});
}

TEST(Renderer, AViewLaidOutAnewIsDrawnWhereItNowIs) {
  auto view = VStack(HorizontalAlignment::center, 0, Spacer(), AnyView(Color(1, 0, 0)).frame(10, 10));
  WindowHost host(view, {20, 400}, std::make_shared<render::PangoTextMeasurer>());
  expectNear(rgbaOf(render::Renderer().draw(host.window()).pixel(10, 395)), {255, 0, 0, 255});
  host.resize({20, 40});  // the square moves up from far below what is now the window's bottom edge
  auto canvas = render::Renderer().draw(host.window());
  expectNear(rgbaOf(canvas.pixel(10, 35)), {255, 0, 0, 255});
  expectNear(rgbaOf(canvas.pixel(10, 5)), {236, 236, 236, 255});
}

TEST(Renderer, AScrollViewDrawsTheContentScrolledIntoSightFarFromItsStart) {
  std::vector<AnyView> rows;
  for (int i = 0; i < 200; ++i) rows.push_back(AnyView(Color(i % 2, 0, 1 - i % 2)).frame(20, 10));
  WindowHost host(ScrollView(VStack(HorizontalAlignment::center, 0, rows)).frame(20, 30), {20, 30},
                  std::make_shared<render::PangoTextMeasurer>());
  auto scroll = std::dynamic_pointer_cast<appkit::ScrollView>(
      host.platformView(host.find(ui::testing::type("ScrollView"))));
  ASSERT_NE(scroll, nullptr);
  for (double offset : {0.0, 1500.0, 1970.0, 730.0}) {
    SCOPED_TRACE(offset);
    scroll->contentView()->setBoundsOrigin({0, offset});
    auto canvas = render::Renderer().draw(host.window());
    for (int y : {5, 15, 25}) {
      const int row = (static_cast<int>(offset) + y) / 10;
      expectNear(rgbaOf(canvas.pixel(10, y)), {255 * (row % 2), 0, 255 * (1 - row % 2), 255});
    }
  }
}

TEST(Renderer, PicturesAreDrawnFromTheirPixelsStretchedToTheirFrames) {
  auto bitmap = std::make_shared<const Bitmap>(2, 1, std::vector<std::uint32_t>{0xFFFF0000, 0xFF0000FF});
  auto spec = std::make_shared<detail::ImageSpec>();
  spec->source = detail::ImageSpec::Source::bitmap;
  spec->bitmap = bitmap;
  spec->isResizable = true;
  auto canvas = drawn(AnyView(spec).frame(40, 20), {40, 20});
  expectNear(rgbaOf(canvas.pixel(2, 10)), {255, 0, 0, 255});
  expectNear(rgbaOf(canvas.pixel(37, 10)), {0, 0, 255, 255});
}

TEST(Renderer, ASymbolWithoutAnIconDrawsAPlaceholderAndSaysSoOnce) {
  foundation::LogCapture log;
  auto view =
      HStack(Image::systemName("no.such.symbol"), Image::systemName("no.such.symbol")).font(Font::system(20));
  auto canvas = drawn(view, {80, 40});
  int marked = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 80; ++x)
      marked += rgbaOf(canvas.pixel(x, y)).red > rgbaOf(canvas.pixel(x, y)).green + 40;
  }
  EXPECT_GT(marked, 20);
  int lines = 0;
  for (const auto& line : log.lines()) lines += line.find("no.such.symbol") != std::string::npos;
  EXPECT_EQ(lines, 1);
}

TEST(Renderer, EverySymbolTheApplicationNamesHasAnIcon) {
  for (const char* name :
       {"doc.on.doc.fill", "gear", "heart.fill", "info.circle", "safari", "checkmark.square.fill", "square",
        "arrowtriangle.up.fill", "mic.fill", "xmark.circle.fill"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(render::adwaitaIconName(name).has_value());
  }
  foundation::LogCapture log;
  drawn(Image::systemName("doc.on.doc.fill"), {20, 20});
  EXPECT_TRUE(log.lines().empty());
}

TEST(Renderer, TheApplicationsOwnImagesAreVectorFilesInItsResources) {
  foundation::LogCapture log;
  auto canvas = drawn(Image("donate-portrait").resizable().frame(100, 100), {100, 100});
  EXPECT_TRUE(log.lines().empty());
  // The portrait's round frame leaves the corners to the window and fills the middle.
  expectNear(rgbaOf(canvas.pixel(1, 1)), {236, 236, 236, 255});
  EXPECT_NE(rgbaOf(canvas.pixel(50, 50)).red, 236);
  ASSERT_TRUE(render::ImageLibrary::shared().namedImageSize("donate-portrait").has_value());
}

TEST(Renderer, APictureOfAnotherBundleIsDrawnFromThatBundleByItsFileName) {
  auto bundle = foundation::Bundle::atPath("fixtures/bundle");
  ASSERT_TRUE(bundle);
  foundation::LogCapture log;
  auto canvas = drawn(Image::named("chart.png", *bundle).resizable().frame(240, 120), {240, 120});
  EXPECT_TRUE(log.lines().empty());
  // The chart's light ground, not the window's grey nor the placeholder's pink.
  const auto ground = rgbaOf(canvas.pixel(4, 4));
  EXPECT_GT(ground.blue, 240);
  EXPECT_NEAR(ground.red, ground.green, 4);
  EXPECT_EQ(render::ImageLibrary::shared().namedImageSize("chart.png", bundle->resourceDirectory()),
            (Size{240, 120}));
}

TEST(Renderer, ANamedImageMissingFromTheResourcesDrawsAPlaceholderAndSaysSo) {
  foundation::LogCapture log;
  auto canvas = drawn(Image("no-such-image").resizable().frame(40, 40), {40, 40});
  EXPECT_GT(rgbaOf(canvas.pixel(20, 20)).red, rgbaOf(canvas.pixel(20, 20)).green + 40);
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_NE(log.lines().front().find("no-such-image"), std::string::npos);
}

TEST(Renderer, APictureOfPrimitives) {
  AttributedString styled("Bold ", {.font = Font::body().bold()});
  styled.append("red ", {.foregroundColor = Color::red()});
  styled.append("struck", {.strikethrough = true});
  styled.append(" under", {.underline = true});
  styled.append(" code", {.backgroundColor = Color::gray().opacity(0.3), .font = Font::body().monospaced()});
  auto view = VStack(
      HorizontalAlignment::leading, 8,
      HStack(RoundedRectangle(12, CornerStyle::continuous).fill(Color::blue()).frame(60, 40),
             Capsule().fill(Color::green().opacity(0.6)).frame(60, 30),
             Circle().stroke(Color::orange(), 3).frame(30, 30),
             AnyView(Color::purple())
                 .frame(40, 40)
                 .clipShape(RoundedRectangle(8))
                 .shadow(Color(0, 0, 0, 0.5), 4, 0, 3),
             Image::systemName("heart.fill").foregroundStyle(Color::pink()).font(Font::system(24)),
             Image::systemName("gear").font(Font::system(24))),
      Text(styled),
      Text::verbatim("A longer paragraph wraps at the width it is given, keeping its words whole and its "
                     "lines apart by the spacing asked for.")
          .lineSpacing(4)
          .frame(260, std::nullopt, Alignment::leading()),
      Text::verbatim("Centred lines\nof text")
          .multilineTextAlignment(TextAlignment::center)
          .font(Font::title3()),
      Text::verbatim("Secondary caption").font(Font::caption()).foregroundStyle(Color::secondary()));
  auto picture = AnyView(view).padding(12);
  EXPECT_TRUE(rendertest::matchesSnapshot(drawn(picture, {340, 240}), "primitives-light"));
  EXPECT_TRUE(rendertest::matchesSnapshot(drawn(picture, {340, 240}, ColorScheme::dark), "primitives-dark"));
}

TEST(Renderer, AToggleDrawsItsBoxInsideItsOwnFrame) {
  WindowHost host(AnyView(Toggle("On", Binding<bool>::constant(true))).padding(10), {120, 40},
                  std::make_shared<render::PangoTextMeasurer>());
  const Rect toggle = host.frame(ui::testing::type("Toggle"));
  const Rect label = host.frame(ui::testing::text("On"));
  EXPECT_GE(label.minX(), toggle.minX() + checkboxSide);
  // The box, ticked in the accent colour, starts the toggle's frame.
  const auto canvas = render::Renderer().draw(host.window());
  const auto box = rgbaOf(canvas.pixel(static_cast<int>(toggle.minX() + 2), static_cast<int>(toggle.midY())));
  EXPECT_GT(box.blue, box.red + 60);
}

TEST(Renderer, PicturesInATextAreDrawnInTheirPlaceAmongItsWords) {
  auto picture = Image::picture("red", {20, 20},
                                std::make_shared<const Bitmap>(1, 1, std::vector<std::uint32_t>{0xFFFF0000}));
  Text text = Text(AttributedString("ab ")) + Text(picture) +
              Text(AttributedString(" cd", {.foregroundColor = Color(0, 0, 1)}));
  WindowHost host(AnyView(text).foregroundStyle(Color(0, 0, 0)).frame(120, 40), {120, 40},
                  std::make_shared<render::PangoTextMeasurer>());
  const auto frames = host.imageFrames(host.find(ui::testing::type("Text")));
  ASSERT_EQ(frames.size(), 1u);
  const auto canvas = render::Renderer().draw(host.window());
  expectNear(rgbaOf(canvas.pixel(static_cast<int>(frames[0].midX()), static_cast<int>(frames[0].midY()))),
             {255, 0, 0, 255});
  // The words on either side are drawn, each in its own colour.
  const Rect textFrame = host.frame(ui::testing::type("Text"));
  int dark = 0, blue = 0;
  for (int y = static_cast<int>(textFrame.minY()); y < static_cast<int>(textFrame.maxY()); ++y) {
    for (int x = static_cast<int>(textFrame.minX()); x < static_cast<int>(frames[0].minX()); ++x) {
      auto p = rgbaOf(canvas.pixel(x, y));
      if (p.red < 100 && p.blue < 100) ++dark;
    }
    for (int x = static_cast<int>(frames[0].maxX()); x < static_cast<int>(textFrame.maxX()); ++x) {
      auto p = rgbaOf(canvas.pixel(x, y));
      if (p.blue > 150 && p.red < 100) ++blue;
    }
  }
  EXPECT_GT(dark, 10);
  EXPECT_GT(blue, 10);
}

TEST(Renderer, AMaterialLaysItsTintWithItsOpacityOverWhatIsBehind) {
  auto view = AnyView(Color(0, 0, 1)).frame(20, 20).overlay(AnyView(Material::thick()));
  auto tint = materialTint(MaterialThickness::thick).resolved(ColorScheme::light);
  auto blended = [&](double tintValue, double behind) {
    return static_cast<int>(std::lround(255 * (tintValue * tint.opacity + behind * (1 - tint.opacity))));
  };
  expectNear(rgbaOf(drawn(view, {20, 20}).pixel(10, 10)),
             {blended(tint.red, 0), blended(tint.green, 0), blended(tint.blue, 1), 255});
  // Thinner materials let more of it through.
  auto thin =
      rgbaOf(drawn(AnyView(Color(0, 0, 1)).frame(20, 20).overlay(AnyView(Material::ultraThin())), {20, 20})
                 .pixel(10, 10));
  EXPECT_LT(thin.red, blended(tint.red, 0));
}

TEST(Renderer, ASpinnerDrawsItsSpokesAroundAnEmptyCentre) {
  auto canvas = drawn(ProgressView(), {kProgressViewSide, kProgressViewSide});
  const int centre = static_cast<int>(kProgressViewSide / 2);
  expectNear(rgbaOf(canvas.pixel(centre, centre)), {236, 236, 236, 255});
  // The leading spoke points up and is the darkest; the one before it the faintest.
  const int along = static_cast<int>(kProgressViewSide / 2 * 0.7);
  const auto top = rgbaOf(canvas.pixel(centre, centre - along));
  const auto left = rgbaOf(canvas.pixel(centre - along, centre));
  EXPECT_LT(top.red, 160);
  EXPECT_LT(left.red, 236);
  EXPECT_GT(left.red, top.red);
}

TEST(Renderer, AScaleEffectScalesTheDrawingAboutItsAnchor) {
  struct Case {
    std::string name;
    UnitPoint anchor;
    std::pair<int, int> inside, outside;
  };
  // A 20-point red square in the middle of a 60-point window, drawn twice as large.
  const Case cases[] = {
      {"about its centre", UnitPoint{0.5, 0.5}, {12, 12}, {52, 30}},
      {"about its top-leading corner", UnitPoint{0, 0}, {55, 55}, {15, 15}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto canvas = drawn(scaleEffect(AnyView(Color(1, 0, 0)).frame(20, 20), 2, c.anchor), {60, 60});
    expectNear(rgbaOf(canvas.pixel(c.inside.first, c.inside.second)), {255, 0, 0, 255});
    expectNear(rgbaOf(canvas.pixel(c.outside.first, c.outside.second)), {236, 236, 236, 255});
  }
  // Layout is untouched: the square keeps its frame.
  WindowHost host(scaleEffect(AnyView(Color(1, 0, 0)).frame(20, 20), 2), {60, 60});
  EXPECT_EQ(host.frame(ui::testing::type("Color")), Rect(20, 20, 20, 20));
}

TEST(Renderer, AViewOutOfSightThatAScaleEffectBringsIntoSightIsDrawn) {
  // Ten rows fill the top of a scroll view; the red row beneath them lies out of sight until it is drawn ten
  // times as large about its bottom edge, which covers the rows in sight.
  std::vector<AnyView> rows;
  for (int i = 0; i < 10; ++i) rows.push_back(AnyView(Color(0, 0, 1)).frame(20, 10));
  rows.push_back(scaleEffect(AnyView(Color(1, 0, 0)).frame(20, 10), 10, UnitPoint{0.5, 1}));
  WindowHost host(ScrollView(VStack(HorizontalAlignment::center, 0, rows)).frame(20, 30), {20, 30},
                  std::make_shared<render::PangoTextMeasurer>());
  auto canvas = render::Renderer().draw(host.window());
  expectNear(rgbaOf(canvas.pixel(10, 15)), {255, 0, 0, 255});
}

TEST(Renderer, APictureOfControlsAndEffects) {
  auto narrowPicker = Picker("Language of replies", Binding<int>::constant(1),
                             std::vector<std::pair<int, std::string>>{{1, "British English"}, {2, "French"}})
                          .frame(170, std::nullopt, Alignment::leading());
  auto view = VStack(HorizontalAlignment::leading, 10, Toggle("Show tokens", Binding<bool>::constant(true)),
                     Toggle("Play a sound", Binding<bool>::constant(false)), narrowPicker,
                     HStack(ProgressView(), scaleEffect(ProgressView(), 0.5),
                            ZStack(HStack(VerticalAlignment::center, 0.0, AnyView(Color::red()).frame(30, 40),
                                          AnyView(Color::blue()).frame(30, 40)),
                                   AnyView(Material::regular()).frame(40, 24)),
                            scaleEffect(AnyView(Color::green()).frame(20, 20), 1.5, UnitPoint{0, 0})));
  auto picture = AnyView(view).padding(12).frame(260, 220, Alignment::topLeading());
  EXPECT_TRUE(rendertest::matchesSnapshot(drawn(picture, {260, 220}), "controls-light"));
  EXPECT_TRUE(rendertest::matchesSnapshot(drawn(picture, {260, 220}, ColorScheme::dark), "controls-dark"));
}

}  // namespace
