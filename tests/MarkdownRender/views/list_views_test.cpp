#include "MarkdownRender/views/list_views.h"

#include <gtest/gtest.h>

#include <string>

#include "MarkdownRender/views/block_view.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "MarkdownRender/views/markdown_view.h"
#include "platform/ui/inspector.h"

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

}  // namespace
}  // namespace MarkdownRender
