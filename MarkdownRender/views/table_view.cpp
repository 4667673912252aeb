#include "MarkdownRender/views/table_view.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "MarkdownRender/views/block_view.h"
#include "MarkdownRender/views/image_views.h"
#include "MarkdownRender/views/inline_text.h"
#include "platform/ui/layout/geometry_reader.h"
#include "platform/ui/layout/layout.h"
#include "platform/ui/views.h"

namespace MarkdownRender {

namespace {

ui::HorizontalAlignment alignmentOf(const std::optional<TextTableColumnAlignment>& alignment) {
  if (!alignment) return ui::HorizontalAlignment::leading;
  switch (*alignment) {
    case TextTableColumnAlignment::leading:
      return ui::HorizontalAlignment::leading;
    case TextTableColumnAlignment::center:
      return ui::HorizontalAlignment::center;
    case TextTableColumnAlignment::trailing:
      return ui::HorizontalAlignment::trailing;
  }
  return ui::HorizontalAlignment::leading;
}

// Rows and columns whose cells have not reported lie at the largest finite position: what is drawn for
// them would lie out of sight, so it is left out.
bool isMeasured(const foundation::Rect& r) {
  constexpr double far = std::numeric_limits<double>::max() / 2;
  return r.minX() < far && r.minY() < far;
}

}  // namespace

void TableCellBoundsPreference::reduce(Value& value, const std::function<Value()>& next) {
  for (const auto& [index, bounds] : next()) value[index] = bounds;
}

ui::AnyView TableCellView::body() const {
  ui::AnyView content;
  if (auto flow = ImageFlow::fromInlines(inlines_)) {
    content = *flow;
  } else {
    content = InlineText(inlines_);
  }
  const TableCellIndex index{row_, column_};
  return ui::AnyView(ApplyBlockStyle<TableCellConfiguration>(
                         &Theme::tableCell, TableCellConfiguration{row_, column_, BlockLabel(content)}))
      .background(ui::GeometryReader([index](const ui::GeometryProxy& geometry) {
        // Before its first layout a cell knows no bounds; a cell that reported none is drawn as not there.
        ui::AnyView clear(ui::Color::clear());
        if (geometry.size() == foundation::Size{}) return clear;
        return clear.preference<TableCellBoundsPreference>(
            {{index, geometry.frame(ui::GeometryProxy::Space::global)}});
      }));
}

ui::AnyView TableBorderView::body() const {
  const auto& style = *tableBorderStyle_;
  const double w = style.strokeStyle.lineWidth;
  std::vector<ui::AnyView> pieces;
  const auto rectangles = style.visibleBorders.rectangles ? style.visibleBorders.rectangles(tableBounds_, w)
                                                          : std::vector<foundation::Rect>{};
  for (const auto& piece : rectangles) {
    if (!isMeasured(piece)) continue;
    // Stroked inside its edge: a piece one line wide comes out as a solid bar, the outline as a frame
    // lying in the table's outer spacing.
    pieces.push_back(ui::Rectangle()
                         .stroke(style.color, style.strokeStyle)
                         .padding(w / 2)
                         .frame(piece.width(), piece.height())
                         .offset(piece.minX(), piece.minY()));
  }
  return ui::ZStack(ui::Alignment::topLeading(), pieces);
}

ui::AnyView TableBackgroundView::body() const {
  std::vector<ui::AnyView> fills;
  for (std::size_t r = 0; r < tableBounds_.rows.size(); ++r) {
    for (std::size_t c = 0; c < tableBounds_.columns.size(); ++c) {
      const auto cell = tableBounds_.cell(r, c);
      if (!isMeasured(cell)) continue;
      const ui::Color fill = tableBackgroundStyle_->background(static_cast<int>(r), static_cast<int>(c));
      fills.push_back(
          ui::Rectangle().fill(fill).frame(cell.width(), cell.height()).offset(cell.minX(), cell.minY()));
    }
  }
  return ui::ZStack(ui::Alignment::topLeading(), fills);
}

TableView::TableView(const std::vector<std::optional<TextTableColumnAlignment>>& columnAlignments,
                     std::vector<TableRow> rows)
    : rows_(std::move(rows)) {
  columnAlignments_.reserve(columnAlignments.size());
  for (const auto& alignment : columnAlignments) columnAlignments_.push_back(alignmentOf(alignment));
}

ui::AnyView TableView::body() const {
  const std::size_t columnCount = columnAlignments_.size();
  if (rows_.empty() || columnCount == 0) return ui::EmptyView();
  const double w = borderStyle_->strokeStyle.lineWidth;
  std::vector<ui::AnyView> gridRows;
  gridRows.reserve(rows_.size());
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    std::vector<ui::AnyView> cells;
    cells.reserve(columnCount);
    for (std::size_t c = 0; c < columnCount; ++c) {
      // A row with fewer cells than the table has columns (possible through the content builder) shows
      // empty cells; cells past the last column are not shown.
      const auto& row = rows_[r];
      ui::AnyView cell = TableCellView(static_cast<int>(r), static_cast<int>(c),
                                       c < row.size() ? row[c] : std::vector<Inline>{});
      cells.push_back(ui::gridColumnAlignment(cell, columnAlignments_[c]));
    }
    gridRows.push_back(ui::GridRow(cells));
  }
  // The reported bounds are in the coordinates of the whole laid-out space: each drawing view takes them
  // into its own, which are those of the padded grid it covers.
  auto bounds = [rowCount = rows_.size(), columnCount,
                 cells = *cellBounds_](const ui::GeometryProxy& geometry) {
    const auto origin = geometry.frame(ui::GeometryProxy::Space::global).origin;
    std::map<TableCellIndex, foundation::Rect> local;
    for (const auto& [index, rect] : cells) {
      local.emplace(index, foundation::Rect(rect.minX() - origin.x, rect.minY() - origin.y, rect.width(),
                                            rect.height()));
    }
    return tableBounds(rowCount, columnCount, local, geometry.frame(ui::GeometryProxy::Space::local));
  };
  return ui::Grid(gridRows, w, w)
      .padding(w)
      .onPreferenceChange<TableCellBoundsPreference>(
          [cellBounds = cellBounds_](const TableCellBoundsPreference::Value& value) {
            cellBounds.set(value);
          })
      .background(ui::GeometryReader([bounds](const ui::GeometryProxy& geometry) {
        return ui::AnyView(TableBackgroundView(bounds(geometry)));
      }))
      .overlay(ui::GeometryReader([bounds](const ui::GeometryProxy& geometry) {
        return ui::AnyView(TableBorderView(bounds(geometry)));
      }));
}

}  // namespace MarkdownRender
