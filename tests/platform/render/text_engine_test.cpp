// Text set with Pango: the sizes layout measures, and that what is measured is what is drawn.
#include "platform/render/text_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/text_error.h"
#include "platform/render/image_library.h"
#include "platform/render/pango_text_measurer.h"
#include "platform/render/renderer.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace {

using ui::Font;

const render::PangoTextMeasurer measurer;

TEST(PangoTextMeasurer, WrapsAtWordsToTheWidthGivenAndKeepsHardBreaks) {
  const std::string text = "A sentence of several words that wraps when it is narrow";
  const auto oneLine = measurer.measure(text, Font::body(), std::nullopt);
  const auto wrapped = measurer.measure(text, Font::body(), 120.0);
  EXPECT_DOUBLE_EQ(oneLine.height, measurer.lineHeight(Font::body()));
  EXPECT_LE(wrapped.width, 120);
  EXPECT_GE(wrapped.height, 3 * measurer.lineHeight(Font::body()));
  // Sizes are rounded up to 1/64 point, so two lines may come to a hair less than twice one.
  EXPECT_NEAR(measurer.measure("one\ntwo", Font::body(), std::nullopt).height,
              2 * measurer.lineHeight(Font::body()), 1.0 / 32);
  EXPECT_NEAR(measurer.measure("one\ntwo", Font::body(), std::nullopt, 5).height,
              2 * measurer.lineHeight(Font::body()) + 5, 1.0 / 32);
}

TEST(PangoTextMeasurer, AWordBrokenBetweenCharactersGetsNoHyphen) {
  // In a monospaced font a line four and a half letters wide holds four letters, or three and a hyphen.
  const auto mono = Font::body().monospaced();
  const double letter = measurer.measure("M", mono, std::nullopt).width;
  const auto broken = measurer.measure("MMMMMMMMMM", mono, 4.5 * letter);
  EXPECT_NEAR(broken.width, 4 * letter, 1.0 / 32);
  EXPECT_NEAR(broken.height, 3 * measurer.lineHeight(mono), 1.0 / 16);
}

TEST(PangoTextMeasurer, FontsFromTheRecipesChangeTheSize) {
  const std::string text = "Quillo 1111";
  const double regular = measurer.measure(text, Font::body(), std::nullopt).width;
  EXPECT_GT(measurer.measure(text, Font::body().bold(), std::nullopt).width, regular);
  EXPECT_GT(measurer.measure(text, Font::title(), std::nullopt).width, regular);
  EXPECT_GT(measurer.lineHeight(Font::largeTitle()), measurer.lineHeight(Font::caption()));
  const auto digits = Font::body().monospacedDigit();
  EXPECT_DOUBLE_EQ(measurer.measure("1111", digits, std::nullopt).width,
                   measurer.measure("0000", digits, std::nullopt).width);
  const auto mono = Font::body().monospaced();
  EXPECT_DOUBLE_EQ(measurer.measure("iiii", mono, std::nullopt).width,
                   measurer.measure("MMMM", mono, std::nullopt).width);
}

TEST(PangoTextMeasurer, RunsThatSetTheirOwnFontAreMeasuredInIt) {
  ui::AttributedString text("small ");
  text.append("LARGE", {.font = Font::system(30)});
  const auto plain = measurer.measure(text.characters(), Font::body(), std::nullopt);
  const auto styled = measurer.measureAttributed(text, Font::body(), std::nullopt);
  EXPECT_GT(styled.width, plain.width);
  EXPECT_GT(styled.height, plain.height);
}

