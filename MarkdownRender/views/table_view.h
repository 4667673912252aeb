// Tables laid out as a grid of cells, one border line apart, with their border lines and cell fills drawn
// from the bounds the cells report.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/styles/block_style.h"
#include "MarkdownRender/styles/table_border_style.h"
#include "MarkdownRender/styles/theme_environment.h"
#include "platform/foundation/geometry.h"
#include "platform/ui/color.h"
#include "platform/ui/environment.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

// Where each cell of a table lies, reported by the cells in the coordinates of the whole laid-out space
// (so any view can read them in its own by subtracting its position); a later report of a cell wins.
struct TableCellBoundsPreference {
  using Value = std::map<TableCellIndex, foundation::Rect>;
  static Value defaultValue() { return {}; }
  static void reduce(Value& value, const std::function<Value()>& next);
};

// One cell: a flow of pictures when it holds only pictures and breaks, else its running text, shown
// through the theme's cell style, which learns the row (0 is the header) and column. Reports its bounds
// once it has been laid out.
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

// The border pieces that the environment's border style selects for a table's geometry, each stroked inside
// its edge in the style's colour and stroke.
class TableBorderView final : public ui::View {
 public:
  explicit TableBorderView(TableBounds tableBounds) : tableBounds_(std::move(tableBounds)) {}
  ui::AnyView body() const override;

 private:
  ui::Environment<TableBorderStyleKey> tableBorderStyle_;
  TableBounds tableBounds_;
};

// Every cell filled as the environment's background style says, over the whole extent of its row and
// column (not the cell's own content), the gaps between cells left out.
class TableBackgroundView final : public ui::View {
 public:
  explicit TableBackgroundView(TableBounds tableBounds) : tableBounds_(std::move(tableBounds)) {}
  ui::AnyView body() const override;

 private:
  ui::Environment<TableBackgroundStyleKey> tableBackgroundStyle_;
  TableBounds tableBounds_;
};

// The table as a grid, the header row first, cells and outer edge one border line apart; the fills behind
// the grid and the border lines in front of it are drawn from the bounds the cells report.
class TableView final : public ui::View {
 public:
  TableView(const std::vector<std::optional<TextTableColumnAlignment>>& columnAlignments,
            std::vector<TableRow> rows);
  ui::AnyView body() const override;
  const std::vector<ui::HorizontalAlignment>& columnAlignments() const { return columnAlignments_; }

 private:
  ui::Environment<TableBorderStyleKey> borderStyle_;
  ui::State<TableCellBoundsPreference::Value> cellBounds_;  // as the cells last reported them
  std::vector<ui::HorizontalAlignment> columnAlignments_;
  std::vector<TableRow> rows_;
};

}  // namespace MarkdownRender
