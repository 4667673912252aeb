// The standard theme: no colours of its own, semibold headings in fixed proportions, monospaced code at
// 0.94 em, and margins, paddings and line spacing relative to the font in force.
#include <gtest/gtest.h>

#include <string>

#include "MarkdownRender/styles/text_styles.h"
#include "MarkdownRender/styles/theme.h"
#include "style_probe.h"

namespace {

using namespace MarkdownRender;
using markdown_styles_test::attributesProbe;
using markdown_styles_test::labelled;
using markdown_styles_test::reportedMargins;
using ui::testing::Host;
using ui::testing::identifier;
using ui::testing::text;
using ui::testing::type;

TEST(StandardTheme, HeadingsAreSemiboldInFixedProportionsWithMarginsInRem) {
  const Theme theme = Theme::standardTheme();
  struct Case {
    int level;
    std::string probe;  // effective size and weight inside the heading
  };
  const Case cases[] = {{1, "26 semibold"}, {2, "20 semibold"}, {3, "15 semibold"},
                        {4, "13 semibold"}, {5, "11 semibold"}, {6, "9 semibold"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.level);
    const auto& style = theme.headings[static_cast<std::size_t>(c.level - 1)];
    Host host{style.render(labelled(attributesProbe("heading")))};
    EXPECT_EQ(host.find(identifier("heading")).text(), c.probe);
    EXPECT_EQ(reportedMargins(style.render(labelled(ui::Text("h")))), (BlockMargin{20, 13}));
  }
}

TEST(StandardTheme, CodeIsMonospacedAtNinetyFourHundredthsOfAnEm) {
  const Theme theme = Theme::standardTheme();
  Host host{textStyle(attributesProbe("code"), theme.code)};
  EXPECT_EQ(host.find(identifier("code")).text(), "12 monospaced");
  ui::AttributeContainer attributes;
  FontProperties().applyAttributes(attributes);
  theme.code.applyAttributes(attributes);
  EXPECT_DOUBLE_EQ(fontProperties(attributes)->scale, 0.94);
  // Inside a level-1 heading: 13 × 2 × 0.94 = 24.44.
  Host inHeading{theme.headings[0].render(labelled(textStyle(attributesProbe("code"), theme.code)))};
  EXPECT_EQ(inHeading.find(identifier("code")).text(), "24 semibold monospaced");
  EXPECT_EQ(theme.text.as<EmptyTextStyle>() != nullptr, true);
}

TEST(StandardTheme, ParagraphsTablesAndRules) {
  const Theme theme = Theme::standardTheme();
  Host paragraph{theme.paragraph.render(labelled(ui::Text("p")))};
  EXPECT_EQ(paragraph.find(text("p")).environment().get<ui::LineSpacingKey>(), 2);
  EXPECT_EQ(reportedMargins(theme.paragraph.render(labelled(ui::Text("p")))), (BlockMargin{0, 13}));
  EXPECT_EQ(reportedMargins(theme.table.render(labelled(ui::Text("t")))), (BlockMargin{0, 13}));
  EXPECT_EQ(reportedMargins(theme.thematicBreak.render()), (BlockMargin{26, 26}));
  Host rule{theme.thematicBreak.render()};
  EXPECT_TRUE(rule.exists(type("Divider")));
  EXPECT_EQ(reportedMargins(theme.image.render(labelled(ui::Text("i")))), BlockMargin::unspecified());
  EXPECT_EQ(reportedMargins(theme.listItem.render(labelled(ui::Text("i")))), BlockMargin::unspecified());
}

TEST(StandardTheme, OnlyHeaderCellsAreSemiboldAndEveryCellIsInset) {
  const Theme theme = Theme::standardTheme();
  for (int row : {0, 1, 2}) {
    SCOPED_TRACE(row);
    Host host{theme.tableCell.render(TableCellConfiguration{row, 1, BlockLabel(attributesProbe("cell"))})};
    const auto cell = host.find(identifier("cell"));
    EXPECT_EQ(cell.text(), row == 0 ? "13 semibold" : "13");
    EXPECT_EQ(cell.padding(), (ui::EdgeInsets{5, 9, 5, 9}));
    EXPECT_EQ(cell.environment().get<ui::LineSpacingKey>(), 2);
  }
}

TEST(StandardTheme, QuotesAreItalicAndInset) {
  const Theme theme = Theme::standardTheme();
  Host host{theme.blockquote.render(labelled(attributesProbe("quote")))};
  const auto quote = host.find(identifier("quote"));
  EXPECT_EQ(quote.text(), "13 italic");
  EXPECT_EQ(quote.padding(), (ui::EdgeInsets{0, 26, 0, 13}));
  EXPECT_EQ(reportedMargins(theme.blockquote.render(labelled(ui::Text("q")))), BlockMargin::unspecified());
}

TEST(StandardTheme, CodeBlocksScrollSidewaysWithALeadingInset) {
  const Theme theme = Theme::standardTheme();
  Host host{theme.codeBlock.render(labelled(attributesProbe("code")))};
  const auto code = host.find(identifier("code"));
  EXPECT_EQ(code.text(), "12 monospaced");
  // The inset and line spacing are measured in the code's own font.
  EXPECT_EQ(code.padding(), (ui::EdgeInsets{0, 13, 0, 0}));
  EXPECT_EQ(code.environment().get<ui::LineSpacingKey>(), 2);
  const auto scroll = host.find(type("ScrollView"));
  EXPECT_EQ(scroll.primitive<ui::detail::PrimitiveSpec>()->describe(), "ScrollView (horizontal)");
  EXPECT_EQ(reportedMargins(theme.codeBlock.render(labelled(ui::Text("c")))), (BlockMargin{0, 13}));
}

TEST(StandardTheme, ListMarkersAreThoseOfAPlainTheme) {
  const Theme theme = Theme::standardTheme();
  Host task{theme.taskListMarker.render(TaskListMarkerConfiguration{false})};
  EXPECT_EQ(task.find(type("Image")).primitive<ui::detail::ImageSpec>()->name, "square");
  Host bullet{theme.bulletedListMarker.render(ListMarkerConfiguration{3, 1})};
  EXPECT_EQ(bullet.find(type("Image")).primitive<ui::detail::ImageSpec>()->name, "square.fill");
  Host number{theme.numberedListMarker.render(ListMarkerConfiguration{1, 2})};
  EXPECT_TRUE(number.exists(text("2.")));
}

}  // namespace