TEST(PangoTextMeasurer, TextDrawnInItsMeasuredFrameInksNothingOutsideIt) {
  auto view = ui::Text::verbatim("Ink stays inside the frame that layout measured for it, line after line.")
                  .font(Font::title3())
                  .frame(150, std::nullopt)
                  .foregroundStyle(ui::Color(0, 0, 0));
  ui::testing::WindowHost host(view, {200, 200}, std::make_shared<render::PangoTextMeasurer>());
  const auto frame = host.frame(ui::testing::type("Text"));
  const auto canvas = render::Renderer().draw(host.window());
  int inside = 0, outside = 0;
  for (int y = 0; y < canvas.pixelsHigh(); ++y) {
    for (int x = 0; x < canvas.pixelsWide(); ++x) {
      if ((canvas.pixel(x, y) & 0xFF) > 150) continue;  // the window's light grey
      const bool isInside =
          x >= frame.minX() - 1 && x <= frame.maxX() + 1 && y >= frame.minY() - 1 && y <= frame.maxY() + 1;
      (isInside ? inside : outside) += 1;
    }
  }
  EXPECT_GT(inside, 200);
  EXPECT_EQ(outside, 0);
}

TEST(PangoTextMeasurer, OnceInstalledItServesLayoutWhereNoMeasurerIsGiven) {
  render::installPangoTextMeasurer();
  EXPECT_NE(dynamic_cast<const render::PangoTextMeasurer*>(ui::defaultTextMeasurer().get()), nullptr);
  ui::setDefaultTextMeasurer(nullptr);
  EXPECT_NE(dynamic_cast<const ui::FixedMetricTextMeasurer*>(ui::defaultTextMeasurer().get()), nullptr);
}

TEST(TextEngine, MeasuresFromTwoThreadsAtOnceAsFromOne) {
  std::vector<std::string> texts;
  for (int i = 0; i < 200; ++i)
    texts.push_back("Line " + std::to_string(i) + " of a text measured twice over");
  std::vector<ui::Size> expected;
  for (const auto& text : texts) expected.push_back(measurer.measure(text, Font::callout(), 90.0));
  auto measureAll = [&](std::vector<ui::Size>& sizes) {
    for (const auto& text : texts) sizes.push_back(measurer.measure(text + " ", Font::callout(), 90.0));
  };
  std::vector<ui::Size> first, second;
  std::thread other([&] { measureAll(second); });
  measureAll(first);
  other.join();
  EXPECT_EQ(first, second);
}

TEST(PangoTextMeasurer, GivenNoWidthEveryCharacterStandsOnALineOfItsOwn) {
  const double line = measurer.lineHeight(Font::body());
  EXPECT_NEAR(measurer.measure("ab c", Font::body(), 0.0).height, 3 * line, 1.0 / 16);
  EXPECT_NEAR(measurer.measure("ab\n\nc", Font::body(), 0.0).height, 4 * line, 1.0 / 16);
  EXPECT_NEAR(measurer.measure("ab", Font::body(), 0.0).width,
              measurer.measure("b", Font::body(), std::nullopt).width, 1.0 / 16);
}

TEST(TextEngine, KeepsABoundedNumberOfLaidOutTexts) {
  render::TextEngine engine;
  for (int i = 0; i < 10'000; ++i) engine.measure(ui::AttributedString(std::to_string(i)), {});
  EXPECT_LE(engine.cachedLayoutCount(), 8192u);
}

TEST(TextEngine, AFontConfigurationThatCannotBeReadIsAClearError) {
  render::TextEngine engine;
  EXPECT_THROW(engine.pinFonts("/nonexistent/fonts.conf"), foundation::TextError);
  EXPECT_GT(engine.measure(ui::AttributedString("still sets text"), {}).width, 0);
}

TEST(ImageLibrary, DrawsSymbolsFromTwoThreadsAtOnce) {
  auto drawSymbols = [] {
    render::Canvas canvas(32, 32);
    cairo_t* cr = cairo_create(canvas.surface());
    for (int i = 0; i < 50; ++i) {
      render::ImageLibrary::shared().drawSymbol(cr, i % 2 ? "gear" : "heart.fill", {0, 0, 32, 32},
                                                {0, 0, 0, 1});
    }
    cairo_destroy(cr);
    return canvas.pixel(16, 16);
  };
  std::uint32_t fromOther = 0;
  std::thread other([&] { fromOther = drawSymbols(); });
  const auto fromThis = drawSymbols();
  other.join();
  EXPECT_EQ(fromThis, fromOther);
}

}  // namespace
