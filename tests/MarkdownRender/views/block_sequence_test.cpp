#include "MarkdownRender/views/block_sequence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layout_fixture.h"

namespace MarkdownRender {
namespace {

using ui::testing::type;
using ui::testing::WindowHost;

// A block 20 points high declaring the given margins; `width` lets a test see the alignment.
struct Block {
  std::optional<double> top;
  std::optional<double> bottom;
  double width = 100;
  bool operator==(const Block&) const = default;
};

}  // namespace
}  // namespace MarkdownRender

template <>
struct std::hash<MarkdownRender::Block> {
  std::size_t operator()(const MarkdownRender::Block& b) const {
    return std::hash<double>{}(b.top.value_or(-1e9)) * 31 + std::hash<double>{}(b.bottom.value_or(-1e9)) * 7 +
           std::hash<double>{}(b.width);
  }
};

namespace MarkdownRender {
namespace {

ui::AnyView sequence(const std::vector<Block>& blocks) {
  return BlockSequence<Block>(blocks, [](std::int64_t, const Block& b) {
    return blockMargins(ui::AnyView(ui::Color::red()).frame(b.width, 20), b.top, b.bottom);
  });
}

// The top edges of the blocks of `view`, laid out in the top-left corner of a window.
std::vector<double> tops(const ui::AnyView& view, std::size_t count) {
  WindowHost host(testing::inCorner(view, {400, 600}), {400, 600});
  std::vector<double> result;
  for (std::size_t i = 0; i < count; ++i) result.push_back(host.frame(host.find(type("Color"), i)).minY());
  return result;
}

constexpr std::optional<double> none = std::nullopt;

TEST(BlockSequence, NeighboursAreAsFarApartAsTheLargerOfTheirFacingMargins) {
  Block paragraph{0, 16};
  Block heading{24, 8};
  EXPECT_EQ(tops(sequence({paragraph, paragraph, heading, paragraph}), 4),
            (std::vector<double>{0, 36, 80, 108}));
}

TEST(BlockSequence, TheFirstElementsTopMarginGivesNoSpaceInsideItsSequence) {
  EXPECT_EQ(tops(sequence({{40, 40}}), 1), std::vector<double>{0});
}

TEST(BlockSequence, WithoutStatedMarginsElementsGetTheDefaultPadding) {
  EXPECT_EQ(tops(sequence({{none, none}, {none, none}}), 2),
            (std::vector<double>{0, 20 + ui::defaultPadding}));
}

TEST(BlockSequence, ATightSequenceUsesOnlyEachElementsOwnTopMargin) {
  auto tight = sequence({{0, 30}, {none, 30}, {5, 30}, {-3, 30}}).environment<TightSpacingEnabledKey>(true);
  EXPECT_EQ(tops(tight, 4), (std::vector<double>{0, 20, 45, 65}));
}

TEST(BlockSequence, MarginsReportedInsideANestedSequenceReachTheSequenceAroundIt) {
  // The quote-like element declares a bottom margin of 4, its last block 16: the larger is reported.
  auto nested = BlockSequence<int>({0, 1}, [](std::int64_t index, const int&) {
    if (index == 0) return blockMargins(sequence({{0, 0}, {0, 16, 50}}), none, 4);
    return blockMargins(ui::AnyView(ui::Color::blue()).frame(100, 20), 0, 0);
  });
  WindowHost host(testing::inCorner(nested, {400, 600}), {400, 600});
  EXPECT_EQ(host.frame(type("Color")).minY(), 0);
  EXPECT_EQ(host.frame(host.find(type("Color"), 1)).minY(), 20);
  EXPECT_EQ(host.frame(host.find(type("Color"), 2)).minY(), 40 + 16);
}

TEST(BlockSequence, ElementsFollowTheTextAlignment) {
  struct Case {
    ui::TextAlignment alignment;
    double x;
  };
  const Case cases[] = {
      {ui::TextAlignment::leading, 0}, {ui::TextAlignment::center, 50}, {ui::TextAlignment::trailing, 100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.alignment));
    auto view = sequence({{0, 0, 200}, {0, 0, 100}}).environment<ui::MultilineTextAlignmentKey>(c.alignment);
    WindowHost host(testing::inCorner(view, {400, 600}), {400, 600});
    EXPECT_EQ(host.frame(host.find(type("Color"), 1)).minX(), c.x);
  }
}

TEST(BlockMargin, MergingKeepsTheLargerStatedValuePerEdge) {
  struct Case {
    BlockMargin a, b, merged;
  };
  const Case cases[] = {
      {{10, none}, {20, none}, {20, none}},
      {{0, none}, {none, none}, {0, none}},
      {{-5, 3}, {0, none}, {0, 3}},
      {{none, none}, {none, none}, {none, none}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.a.merged(c.b), c.merged);
}

}  // namespace
}  // namespace MarkdownRender
