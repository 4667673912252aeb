// The built-in theme with appearance colours: text and links recolour with the appearance, headings and
// blocks are spaced by top margins in their own font, quotes are panels and code blocks are rounded.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "MarkdownRender/styles/color_extensions.h"
#include "MarkdownRender/styles/table_border_style.h"
#include "MarkdownRender/styles/text_styles.h"
#include "MarkdownRender/styles/theme.h"
#include "style_probe.h"

namespace {

using namespace MarkdownRender;
using markdown_styles_test::attributesProbe;
using markdown_styles_test::labelled;
using markdown_styles_test::packed;
using markdown_styles_test::reportedMargins;
using ui::ColorScheme;
using ui::testing::Host;
using ui::testing::identifier;
using ui::testing::text;
using ui::testing::type;

ui::Color foregroundOf(const AnyTextStyle& style) {
  ui::AttributeContainer attributes;
  style.applyAttributes(attributes);
  return attributes.foregroundColor.value();
}

TEST(DynamicColorTheme, TextAndLinksFollowTheAppearance) {
  const Theme theme = Theme::dynamicColorTheme();
  EXPECT_EQ(foregroundOf(theme.text).resolved(ColorScheme::light), packed(0x1D1D1FFF));
  EXPECT_EQ(foregroundOf(theme.text).resolved(ColorScheme::dark), packed(0xF5F5F7FF));
  EXPECT_EQ(foregroundOf(theme.link).resolved(ColorScheme::light), packed(0x0066CCFF));
  EXPECT_EQ(foregroundOf(theme.link).resolved(ColorScheme::dark), packed(0x2997FFFF));

  Host host{ui::Text("Body").foregroundStyle(foregroundOf(theme.text))};
  EXPECT_EQ(host.find(text("Body")).resolvedForegroundColor(), packed(0x1D1D1FFF));
  host.setColorScheme(ColorScheme::dark);
  EXPECT_EQ(host.find(text("Body")).resolvedForegroundColor(), packed(0xF5F5F7FF));

  // The colours are made once and shared by every copy.
  EXPECT_EQ(foregroundOf(Theme::dynamicColorTheme().text), foregroundOf(theme.text));
}

TEST(DynamicColorTheme, HeadingsHaveTopMarginsInTheirOwnSize) {
  const Theme theme = Theme::dynamicColorTheme();
  struct Case {
    int level;
    std::string probe;
    BlockMargin margins;
    double lineSpacing;
  };
  const Case cases[] = {
      {1, "26 semibold", {21, 0}, 0}, {2, "24 semibold", {38, 0}, 2}, {3, "21 semibold", {34, 0}, 2},
      {4, "18 semibold", {29, 0}, 2}, {5, "17 semibold", {27, 0}, 2}, {6, "13 semibold", {21, 0}, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.level);
    const auto& style = theme.headings[static_cast<std::size_t>(c.level - 1)];
    Host host{style.render(labelled(attributesProbe("heading")))};
    const auto heading = host.find(identifier("heading"));
    EXPECT_EQ(heading.text(), c.probe);
    EXPECT_EQ(heading.environment().get<ui::LineSpacingKey>(), c.lineSpacing);
    EXPECT_EQ(reportedMargins(style.render(labelled(ui::Text("h")))), c.margins);
  }
}

TEST(DynamicColorTheme, ParagraphsListItemsImagesAndRules) {
  const Theme theme = Theme::dynamicColorTheme();
  EXPECT_EQ(reportedMargins(theme.paragraph.render(labelled(ui::Text("p")))), (BlockMargin{10, 0}));
  Host paragraph{theme.paragraph.render(labelled(ui::Text("p")))};
  EXPECT_EQ(paragraph.find(text("p")).environment().get<ui::LineSpacingKey>(), 3);
  EXPECT_EQ(reportedMargins(theme.listItem.render(labelled(ui::Text("i")))), (BlockMargin{10, std::nullopt}));
  EXPECT_EQ(reportedMargins(theme.image.render(labelled(ui::Text("i")))), (BlockMargin{21, 21}));
  Host image{theme.image.render(labelled(ui::Text("picture")))};
  const auto* frame = image.find(text("picture")).modifier<ui::FrameModifier>();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->maxWidth, std::numeric_limits<double>::infinity());
  EXPECT_EQ(frame->alignment, ui::Alignment::center());
  EXPECT_EQ(reportedMargins(theme.thematicBreak.render()), (BlockMargin{31, 31}));
  EXPECT_EQ(reportedMargins(theme.table.render(labelled(ui::Text("t")))), (BlockMargin{21, 0}));
}

