#include "platform/ui/layout/text_measurer.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace ui {
namespace {

using foundation::Rect;
using foundation::Size;

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

// Characters in the 16-point font of the cases above (8 points a character, lines of 20 with the baseline
// 16 below the top), with pictures between them.
std::vector<TextRun> runs(std::initializer_list<std::variant<std::string, Size>> pieces) {
  std::vector<TextRun> result;
  for (const auto& piece : pieces) {
    if (auto* text = std::get_if<std::string>(&piece)) {
      result.push_back(TextRun{*text, Font::system(16), std::nullopt});
    } else {
      result.push_back(TextRun{{}, Font::system(16), std::get<Size>(piece)});
    }
  }
  return result;
}

TEST(TextMeasurerLayout, WithoutPicturesSetsTextAsMeasureDoes) {
  FixedMetricTextMeasurer measurer;
  const std::pair<std::string, std::optional<double>> cases[] = {
      {"abc", std::nullopt},       {"", std::nullopt}, {"aaaa bbbb cccc", 80},
      {"aaaa bbbb cccc", 72},      {"abcdefghij", 32}, {"one\ntwo three", std::nullopt},
      {"  lead and  trail  ", 64}, {"ab", 0},          {"héllo wörld", 40}};
  for (const auto& [text, width] : cases) {
    SCOPED_TRACE(text);
    auto laidOut = measurer.layout(runs({text}), width, 3);
    EXPECT_EQ(laidOut.size, measurer.measure(text, Font::system(16), width, 3));
    EXPECT_TRUE(laidOut.imageFrames.empty());
  }
  // Characters split over several runs of one font are one text.
  EXPECT_EQ(measurer.layout(runs({"aaaa b", "bbb cc", "cc"}), 80).size,
            measurer.measure("aaaa bbbb cccc", Font::system(16), 80));
}

TEST(TextMeasurerLayout, PicturesStandOnTheBaselineAndRaiseTheirLine) {
  FixedMetricTextMeasurer measurer;
  struct Case {
    std::string name;
    std::vector<TextRun> runs;
    std::optional<double> width;
    Size size;
    std::vector<Rect> pictures;
  };
  const Case cases[] = {
      // "one " then a 30-point picture then " two": the line grows from 20 to 30 + 4 below the baseline.
      {"between two words",
       runs({"one ", Size{24, 30}, " two"}),
       std::nullopt,
       {88, 34},
       {Rect(32, 0, 24, 30)}},
      // A picture lower than the text's ascent stands on the baseline without raising the line.
      {"small picture", runs({"ab", Size{10, 10}, "cd"}), std::nullopt, {42, 20}, {Rect(16, 6, 10, 10)}},
      // Too wide for the rest of the line: the picture starts the second line, which alone grows.
      {"wrapped", runs({"aaaa bbbb ", Size{40, 24}, " cc"}), 80, {72, 48}, {Rect(0, 20, 40, 24)}},
      {"after a hard break", runs({"aa\n", Size{8, 8}}), std::nullopt, {16, 40}, {Rect(0, 28, 8, 8)}},
      {"alone", runs({Size{50, 50}}), std::nullopt, {50, 54}, {Rect(0, 0, 50, 50)}},
      // A picture wider than the width is not cut; it takes a line of its own.
      {"wider than the width", runs({"a ", Size{100, 10}, " b"}), 40, {100, 60}, {Rect(0, 26, 100, 10)}},
      {"two pictures",
       runs({Size{8, 8}, " ", Size{8, 40}}),
       std::nullopt,
       {24, 44},
       {Rect(0, 32, 8, 8), Rect(16, 0, 8, 40)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto laidOut = measurer.layout(c.runs, c.width);
    EXPECT_EQ(laidOut.size, c.size);
    EXPECT_EQ(laidOut.imageFrames, c.pictures);
  }
}

TEST(TextMeasurerLayout, SaysWhereEachRunsCharactersWereSet) {
  FixedMetricTextMeasurer measurer;
  // On the line a picture raised, the characters' own line sits with its baseline on the line's.
  EXPECT_EQ(measurer.layout(runs({"one ", Size{24, 30}, " two"}), std::nullopt).characters,
            (std::vector<SetCharacters>{{0, 0, 3, {0, 14}}, {2, 1, 3, {64, 14}}}));
  // A word spread over two runs is set in two pieces; a wrapped word moves to the next line.
  EXPECT_EQ(measurer.layout(runs({"aaaa b", "bbb cc", "cc"}), 80).characters,
            (std::vector<SetCharacters>{{0, 0, 4, {0, 0}},
                                        {0, 5, 1, {40, 0}},
                                        {1, 0, 3, {48, 0}},
                                        {1, 4, 2, {0, 20}},
                                        {2, 0, 2, {16, 20}}}));
}

TEST(TextMeasurerLayout, LineSpacingSeparatesLinesWithPictures) {
  FixedMetricTextMeasurer measurer;
  auto laidOut = measurer.layout(runs({"aa\n", Size{8, 30}}), std::nullopt, 5);
  EXPECT_EQ(laidOut.size, (Size{16, 20 + 5 + 34}));
  EXPECT_EQ(laidOut.imageFrames, std::vector<Rect>{Rect(0, 25, 8, 30)});
}

}  // namespace
}  // namespace ui
