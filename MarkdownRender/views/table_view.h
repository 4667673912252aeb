// Tables laid out as a grid of cells, one border line apart, with their border lines and cell fills drawn
// from the bounds the cells report.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/styles/block_style.h"
#include "MarkdownRender/styles/table_border_style.h"
#include "MarkdownRender/styles/theme_environment.h"
#include "MarkdownRender/views/theme_part.h"
#include "platform/foundation/geometry.h"
#include "platform/ui/color.h"
#include "platform/ui/environment.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

// Where the cells of one table were placed by the last layout, in the coordinates of the whole laid-out
// space (so any view can read them in its own by subtracting its position). The table's grid writes each
// cell's frame as it places the cell; the views that draw over the table read them when they are evaluated
// and are evaluated again whenever a cell lands somewhere else. Main thread only, like the layout.
class TablePlacement {
 public:
  // Makes room for a table of this shape; frames of cells that are still in it are kept.
  void resize(std::size_t rowCount, std::size_t columnCount);
  std::size_t rowCount() const { return rowCount_; }
  std::size_t columnCount() const { return columnCount_; }
  // Called by the layout with the frame a cell was given.
  void record(std::size_t row, std::size_t column, const foundation::Rect& frame);
  // The frames of the cells placed so far, moved by `offset` (subtracted).
  std::map<TableCellIndex, foundation::Rect> cells(foundation::Point offset) const;
  // Runs `changed` (until replaced) once a recorded frame differs from the ones the layer last drew
  // from; one observer per drawing layer.
  void observe(int layer, std::function<void()> changed);
  // Said by a layer as it draws: whether it drew from cells that were laid out. A layer that has not is
  // drawn again anyway once its own geometry arrives, so it is not told of the cells' frames until then.
  void layerDrew(int layer, bool isLaidOut);

 private:
  struct Observer {
    std::function<void()> changed;
    bool isWaiting = false;  // drew from laid-out cells, and none has moved since
  };
  std::size_t rowCount_ = 0;
  std::size_t columnCount_ = 0;
  std::vector<std::optional<foundation::Rect>> frames_;  // row by row
  std::map<int, Observer> observers_;
};

// One cell: a flow of pictures when it holds only pictures and breaks, else its running text, shown
// through the theme's cell style, which learns the row (0 is the header) and column. The cell applies the
// style itself, as a block view applies its style, without a view of its own between them: a table has
// thousands of cells. The style is the one of the theme the table sees (which is the one its cells see),
// read once by the table and shared by its cells. The cell reads its inlines where the table keeps its
// rows rather than keeping a copy.
class TableCellView final : public ui::View {
 public:
  TableCellView(int row, int column, std::shared_ptr<const std::vector<TableRow>> rows,
                std::shared_ptr<const BlockStyle<TableCellConfiguration>> cellStyle)
      : rows_(std::move(rows)), cellStyle_(std::move(cellStyle)), row_(row), column_(column) {}
  ui::AnyView body() const override;
  // The inlines of the cell; none for a cell past the end of a short row (possible through the content
  // builder), which shows empty.
  const std::vector<Inline>& inlines() const;
  // The same cell of a table shown again: its body would describe the same views (the style is compared
  // as the very object, which the table keeps while the theme stays).
  bool operator==(const TableCellView& other) const {
    return row_ == other.row_ && column_ == other.column_ && cellStyle_ == other.cellStyle_ &&
           (rows_ == other.rows_ || inlines() == other.inlines());
  }

 private:
  std::shared_ptr<const std::vector<TableRow>> rows_;
  std::shared_ptr<const BlockStyle<TableCellConfiguration>> cellStyle_;
  int row_;
  int column_;
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
// the grid and the border lines in front of it are drawn from where the grid placed the cells.
class TableView final : public ui::View {
 public:
  TableView(const std::vector<std::optional<TextTableColumnAlignment>>& columnAlignments,
            std::vector<TableRow> rows);
  ui::AnyView body() const override;
  const std::vector<ui::HorizontalAlignment>& columnAlignments() const { return columnAlignments_; }

 private:
  // The cell style handed to the cells, made again only when the theme in force changes, so that a table
  // shown again (a row streaming in) has its unchanged cells compare equal and keep their views.
  struct SharedCellStyle {
    std::shared_ptr<const Theme> theme;
    std::shared_ptr<const BlockStyle<TableCellConfiguration>> style;
  };

  ui::Environment<TableBorderStyleKey> borderStyle_;
  ThemePart<BlockStyle<TableCellConfiguration>> cellStyle_{
      [](const Theme& theme) { return theme.tableCell; }};
  ui::State<std::shared_ptr<TablePlacement>> placement_{std::make_shared<TablePlacement>()};
  ui::State<std::shared_ptr<SharedCellStyle>> sharedCellStyle_{std::make_shared<SharedCellStyle>()};
  std::vector<ui::HorizontalAlignment> columnAlignments_;
  // Shared, never changed: the view value is copied (into the tree, and once more for each evaluation)
  // and a long table's rows are many.
  std::shared_ptr<const std::vector<TableRow>> rows_;
};

}  // namespace MarkdownRender
