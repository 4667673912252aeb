// Tables laid out as a grid of cells, one border line apart, with the geometry from which their border
// lines and cell fills are drawn.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/styles/block_style.h"
#include "MarkdownRender/styles/theme_environment.h"
#include "platform/foundation/geometry.h"
#include "platform/ui/color.h"
#include "platform/ui/environment.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

// How a line is stroked.
struct StrokeStyle {
  enum class LineCap { butt, round, square };
  enum class LineJoin { miter, round, bevel };
  double lineWidth = 1;
  LineCap lineCap = LineCap::butt;
  LineJoin lineJoin = LineJoin::miter;
  double miterLimit = 10;
  std::vector<double> dash;
  double dashPhase = 0;
  bool operator==(const StrokeStyle&) const = default;
};

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

  static TableBorderSelector everyLine();
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

// One cell: a flow of pictures when it holds only pictures and breaks, else its running text, shown
// through the theme's cell style, which learns the row (0 is the header) and column.
class TableCellView final : public ui::View {
 public:
  TableCellView(int row, int column, std::vector<Inline> inlines)
      : row_(row), column_(column), inlines_(std::move(inlines)) {}
  ui::AnyView body() const override;

 private:
  int row_;
  int column_;
  std::vector<Inline> inlines_;
};

// The table as a grid, the header row first, cells and outer edge one border line apart.
class TableView final : public ui::View {
 public:
  TableView(const std::vector<std::optional<TextTableColumnAlignment>>& columnAlignments,
            std::vector<TableRow> rows);
  ui::AnyView body() const override;
  const std::vector<ui::HorizontalAlignment>& columnAlignments() const { return columnAlignments_; }

 private:
  ui::Environment<TableBorderStyleKey> borderStyle_;
  ui::Environment<TableBackgroundStyleKey> backgroundStyle_;
  std::vector<ui::HorizontalAlignment> columnAlignments_;
  std::vector<TableRow> rows_;
};

}  // namespace MarkdownRender
