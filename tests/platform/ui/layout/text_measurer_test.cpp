#include "platform/ui/layout/text_measurer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace ui {
namespace {

TEST(FixedMetricTextMeasurer, MeasuresCharactersAndWrapsAtWords) {
  struct Case {
    std::string_view text;
    std::optional<double> width;
    double expectedWidth, expectedHeight;
  };
  const Case cases[] = {
      {"abc", std::nullopt, 24, 20},
      {"", std::nullopt, 0, 20},
      {"héllo", std::nullopt, 40, 20},            // characters, not bytes
      {"aaaa bbbb cccc", std::nullopt, 112, 20},  // no width: one line
      {"aaaa bbbb cccc", 80, 72, 40},             // "aaaa bbbb" / "cccc"
      {"aaaa bbbb cccc", 72, 72, 40},             // a line exactly as wide as the width fits
      {"aaaa bbbb cccc", 71, 32, 60},
      {"abcdefghij", 32, 32, 60},                // a long word is cut: 4 + 4 + 2
      {"one\ntwo three", std::nullopt, 72, 40},  // hard breaks always break
      {"ab", 0, 8, 40},                          // no room: one character per line
  };
  FixedMetricTextMeasurer measurer;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + (c.width ? " in " + std::to_string(*c.width) : ""));
    auto size = measurer.measure(c.text, Font::system(16), c.width);
    EXPECT_DOUBLE_EQ(size.width, c.expectedWidth);
    EXPECT_DOUBLE_EQ(size.height, c.expectedHeight);
  }
}

TEST(FixedMetricTextMeasurer, PutsLineSpacingBetweenLines) {
  FixedMetricTextMeasurer measurer;
  EXPECT_DOUBLE_EQ(measurer.measure("aaaa bbbb cccc", Font::system(16), 80, 5).height, 45);
  EXPECT_DOUBLE_EQ(measurer.measure("a", Font::system(16), std::nullopt, 5).height, 20);
}

TEST(FixedMetricTextMeasurer, ScalesWithTheFontSize) {
  FixedMetricTextMeasurer measurer;
  EXPECT_DOUBLE_EQ(measurer.measure("ab", Font::body(), std::nullopt).width, 13);
  EXPECT_DOUBLE_EQ(measurer.lineHeight(Font::system(8)), 10);
}

}  // namespace
}  // namespace ui
