#include "MarkdownRender/views/list_views.h"

#include <gtest/gtest.h>

#include <string>

#include "MarkdownRender/styles/block_margin.h"
#include "MarkdownRender/views/block_view.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "MarkdownRender/views/markdown_view.h"
#include "layout_fixture.h"
#include "platform/ui/inspector.h"
#include "platform/ui/window_host.h"

namespace MarkdownRender {
namespace {

using ui::testing::Host;
using ui::testing::text;

std::string describe(const char* prefix, const ListMarkerConfiguration& c) {
  return std::string(prefix) + std::to_string(c.listLevel) + "." + std::to_string(c.itemNumber);
}

// Markers that show what they were given: "b<level>.<number>", "n<level>.<number>", "[x]" or "[ ]".
Theme markerTheme() {
  return Theme::standardTheme()
      .withBulletedListMarker(
          [](const ListMarkerConfiguration& c) { return ui::Text::verbatim(describe("b", c)); })
      .withNumberedListMarker(
          [](const ListMarkerConfiguration& c) { return ui::Text::verbatim(describe("n", c)); })
      .withTaskListMarker([](const TaskListMarkerConfiguration& c) {
        return ui::Text::verbatim(c.isCompleted ? "[x]" : "[ ]");
      });
}

TEST(ListViews, MarkersReceiveLevelAndNumber) {
  struct Case {
    std::string markdown;
    std::vector<std::string> markers;
  };
  const Case cases[] = {
      {"- a\n- b\n- c\n", {"b1.1", "b1.2", "b1.3"}},
      {"8. a\n9. b\n10. c\n11. d\n", {"n1.8", "n1.9", "n1.10", "n1.11"}},
      {"0. a\n1. b\n", {"n1.0", "n1.1"}},
      {"1. a\n   - inner\n", {"n1.1", "b2.1"}},
      {"- a\n  - b\n    - c\n", {"b1.1", "b2.1", "b3.1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.markdown);
    Host host(theme(Markdown(c.markdown), markerTheme()));
    for (const auto& marker : c.markers)
      EXPECT_TRUE(host.exists(text(marker))) << marker << "\n" << host.dump();
  }
}

TEST(ListViews, ItemNumbersNearTheEndOfTheRangeDoNotWrap) {
  Host host(theme(BlockView(Block::numberedList(true, 999999999, {ListItem(), ListItem()})), markerTheme()));
  EXPECT_TRUE(host.exists(text("n1.999999999")));
  EXPECT_TRUE(host.exists(text("n1.1000000000")));
}

TEST(ListViews, TaskItemsShowTheirStateAndIgnoreClicks) {
  Host host(theme(Markdown("- [x] done\n- [ ] open\n"), markerTheme()));
  EXPECT_TRUE(host.exists(text("[x]")));
  EXPECT_TRUE(host.exists(text("[ ]")));
  EXPECT_FALSE(host.exists(ui::testing::type("Button")));
  EXPECT_FALSE(host.exists(ui::testing::type("Toggle")));
}

TEST(ListViews, EachListSetsLevelAndTightnessForItsOwnItems) {
  Host host(Markdown("- tight\n- list\n  1. loose inner\n\n  2. list\n"));
  auto outer = host.find(text("tight")).environment();
  EXPECT_EQ(outer.get<ListLevelKey>(), 1);
  EXPECT_TRUE(outer.get<TightSpacingEnabledKey>());
  auto inner = host.find(text("loose inner")).environment();
  EXPECT_EQ(inner.get<ListLevelKey>(), 2);
  EXPECT_FALSE(inner.get<TightSpacingEnabledKey>());
}

TEST(ListViews, MarkersTakeTheFontOfTheTextStyle) {
  Host host(theme(Markdown("- item\n"), markerTheme()));
  EXPECT_EQ(host.find(text("b1.1")).environment().font(), makeFont(FontProperties()));
}

TEST(ListViews, ItemsAreFramedByTheListItemStyle) {
  Host host(theme(Markdown("- a\n- b\n"), markerTheme().withListItem([](const BlockConfiguration& c) {
    return ui::AnyView(c.label).accessibilityIdentifier("item");
  })));
  EXPECT_EQ(host.findAll(ui::testing::identifier("item")).size(), 2u);
}

// `view` laid out at the top left of a window, its text measured with the fixed metrics (13-point body
// text: characters 6.5 points wide).
ui::testing::WindowHost laidOut(const ui::AnyView& view) {
  return ui::testing::WindowHost(testing::inCorner(view, {400, 600}), {400, 600});
}

TEST(ListViews, NumberedMarkersShareTheWidestWidthAlignedRight) {
  const auto plainNumbers =
      Theme::standardTheme().withNumberedListMarker([](const ListMarkerConfiguration& c) {
        return ui::Text::verbatim(std::to_string(c.itemNumber) + ".");
      });
  auto host = laidOut(theme(Markdown("8. a\n9. b\n10. c\n11. d\n"), plainNumbers));
  // "10." and "11." are three characters wide; "8." and "9." are framed to that and pushed to its right.
  const double wide = 3 * 6.5;
  const ui::Rect ten = host.frame(text("10."));
  EXPECT_EQ(ten.width(), wide);
  for (const char* narrow : {"8.", "9."}) {
    SCOPED_TRACE(narrow);
    EXPECT_EQ(host.frame(text(narrow)).maxX(), ten.maxX());
    EXPECT_EQ(host.frame(text(narrow)).width(), 2 * 6.5);
  }
  for (const char* marker : {"8.", "9.", "10.", "11."}) {
    auto frames = host.find(text(marker)).modifiersOf<ui::FrameModifier>();
    ASSERT_FALSE(frames.empty()) << marker;
    EXPECT_EQ(frames.back()->width, wide) << marker;
  }
  std::vector<double> textStarts;
  for (const char* item : {"a", "b", "c", "d"}) textStarts.push_back(host.frame(text(item)).minX());
  EXPECT_EQ(textStarts, std::vector<double>(4, textStarts.front()));
}

TEST(ListViews, TheStandardNumeralsLineTheirItemTextsUp) {
  auto host = laidOut(Markdown("8. a\n9. b\n10. c\n11. d\n"));
  std::vector<double> textStarts;
  for (const char* item : {"a", "b", "c", "d"}) textStarts.push_back(host.frame(text(item)).minX());
  EXPECT_EQ(textStarts, std::vector<double>(4, textStarts.front()));
  EXPECT_EQ(host.frame(text("8.")).maxX(), host.frame(text("10.")).maxX());
}

TEST(ListViews, BulletedAndTaskMarkersKeepTheirOwnWidths) {
  auto host = laidOut(theme(Markdown("- a\n- bb\n\n---\n\n- [x] c\n- [ ] dd\n"), markerTheme()));
  for (const char* marker : {"b1.1", "b1.2", "[x]", "[ ]"}) {
    for (const auto* frame : host.find(text(marker)).modifiersOf<ui::FrameModifier>())
      EXPECT_EQ(frame->width, std::nullopt) << marker;
  }
  EXPECT_NE(host.frame(text("b1.1")).width(), host.frame(text("[x]")).width());
}

TEST(ListViews, TaskItemsAreABlockSequenceWithTheItemMargins) {
  const auto spaced = markerTheme().withListItem(
      [](const BlockConfiguration& c) { return blockMargins(ui::AnyView(c.label), 10, std::nullopt); });
  auto loose = laidOut(theme(Markdown("- [x] one\n\n- [ ] two\n"), spaced));
  // The second item is spaced by its top margin; a loose list's paragraphs add their own.
  EXPECT_GE(loose.frame(text("two")).minY() - loose.frame(text("one")).maxY(), 10);
  auto tight = laidOut(theme(Markdown("- [x] one\n- [ ] two\n"), spaced));
  EXPECT_EQ(tight.frame(text("two")).minY() - tight.frame(text("one")).maxY(), 10);
  // The items stand as the text alignment in force says.
  auto centred = laidOut(theme(Markdown("- [x] one\n- [ ] a longer item\n"), markerTheme())
                             .multilineTextAlignment(ui::TextAlignment::center));
  EXPECT_EQ(
      centred.find(ui::testing::type("VStack")).primitive<ui::detail::StackSpec>()->alignment.horizontal,
      ui::HorizontalAlignment::center);
}

}  // namespace
}  // namespace MarkdownRender
