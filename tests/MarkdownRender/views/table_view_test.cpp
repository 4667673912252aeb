#include "MarkdownRender/views/table_view.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "MarkdownRender/views/image_views.h"
#include "MarkdownRender/views/inline_text.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "MarkdownRender/views/markdown_view.h"
#include "platform/ui/inspector.h"
#include "platform/ui/layout/layout.h"

namespace MarkdownRender {
namespace {

using foundation::Rect;
using ui::testing::Host;
using ui::testing::text;

// Two rows and two columns, one point apart and one point in from the table's edge.
TableBounds twoByTwo() {
  std::map<TableCellIndex, Rect> cells{
      {{0, 0}, Rect(1, 1, 10, 5)},
      {{0, 1}, Rect(12, 1, 20, 5)},
      {{1, 0}, Rect(1, 7, 10, 4)},
      {{1, 1}, Rect(12, 7, 20, 3)},
  };
  return tableBounds(2, 2, cells, Rect(0, 0, 33, 12));
}

TEST(TableGeometry, RowsAndColumnsSpanTheirCells) {
  auto bounds = twoByTwo();
  EXPECT_EQ(bounds.rows, (std::vector<TableBounds::RowExtent>{{1, 5}, {7, 4}}));
  EXPECT_EQ(bounds.columns, (std::vector<TableBounds::ColumnExtent>{{1, 10}, {12, 20}}));
  EXPECT_EQ(bounds.cell(1, 1), Rect(12, 7, 20, 4));
}

TEST(TableGeometry, InnerLinesFillTheGapsAcrossTheWholeTable) {
  auto bounds = twoByTwo();
  EXPECT_EQ(innerHorizontalLines(bounds, 1), std::vector<Rect>{Rect(0, 6, 33, 1)});
  EXPECT_EQ(innerVerticalLines(bounds, 1), std::vector<Rect>{Rect(11, 0, 1, 12)});
}

TEST(TableGeometry, SelectorsReturnTheirPiecesInOrder) {
  auto bounds = twoByTwo();
  const Rect horizontal(0, 6, 33, 1), vertical(11, 0, 1, 12), outline(0, 0, 33, 12);
  struct Case {
    std::string name;
    TableBorderSelector selector;
    std::vector<Rect> pieces;
  };
  const std::vector<Case> cases{
      {"everyLine", TableBorderSelector::everyLine(), {horizontal, vertical, outline}},
      {"horizontalLines",
       TableBorderSelector::horizontalLines(),
       {Rect(0, 0, 33, 1), Rect(0, 11, 33, 1), horizontal}},
      {"outline", TableBorderSelector::outline(), {outline}},
      {"innerLines", TableBorderSelector::innerLines(), {horizontal, vertical}},
      {"innerHorizontalLines", TableBorderSelector::innerHorizontalLines(), {horizontal}},
      {"innerVerticalLines", TableBorderSelector::innerVerticalLines(), {vertical}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.selector.rectangles(bounds, 1), c.pieces);
  }
}

TEST(TableGeometry, SingleRowOrColumnHasOnlyTheOutline) {
  auto oneRow =
      tableBounds(1, 2, {{{0, 0}, Rect(1, 1, 5, 5)}, {{0, 1}, Rect(7, 1, 5, 5)}}, Rect(0, 0, 13, 7));
  EXPECT_TRUE(innerHorizontalLines(oneRow, 1).empty());
  auto oneColumn =
      tableBounds(2, 1, {{{0, 0}, Rect(1, 1, 5, 5)}, {{1, 0}, Rect(1, 7, 5, 5)}}, Rect(0, 0, 7, 13));
  EXPECT_TRUE(innerVerticalLines(oneColumn, 1).empty());
  EXPECT_EQ(TableBorderSelector::everyLine().rectangles(oneRow, 1).back(), Rect(0, 0, 13, 7));
}

TEST(TableGeometry, CellsNotYetMeasuredLieFarAwayWithNoSize) {
  auto bounds = tableBounds(1, 1, {}, Rect(0, 0, 5, 5));
  EXPECT_EQ(bounds.rows[0].minY, std::numeric_limits<double>::max());
  EXPECT_EQ(bounds.rows[0].height, 0);
  EXPECT_EQ(bounds.columns[0].width, 0);
}

TEST(TableView, DefaultsToEveryOnePointSecondaryLine) {
  const auto& style = TableBorderStyleKey::defaultValue();
  EXPECT_EQ(style.color, ui::Color::secondary());
  EXPECT_EQ(style.strokeStyle, StrokeStyle());
  EXPECT_EQ(style.strokeStyle.lineWidth, 1);
  EXPECT_EQ(style.visibleBorders.rectangles(twoByTwo(), 1).size(), 3u);
}

TEST(TableView, CellsAndEdgeAreOneLineWidthApart) {
  struct Case {
    double width;
    std::string grid;
  };
  const Case cases[] = {{1, "Grid (horizontalSpacing: 1, verticalSpacing: 1)"},
                        {3, "Grid (horizontalSpacing: 3, verticalSpacing: 3)"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    TableBorderStyle style;
    style.strokeStyle.lineWidth = c.width;
    Host host(tableBorderStyle(Markdown("| a | b |\n|---|---|\n| 1 | 2 |\n"), style));
    auto grid = host.find(ui::testing::type("Grid"));
    EXPECT_NE(host.dump().find(c.grid), std::string::npos) << host.dump();
    EXPECT_EQ(grid.padding(), (ui::EdgeInsets{c.width, c.width, c.width, c.width}));
  }
}

TEST(TableView, ColumnsAlignAsTheirDelimiterRowsSay) {
  TableView table({std::nullopt, TextTableColumnAlignment::leading, TextTableColumnAlignment::center,
                   TextTableColumnAlignment::trailing},
                  {});
  EXPECT_EQ(table.columnAlignments(),
            (std::vector<ui::HorizontalAlignment>{
                ui::HorizontalAlignment::leading, ui::HorizontalAlignment::leading,
                ui::HorizontalAlignment::center, ui::HorizontalAlignment::trailing}));
  Host host(Markdown("| a | b | c |\n|---|:-:|--:|\n| 1 | 2 | 3 |\n"));
  auto alignments = host.find(text("b")).modifiersOf<ui::GridColumnAlignmentModifier>();
  ASSERT_FALSE(alignments.empty());
  EXPECT_EQ(alignments.back()->alignment, ui::HorizontalAlignment::center);
}

TEST(TableView, CellStyleLearnsRowAndColumnWithTheHeaderAsRowZero) {
  auto marked = Theme::standardTheme().withTableCell([](const TableCellConfiguration& c) {
    return ui::AnyView(c.label).accessibilityIdentifier("r" + std::to_string(c.row) + "c" +
                                                        std::to_string(c.column));
  });
  Host host(theme(Markdown("| h1 | h2 |\n|---|---|\n| a | b |\n"), marked));
  for (const char* id : {"r0c0", "r0c1", "r1c0", "r1c1"})
    EXPECT_TRUE(host.exists(ui::testing::identifier(id))) << id;
  EXPECT_EQ(host.find(ui::testing::identifier("r0c1")).text(), "h2");
}

TEST(TableView, TableIsFramedByTheThemeTableStyle) {
  auto marked = Theme::standardTheme().withTable(
      [](const BlockConfiguration& c) { return ui::AnyView(c.label).accessibilityIdentifier("table"); });
  Host host(theme(Markdown("| a |\n|---|\n| 1 |\n"), marked));
  EXPECT_TRUE(host.exists(ui::testing::identifier("table")));
}

TEST(TableView, CellOfOnlyAPictureIsAnImageFlow) {
  Host host(Markdown("| pic | text |\n|---|---|\n| ![a](a.png) | words |\n"));
  EXPECT_EQ(host.findAll(ui::testing::type<ImageFlow>()).size(), 1u);
  EXPECT_TRUE(host.exists(text("words")));
}

TEST(TableView, ShortRowsShowEmptyCellsAndEmptyTablesNothing) {
  Host host(TableView({std::nullopt, std::nullopt}, {{{Inline::text("only")}}}));
  EXPECT_EQ(host.findAll(ui::testing::type<TableCellView>()).size(), 2u);
  Host empty(TableView({}, {{{Inline::text("x")}}}));
  EXPECT_FALSE(empty.exists(text("x")));
}

TEST(TableView, CellsTakeTheBackgroundStyleFills) {
  Host clear(Markdown("| a |\n|---|\n| 1 |\n"));
  EXPECT_FALSE(clear.exists(ui::testing::type("Color")));
  Host banded(tableBackgroundStyle(Markdown("| a |\n|---|\n| 1 |\n"),
                                   TableBackgroundStyle::rowBands(ui::Color::red(), ui::Color::blue())));
  EXPECT_EQ(banded.findAll(ui::testing::type("Color")).size(), 2u);
}

}  // namespace
}  // namespace MarkdownRender
