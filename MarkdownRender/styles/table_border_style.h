// How a table's border lines are drawn: the geometry of a laid-out table, the selectors that pick the border
// pieces from it, and the border style that table views read from the environment.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <vector>

#include "platform/foundation/geometry.h"
#include "platform/ui/color.h"
#include "platform/ui/stroke_style.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

// How a border line is stroked.
using StrokeStyle = ui::StrokeStyle;

// Where a table's rows and columns lie, in the coordinates of the view that draws over the table.
struct TableBounds {
  struct RowExtent {
    double minY = 0;
    double height = 0;
    bool operator==(const RowExtent&) const = default;
  };
  struct ColumnExtent {
    double minX = 0;
    double width = 0;
    bool operator==(const ColumnExtent&) const = default;
  };

  foundation::Rect bounds;  // the whole table, grid and outer spacing
  std::vector<RowExtent> rows;
  std::vector<ColumnExtent> columns;

  // The cell of row r and column c.
  foundation::Rect cell(std::size_t row, std::size_t column) const;
};

struct TableCellIndex {
  int row = 0;
  int column = 0;
  auto operator<=>(const TableCellIndex&) const = default;
};

// The extents of `rowCount` rows and `columnCount` columns from the cells' reported rectangles: each row
// starts at its highest cell and is as tall as its tallest, each column likewise. Rows and columns whose
// cells have not reported lie at the largest finite position with no size, so nothing is drawn for them.
TableBounds tableBounds(std::size_t rowCount, std::size_t columnCount,
                        const std::map<TableCellIndex, foundation::Rect>& cells, foundation::Rect frame);

// The gaps of width `lineWidth` below every row but the last, across the whole table.
std::vector<foundation::Rect> innerHorizontalLines(const TableBounds& bounds, double lineWidth);
// The gaps of width `lineWidth` right of every column but the last, over the whole table.
std::vector<foundation::Rect> innerVerticalLines(const TableBounds& bounds, double lineWidth);

// Which border pieces a table draws: each returned rectangle is stroked inside its edge.
struct TableBorderSelector {
  std::function<std::vector<foundation::Rect>(const TableBounds&, double lineWidth)> rectangles;

  // The full grid: every line between rows and between columns, then the outline.
  static TableBorderSelector everyLine();
  // Row rules: a line along the top and one along the bottom of the table, then one between every two
  // rows; no vertical lines.
  static TableBorderSelector horizontalLines();
  static TableBorderSelector outline();
  static TableBorderSelector innerLines();
  static TableBorderSelector innerHorizontalLines();
  static TableBorderSelector innerVerticalLines();
};

struct TableBorderStyle {
  TableBorderSelector visibleBorders = TableBorderSelector::everyLine();
  ui::Color color = ui::Color::secondary();
  StrokeStyle strokeStyle;
};

// The border style of the tables below: every line, secondary colour, one point wide, unless set.
struct TableBorderStyleKey {
  using Value = TableBorderStyle;
  static const TableBorderStyle& defaultValue();
};

ui::AnyView tableBorderStyle(const ui::AnyView& view, TableBorderStyle style);

}  // namespace MarkdownRender
