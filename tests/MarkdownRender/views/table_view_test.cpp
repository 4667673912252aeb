#include "MarkdownRender/views/table_view.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "MarkdownRender/views/image_views.h"
#include "MarkdownRender/views/inline_text.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "MarkdownRender/views/markdown_view.h"
#include "layout_fixture.h"
#include "platform/ui/inspector.h"
#include "platform/ui/layout/layout.h"
#include "platform/ui/window_host.h"

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
  for (const double width : {1.0, 3.0}) {
    SCOPED_TRACE(width);
    TableBorderStyle style;
    style.strokeStyle.lineWidth = width;
    ui::testing::WindowHost host(
        testing::inCorner(tableBorderStyle(Markdown("| a | b |\n|---|---|\n| 1 | 2 |\n"), style), {600, 400}),
        {600, 400});
    const Rect table = host.frame(ui::testing::type<TableView>());
    std::vector<Rect> cells;
    for (const auto& cell : host.findAll(ui::testing::type<TableCellView>()))
      cells.push_back(host.frame(cell));
    ASSERT_EQ(cells.size(), 4u);
    // Between the cells of a row and of a column, and between the outer cells and the table's edge.
    EXPECT_EQ(cells[0].minX() - table.minX(), width);
    EXPECT_EQ(cells[0].minY() - table.minY(), width);
    EXPECT_EQ(cells[1].minX() - cells[0].maxX(), width);
    EXPECT_EQ(cells[2].minY() - cells[0].maxY(), width);
    EXPECT_EQ(table.maxX() - cells[3].maxX(), width);
    EXPECT_EQ(table.maxY() - cells[3].maxY(), width);
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
  // Under a header wider than its cells, the cells keep to the leading edge, the middle or the trailing
  // edge of their column.
  ui::testing::WindowHost host(
      testing::inCorner(Markdown("| wide | wide | wide |\n|---|:-:|--:|\n| 1 | 2 | 3 |\n"), {600, 400}),
      {600, 400});
  const auto cells = host.findAll(ui::testing::type<TableCellView>());
  ASSERT_EQ(cells.size(), 6u);
  for (std::size_t column = 0; column < 3; ++column) {
    SCOPED_TRACE(column);
    const Rect header = host.frame(cells[column]), cell = host.frame(cells[3 + column]);
    ASSERT_LT(cell.width(), header.width());
    const double expected[] = {header.minX(), header.midX() - cell.width() / 2, header.maxX() - cell.width()};
    EXPECT_EQ(cell.minX(), expected[column]);
  }
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

constexpr const char* threeByThree = "| a | b | c |\n|---|---|---|\n| d | e | f |\n| g | h | i |\n";

// A table laid out at the top left of a window with the fixed metrics (13-point text: characters 6.5
// points wide, lines 16.25 high).
ui::testing::WindowHost laidOutTable(const ui::AnyView& view) {
  return ui::testing::WindowHost(testing::inCorner(view, {600, 400}), {600, 400});
}

Rect grown(const Rect& r, double by) {
  return Rect(r.minX() - by, r.minY() - by, r.width() + 2 * by, r.height() + 2 * by);
}

// The border pieces drawn over the table, relative to the table's top-left corner: each rectangle is
// stroked inside its piece (inset by half the line width), so the piece is its frame grown back by that.
std::vector<Rect> borderPieces(ui::testing::WindowHost& host, double lineWidth) {
  const Rect table = host.frame(ui::testing::type<TableView>());
  std::vector<Rect> pieces;
  for (const auto& shape :
       host.find(ui::testing::type<TableBorderView>()).findAll(ui::testing::type("Rectangle"))) {
    const Rect piece = grown(host.frame(shape), lineWidth / 2);
    pieces.emplace_back(piece.minX() - table.minX(), piece.minY() - table.minY(), piece.width(),
                        piece.height());
  }
  return pieces;
}

TEST(TableView, BorderLinesFillTheGapsBetweenTheCellsAndAroundThem) {
  struct Case {
    std::string name;
    TableBorderSelector selector;
    double width;
    std::vector<Rect> pieces;
  };
  // Cells of one character (6.5 by 16.25), one line width apart and in from the edge.
  const std::vector<Case> cases{
      {"full grid",
       TableBorderSelector::everyLine(),
       1,
       {Rect(0, 17.25, 23.5, 1), Rect(0, 34.5, 23.5, 1), Rect(7.5, 0, 1, 52.75), Rect(15, 0, 1, 52.75),
        Rect(0, 0, 23.5, 52.75)}},
      {"full grid, 3 points",
       TableBorderSelector::everyLine(),
       3,
       {Rect(0, 19.25, 31.5, 3), Rect(0, 38.5, 31.5, 3), Rect(9.5, 0, 3, 60.75), Rect(19, 0, 3, 60.75),
        Rect(0, 0, 31.5, 60.75)}},
      {"row rules",
       TableBorderSelector::horizontalLines(),
       1,
       {Rect(0, 0, 23.5, 1), Rect(0, 51.75, 23.5, 1), Rect(0, 17.25, 23.5, 1), Rect(0, 34.5, 23.5, 1)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StrokeStyle stroke;
    stroke.lineWidth = c.width;
    auto host = laidOutTable(tableBorderStyle(theme(Markdown(threeByThree), Theme()),
                                              TableBorderStyle{c.selector, ui::Color::red(), stroke}));
    EXPECT_EQ(host.frame(ui::testing::type<TableView>()).size,
              c.width == 1 ? ui::Size(23.5, 52.75) : ui::Size(31.5, 60.75));
    EXPECT_EQ(borderPieces(host, c.width), c.pieces);
    for (const auto& shape :
         host.find(ui::testing::type<TableBorderView>()).findAll(ui::testing::type("Rectangle"))) {
      const auto* spec = shape.primitive<ui::detail::ShapeSpec>();
      EXPECT_EQ(spec->stroke, ui::Color::red());
      EXPECT_EQ(spec->lineWidth, c.width);
    }
  }
}

TEST(TableView, EachThemeRulesItsTableWithItsOwnLines) {
  struct Case {
    std::string name;
    Theme theme;
    bool hasVerticalLines;
    ui::ResolvedColor colour;
  };
  const Case cases[] = {
      {"standard: the full grid", Theme::standardTheme(), true,
       ui::Color::secondary().resolved(ui::ColorScheme::light)},
      {"dynamic colours: row rules", Theme::dynamicColorTheme(), false,
       ui::Color(0xD2 / 255.0, 0xD2 / 255.0, 0xD7 / 255.0).resolved(ui::ColorScheme::light)},
      {"checkboxes: the full grid", Theme::checkboxTheme(), true,
       ui::Color(0xE4 / 255.0, 0xE4 / 255.0, 0xE8 / 255.0).resolved(ui::ColorScheme::light)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto host = laidOutTable(theme(Markdown(threeByThree), c.theme));
    const Rect table = host.frame(ui::testing::type<TableView>());
    std::vector<Rect> cells;
    for (const auto& cell : host.findAll(ui::testing::type<TableCellView>()))
      cells.push_back(host.frame(cell));
    ASSERT_EQ(cells.size(), 9u);
    auto cell = [&](int r, int col) { return cells[static_cast<std::size_t>(r * 3 + col)]; };
    std::vector<Rect> expected;
    if (!c.hasVerticalLines) {
      expected.emplace_back(table.minX(), table.minY(), table.width(), 1);
      expected.emplace_back(table.minX(), table.maxY() - 1, table.width(), 1);
    }
    // Each line fills the gap after its row or column, across the whole table.
    for (int r = 0; r < 2; ++r) expected.emplace_back(table.minX(), cell(r, 0).maxY(), table.width(), 1);
    if (c.hasVerticalLines) {
      for (int col = 0; col < 2; ++col)
        expected.emplace_back(cell(0, col).maxX(), table.minY(), 1, table.height());
      expected.push_back(table);
    }
    std::vector<Rect> drawn;
    for (const auto& piece : borderPieces(host, 1)) {
      drawn.emplace_back(piece.minX() + table.minX(), piece.minY() + table.minY(), piece.width(),
                         piece.height());
    }
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(cell(1, 0).minY() - cell(0, 0).maxY(), 1);
    for (const auto& shape :
         host.find(ui::testing::type<TableBorderView>()).findAll(ui::testing::type("Rectangle"))) {
      EXPECT_EQ(shape.primitive<ui::detail::ShapeSpec>()->stroke->resolved(ui::ColorScheme::light), c.colour);
    }
  }
}

TEST(TableView, RowFillsSpanTheirRowAndColumnsNotTheCellsOwnSize) {
  auto host = laidOutTable(
      tableBackgroundStyle(theme(Markdown("| a | b |\n|---|---|\n| longer | x |\n| y | z |\n"), Theme()),
                           TableBackgroundStyle::rowBands(ui::Color::red(), ui::Color::blue())));
  const Rect table = host.frame(ui::testing::type<TableView>());
  auto fills = host.find(ui::testing::type<TableBackgroundView>()).findAll(ui::testing::type("Rectangle"));
  ASSERT_EQ(fills.size(), 6u);
  // "longer" makes the first column 39 points wide; every row is one line high.
  const double first = 6 * 6.5, second = 6.5, line = 16.25;
  for (std::size_t row = 0; row < 3; ++row) {
    SCOPED_TRACE(row);
    const Rect left = host.frame(fills[row * 2]), right = host.frame(fills[row * 2 + 1]);
    const double top = table.minY() + 1 + static_cast<double>(row) * (line + 1);
    EXPECT_EQ(left, Rect(table.minX() + 1, top, first, line));
    EXPECT_EQ(right, Rect(table.minX() + 1 + first + 1, top, second, line));
    EXPECT_EQ(right.maxX(), table.maxX() - 1);  // the row's fills reach across the whole row
    const auto colour = fills[row * 2].primitive<ui::detail::ShapeSpec>()->fill;
    EXPECT_EQ(colour, row == 2 ? ui::Color::blue() : ui::Color::red());
  }
}

// A table in the corner of a window as `laidOutTable` shows it, with row bands so every cell has a fill.
ui::AnyView banded(const std::vector<std::vector<std::string>>& rows) {
  std::vector<TableRow> cells;
  for (const auto& row : rows) {
    cells.emplace_back();
    for (const auto& cell : row) cells.back().push_back({Inline::text(cell)});
  }
  std::vector<std::optional<TextTableColumnAlignment>> alignments(rows.front().size());
  return testing::inCorner(
      tableBackgroundStyle(theme(TableView(alignments, cells), Theme()),
                           TableBackgroundStyle::rowBands(ui::Color::red(), ui::Color::blue())),
      {600, 400});
}

// Every fill behind the table, relative to the table's top-left corner.
std::vector<Rect> fillFrames(ui::testing::WindowHost& host) {
  const Rect table = host.frame(ui::testing::type<TableView>());
  std::vector<Rect> fills;
  for (const auto& shape :
       host.find(ui::testing::type<TableBackgroundView>()).findAll(ui::testing::type("Rectangle"))) {
    const Rect fill = host.frame(shape);
    fills.emplace_back(fill.minX() - table.minX(), fill.minY() - table.minY(), fill.width(), fill.height());
  }
  return fills;
}

std::vector<Rect> cellFrames(ui::testing::WindowHost& host) {
  std::vector<Rect> cells;
  for (const auto& cell : host.findAll(ui::testing::type<TableCellView>())) cells.push_back(host.frame(cell));
  return cells;
}

// The Markdown text of a table whose first row is its header.
std::string tableText(const std::vector<std::vector<std::string>>& rows) {
  std::string text;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    text += "|";
    for (const auto& cell : rows[r]) text += " " + cell + " |";
    text += "\n";
    if (r == 0) {
      text += "|";
      for (std::size_t c = 0; c < rows[r].size(); ++c) text += "---|";
      text += "\n";
    }
  }
  return text;
}

TEST(TableView, TablesThatChangeWhileShownAreDrawnAsIfShownAfresh) {
  using Rows = std::vector<std::vector<std::string>>;
  struct Case {
    std::string name;
    Rows before;
    Rows after;
  };
  const Case cases[] = {
      {"a row streams in", {{"a", "b"}, {"1", "2"}}, {{"a", "b"}, {"1", "2"}, {"3", "4"}}},
      {"a cell grows longer", {{"a", "b"}, {"1", "2"}}, {{"a", "b"}, {"1", "2222"}}},
      // The table keeps its size while the line between its columns moves: only the cells know.
      {"one column narrows as the other widens", {{"x", "y"}, {"ab", "c"}}, {{"x", "y"}, {"a", "bc"}}},
      {"a column is added", {{"a"}, {"1"}}, {{"a", "b"}, {"1", "2"}}},
      {"a row is taken away", {{"a", "b"}, {"1", "2"}, {"3", "4"}}, {{"a", "b"}, {"1", "2"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ui::testing::WindowHost changed(banded(c.before), {600, 400});
    const auto piecesBefore = borderPieces(changed, 1);
    changed.setRoot(banded(c.after));
    ui::testing::WindowHost fresh(banded(c.after), {600, 400});
    EXPECT_EQ(changed.frame(ui::testing::type<TableView>()), fresh.frame(ui::testing::type<TableView>()));
    EXPECT_EQ(cellFrames(changed), cellFrames(fresh));
    EXPECT_EQ(borderPieces(changed, 1), borderPieces(fresh, 1));
    EXPECT_NE(borderPieces(changed, 1), piecesBefore);
    EXPECT_EQ(fillFrames(changed), fillFrames(fresh));
  }
}

// Cells that a table shown again holds unchanged keep their views: only what changed is styled again,
// and the table is laid out as if shown afresh.
TEST(TableView, ATableShownAgainStylesOnlyTheCellsThatChanged) {
  auto styled = std::make_shared<int>(0);
  // One theme object for every showing, as an application keeps its theme.
  const auto counting =
      std::make_shared<const Theme>(Theme().withTableCell([styled](const TableCellConfiguration& c) {
        ++*styled;
        return ui::AnyView(c.label).padding(c.row == 0 ? 6 : 2);
      }));
  auto shown = [&](const std::vector<std::vector<std::string>>& rows) {
    std::vector<TableRow> cells;
    for (const auto& row : rows) {
      cells.emplace_back();
      for (const auto& cell : row) cells.back().push_back({Inline::text(cell)});
    }
    auto modifier = std::make_shared<ui::EnvironmentModifier>();
    modifier->label = "theme";
    modifier->transform = [counting](ui::EnvironmentValues& environment) {
      environment.setShared<ThemeKey>(counting);
    };
    std::vector<std::optional<TextTableColumnAlignment>> alignments(rows.front().size());
    return testing::inCorner(ui::AnyView(TableView(alignments, cells)).modifier(modifier), {600, 400});
  };
  struct Step {
    std::string name;
    std::vector<std::vector<std::string>> rows;
    int styled;  // cells styled again
  };
  const Step steps[] = {
      {"a row streams in", {{"a", "b"}, {"1", "2"}, {"3", "4"}}, 2},
      {"the last cell grows", {{"a", "b"}, {"1", "2"}, {"3", "4444"}}, 1},
      {"the same table again", {{"a", "b"}, {"1", "2"}, {"3", "4444"}}, 0},
      {"a header cell changes", {{"a", "bb"}, {"1", "2"}, {"3", "4444"}}, 1},
  };
  ui::testing::WindowHost changed(shown({{"a", "b"}, {"1", "2"}}), {600, 400});
  EXPECT_EQ(*styled, 4);
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    const int before = *styled;
    changed.setRoot(shown(step.rows));
    EXPECT_EQ(*styled - before, step.styled);
    ui::testing::WindowHost fresh(shown(step.rows), {600, 400});
    EXPECT_EQ(changed.dump(), fresh.dump());
    EXPECT_EQ(cellFrames(changed), cellFrames(fresh));
    EXPECT_EQ(borderPieces(changed, 1), borderPieces(fresh, 1));
  }
}

TEST(TableView, CellsFollowTheCellStyleOfTheThemeInForceAsIfShownAfresh) {
  const Theme padded = Theme().withTableCell(
      [](const TableCellConfiguration& c) { return ui::AnyView(c.label).padding(c.row == 0 ? 8 : 3); });
  const Theme marked = Theme().withTableCell([](const TableCellConfiguration& c) {
    return ui::AnyView(c.label)
        .padding(ui::Edges::leading, 10 * c.column)
        .accessibilityIdentifier("r" + std::to_string(c.row) + "c" + std::to_string(c.column));
  });
  struct Case {
    std::string name;
    Theme before;
    Theme after;
  };
  const Case cases[] = {
      {"plain to padded", Theme(), padded},
      {"padded to the standard theme (bold header, spacing from the font)", padded, Theme::standardTheme()},
      {"the standard theme to marked", Theme::standardTheme(), marked},
      {"marked to plain", marked, Theme()},
  };
  const std::vector<TableRow> rows{{{Inline::text("h1")}, {Inline::text("h2")}},
                                   {{Inline::text("a")}, {Inline::text("longer")}},
                                   {{Inline::text("bb")}, {Inline::text("c")}}};
  const std::vector<std::optional<TextTableColumnAlignment>> alignments{std::nullopt,
                                                                        TextTableColumnAlignment::center};
  auto shown = [&](const Theme& cellTheme) {
    return testing::inCorner(theme(TableView(alignments, rows), cellTheme), {600, 400});
  };
  auto texts = [](ui::testing::WindowHost& host) {
    std::vector<std::pair<std::string, Rect>> found;
    for (const auto& text : host.findAll(ui::testing::type("Text")))
      found.emplace_back(text.text(), host.frame(text));
    return found;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ui::testing::WindowHost changed(shown(c.before), {600, 400});
    changed.setRoot(shown(c.after));
    ui::testing::WindowHost fresh(shown(c.after), {600, 400});
    EXPECT_EQ(changed.dump(), fresh.dump());
    EXPECT_EQ(cellFrames(changed), cellFrames(fresh));
    EXPECT_EQ(texts(changed), texts(fresh));
    EXPECT_EQ(borderPieces(changed, 1), borderPieces(fresh, 1));
  }
}

TEST(TableView, LongTableScrollsOverExactlyTheSpaceItTakesWhenShownWhole) {
  std::vector<std::vector<std::string>> rows{{"n", "square", "note"}};
  for (int i = 1; i <= 300; ++i)
    rows.push_back({std::to_string(i), std::to_string(i * i), i % 7 ? "" : "seventh"});
  const std::string markdown = tableText(rows);
  ui::testing::WindowHost scrolled(ui::ScrollView(theme(Markdown(markdown), Theme())), {300, 200});
  // Shown whole: a window tall enough for every row.
  ui::testing::WindowHost whole(testing::inCorner(theme(Markdown(markdown), Theme()), {300, 6000}),
                                {300, 6000});
  const Rect table = whole.frame(ui::testing::type<TableView>());
  // 301 rows of one line each, one point apart and in from the edges.
  EXPECT_EQ(table.height(), 1 + 301 * (16.25 + 1));
  const auto content = scrolled.contentSize(scrolled.find(ui::testing::type("ScrollView")));
  ASSERT_TRUE(content.has_value());
  EXPECT_EQ(content->height, table.height());
  // Every cell, line and fill lies where it lies in the table shown whole.
  const Rect scrolledTable = scrolled.frame(ui::testing::type<TableView>());
  auto relative = [](std::vector<Rect> frames, const Rect& to) {
    for (auto& frame : frames)
      frame = Rect(frame.minX() - to.minX(), frame.minY() - to.minY(), frame.width(), frame.height());
    return frames;
  };
  EXPECT_EQ(relative(cellFrames(scrolled), scrolledTable), relative(cellFrames(whole), table));
  EXPECT_EQ(borderPieces(scrolled, 1), borderPieces(whole, 1));
  EXPECT_EQ(borderPieces(scrolled, 1).size(), 300u + 2u + 1u);
  EXPECT_EQ(scrolled.frame(text("90000")).minY() - scrolledTable.minY(), 1 + 300 * (16.25 + 1));
}

TEST(TableView, CellsShowTheirTextInTheirColumnAsTheColumnIsAligned) {
  auto host = laidOutTable(
      theme(Markdown("| a | b | c | d |\n|---|:-:|--:|:--|\n| wide | wide | wide | wide |\n"), Theme()));
  const Rect table = host.frame(ui::testing::type<TableView>());
  const std::vector<std::string> shown{"a", "b", "c", "d", "wide", "wide", "wide", "wide"};
  const auto cells = host.findAll(ui::testing::type<TableCellView>());
  ASSERT_EQ(cells.size(), shown.size());
  for (std::size_t i = 0; i < cells.size(); ++i) EXPECT_EQ(cells[i].text(), shown[i]) << i;
  // Columns are as wide as "wide" (26 points); a header of one character (6.5 points) sits at the
  // column's leading edge, its middle or its trailing edge.
  const double column = 4 * 6.5, letter = 6.5;
  auto left = [&](const char* header) { return host.frame(text(header)).minX() - table.minX(); };
  EXPECT_EQ(left("a"), 1);
  EXPECT_EQ(left("b"), 1 + column + 1 + (column - letter) / 2);
  EXPECT_EQ(left("c"), 1 + 2 * (column + 1) + column - letter);
  EXPECT_EQ(left("d"), 1 + 3 * (column + 1));
}

TEST(TableView, BeforeLayoutOnlyTheOutlineIsDrawnAndCellsAreClear) {
  Host host{Markdown(threeByThree)};
  EXPECT_EQ(host.find(ui::testing::type<TableBorderView>()).findAll(ui::testing::type("Rectangle")).size(),
            1u);
  EXPECT_EQ(
      host.find(ui::testing::type<TableBackgroundView>()).findAll(ui::testing::type("Rectangle")).size(), 0u);
}

}  // namespace
}  // namespace MarkdownRender