TEST(DynamicColorTheme, QuotesArePanelsAcrossTheFullWidth) {
  const Theme theme = Theme::dynamicColorTheme();
  Host host{theme.blockquote.render(labelled(ui::Text("quote")))};
  const auto quote = host.find(text("quote"));
  EXPECT_EQ(quote.padding(), (ui::EdgeInsets{12, 12, 12, 12}));
  const auto* frame = quote.modifier<ui::FrameModifier>();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->maxWidth, std::numeric_limits<double>::infinity());
  EXPECT_EQ(frame->alignment, ui::Alignment::leading());
  const auto background = quote.background();
  ASSERT_TRUE(background.has_value());
  const auto shapes = background->findAll(type("RoundedRectangle"));
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_EQ(reportedMargins(theme.blockquote.render(labelled(ui::Text("q")))), (BlockMargin{21, 0}));
}

TEST(DynamicColorTheme, CodeBlocksScrollInsideARoundedBackground) {
  const Theme theme = Theme::dynamicColorTheme();
  Host host{theme.codeBlock.render(labelled(attributesProbe("code")))};
  const auto code = host.find(identifier("code"));
  EXPECT_EQ(code.text(), "11 monospaced");
  EXPECT_EQ(code.padding(), (ui::EdgeInsets{8, 14, 8, 0}));
  EXPECT_EQ(code.environment().get<ui::LineSpacingKey>(), 4);
  const auto scroll = host.find(type("ScrollView"));
  EXPECT_EQ(scroll.clipShape(),
            (ui::ShapeOutline{ui::ShapeOutline::Kind::roundedRectangle, 15, ui::CornerStyle::continuous}));
  EXPECT_EQ(reportedMargins(theme.codeBlock.render(labelled(ui::Text("c")))), (BlockMargin{10, 0}));
}

TEST(DynamicColorTheme, TaskItemsShowTheSameCircleWhateverTheirState) {
  const Theme theme = Theme::dynamicColorTheme();
  for (bool isCompleted : {true, false}) {
    Host host{theme.taskListMarker.render(TaskListMarkerConfiguration{isCompleted})};
    const auto image = host.find(type("Image"));
    EXPECT_EQ(image.primitive<ui::detail::ImageSpec>()->name, "circle.fill");
    EXPECT_EQ(image.modifier<ui::FrameModifier>()->minWidth, 20);
  }
}

TEST(DynamicColorTheme, TablesHaveRowRulesInTheRuleColour) {
  const Theme theme = Theme::dynamicColorTheme();
  for (ColorScheme scheme : ui::allColorSchemes) {
    Host host{theme.table.render(labelled(ui::Text("t"))), scheme};
    const auto style = host.find(text("t")).environment().get<TableBorderStyleKey>();
    EXPECT_EQ(style.color.resolved(scheme),
              scheme == ColorScheme::light ? packed(0xD2D2D7FF) : packed(0x424245FF));
    EXPECT_EQ(style.strokeStyle, StrokeStyle());
    // Rules above, below and between the rows; no vertical lines.
    const TableBounds bounds = markdown_styles_test::twoByTwoTable();
    EXPECT_EQ(style.visibleBorders.rectangles(bounds, 1),
              (std::vector<foundation::Rect>{{0, 0, 13, 1}, {0, 12, 13, 1}, {0, 6, 13, 1}}));
  }
  // The background style is left as it is.
  Host host{theme.table.render(labelled(ui::Text("t")))};
  EXPECT_EQ(host.find(text("t")).environment().get<TableBackgroundStyleKey>().background(2, 0),
            ui::Color::clear());
}

TEST(DynamicColorTheme, OnlyHeaderCellsAreSemibold) {
  const Theme theme = Theme::dynamicColorTheme();
  for (int row : {0, 1}) {
    Host host{theme.tableCell.render(TableCellConfiguration{row, 0, BlockLabel(attributesProbe("cell"))})};
    const auto cell = host.find(identifier("cell"));
    EXPECT_EQ(cell.text(), row == 0 ? "13 semibold" : "13");
    EXPECT_EQ(cell.padding(), (ui::EdgeInsets{8, 8, 8, 8}));
  }
}

}  // namespace
