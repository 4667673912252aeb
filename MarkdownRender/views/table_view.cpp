#include "MarkdownRender/views/table_view.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

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

// Rows and columns none of whose cells has been placed lie at the largest finite position: what is drawn
// for them would lie out of sight, so it is left out.
bool isMeasured(const foundation::Rect& r) {
  constexpr double far = std::numeric_limits<double>::max() / 2;
  return r.minX() < far && r.minY() < far;
}

}  // namespace

void TablePlacement::resize(std::size_t rowCount, std::size_t columnCount) {
  if (rowCount == rowCount_ && columnCount == columnCount_) return;
  std::vector<std::optional<foundation::Rect>> frames(rowCount * columnCount);
  for (std::size_t r = 0; r < std::min(rowCount, rowCount_); ++r) {
    for (std::size_t c = 0; c < std::min(columnCount, columnCount_); ++c) {
      frames[r * columnCount + c] = frames_[r * columnCount_ + c];
    }
  }
  frames_ = std::move(frames);
  rowCount_ = rowCount;
  columnCount_ = columnCount;
}

void TablePlacement::record(std::size_t row, std::size_t column, const foundation::Rect& frame) {
  if (row >= rowCount_ || column >= columnCount_) return;
  auto& slot = frames_[row * columnCount_ + column];
  if (slot == frame) return;
  slot = frame;
  for (auto& [layer, observer] : observers_) {
    if (!observer.isWaiting) continue;
    observer.isWaiting = false;
    if (observer.changed) observer.changed();
  }
}

std::map<TableCellIndex, foundation::Rect> TablePlacement::cells(foundation::Point offset) const {
  std::map<TableCellIndex, foundation::Rect> cells;
  auto hint = cells.end();
  for (std::size_t r = 0; r < rowCount_; ++r) {
    for (std::size_t c = 0; c < columnCount_; ++c) {
      const auto& frame = frames_[r * columnCount_ + c];
      if (!frame) continue;
      hint = cells.emplace_hint(hint, TableCellIndex{static_cast<int>(r), static_cast<int>(c)},
                                foundation::Rect(frame->minX() - offset.x, frame->minY() - offset.y,
                                                 frame->width(), frame->height()));
    }
  }
  return cells;
}

void TablePlacement::observe(int layer, std::function<void()> changed) {
  observers_[layer].changed = std::move(changed);
}

void TablePlacement::layerDrew(int layer, bool isLaidOut) { observers_[layer].isWaiting = isLaidOut; }

namespace {

// The cells of a table in rows and columns, laid out as a grid lays them out: each column as wide as its
// widest cell, each row as high as its highest cell at its column's width, cells `spacing` apart, each
// cell aligned in its column as the column says and centred in its row. As it places the cells it writes
// their frames to the table's placement, so no cell needs a view of its own to report where it went.
class TableGrid final : public ui::Layout {
 public:
  TableGrid(std::shared_ptr<TablePlacement> placement, std::vector<ui::HorizontalAlignment> columnAlignments,
            double spacing)
      : placement_(std::move(placement)), columnAlignments_(std::move(columnAlignments)), spacing_(spacing) {}

  ui::Size sizeThatFits(const ui::ProposedViewSize&, const ui::LayoutSubviews& subviews) const override {
    return arrange(subviews).size;
  }

  void placeSubviews(const ui::Rect& bounds, const ui::ProposedViewSize&,
                     const ui::LayoutSubviews& subviews) const override {
    const Arrangement arrangement = arrange(subviews);
    const std::size_t columnCount = columnAlignments_.size();
    double y = bounds.minY();
    for (std::size_t r = 0; r < arrangement.rowHeights.size(); ++r) {
      double x = bounds.minX();
      for (std::size_t c = 0; c < columnCount; ++c) {
        const auto& cell = subviews[r * columnCount + c];
        const double width = arrangement.columnWidths[c];
        const double height = arrangement.rowHeights[r];
        const ui::Size size = cell.sizeThatFits({width, std::nullopt});
        const ui::Point origin{x + offsetFor(columnAlignments_[c], width, size.width),
                               y + (height - size.height) / 2};
        const ui::ProposedViewSize proposal(size);
        cell.place(origin, ui::UnitPoint{0, 0}, proposal);
        const ui::Size placed = cell.sizeThatFits(proposal);
        placement_->record(r, c, ui::Rect(origin.x, origin.y, placed.width, placed.height));
        x += width + spacing_;
      }
      y += arrangement.rowHeights[r] + spacing_;
    }
  }

 private:
  struct Arrangement {
    std::vector<double> columnWidths;
    std::vector<double> rowHeights;
    ui::Size size;
  };

  static double offsetFor(ui::HorizontalAlignment alignment, double container, double content) {
    switch (alignment) {
      case ui::HorizontalAlignment::leading:
        return 0;
      case ui::HorizontalAlignment::center:
        return (container - content) / 2;
      case ui::HorizontalAlignment::trailing:
        return container - content;
    }
    return 0;
  }

  // The subviews are the cells row by row, every row holding one cell for each column.
  Arrangement arrange(const ui::LayoutSubviews& subviews) const {
    Arrangement arrangement;
    const std::size_t columnCount = columnAlignments_.size();
    if (columnCount == 0) return arrangement;
    const std::size_t rowCount = subviews.size() / columnCount;
    arrangement.columnWidths.assign(columnCount, 0);
    arrangement.rowHeights.assign(rowCount, 0);
    for (std::size_t i = 0; i < rowCount * columnCount; ++i) {
      auto& width = arrangement.columnWidths[i % columnCount];
      width = std::max(width, subviews[i].sizeThatFits(ui::ProposedViewSize::unspecified()).width);
    }
    for (std::size_t i = 0; i < rowCount * columnCount; ++i) {
      auto& height = arrangement.rowHeights[i / columnCount];
      const double width = arrangement.columnWidths[i % columnCount];
      height = std::max(height, subviews[i].sizeThatFits({width, std::nullopt}).height);
    }
    double width = 0, height = 0;
    for (double columnWidth : arrangement.columnWidths) width += columnWidth;
    for (double rowHeight : arrangement.rowHeights) height += rowHeight;
    width += spacing_ * static_cast<double>(columnCount - 1);
    if (rowCount > 0) height += spacing_ * static_cast<double>(rowCount - 1);
    arrangement.size = {width, height};
    return arrangement;
  }

  std::shared_ptr<TablePlacement> placement_;
  std::vector<ui::HorizontalAlignment> columnAlignments_;
  double spacing_;
};

enum class TableLayer { background, border };

// A drawing layer over the whole table, made from where the cells were placed: evaluated again whenever
// the layout puts a cell somewhere else, and whenever the table itself moves or changes size.
class TableLayerView final : public ui::View {
 public:
  TableLayerView(TableLayer layer, std::shared_ptr<TablePlacement> placement)
      : layer_(layer), placement_(std::move(placement)) {}
  ui::AnyView body() const override {
    placement_->observe(static_cast<int>(layer_), [revision = revision_] { revision.set(*revision + 1); });
    return ui::GeometryReader([layer = layer_, placement = placement_](const ui::GeometryProxy& geometry) {
      // The cells' frames are in the coordinates of the whole laid-out space; the layer draws in those of
      // the padded grid it covers.
      const auto frame = geometry.frame(ui::GeometryProxy::Space::global);
      placement->layerDrew(static_cast<int>(layer), geometry.size() != foundation::Size{});
      const auto bounds =
          tableBounds(placement->rowCount(), placement->columnCount(), placement->cells(frame.origin),
                      geometry.frame(ui::GeometryProxy::Space::local));
      if (layer == TableLayer::background) return ui::AnyView(TableBackgroundView(bounds));
      return ui::AnyView(TableBorderView(bounds));
    });
  }

 private:
  TableLayer layer_;
  std::shared_ptr<TablePlacement> placement_;
  ui::State<std::uint64_t> revision_;  // moved on when cells move after the layer drew
};

}  // namespace

const std::vector<Inline>& TableCellView::inlines() const {
  static const std::vector<Inline> none;
  const auto& row = (*rows_)[static_cast<std::size_t>(row_)];
  return static_cast<std::size_t>(column_) < row.size() ? row[static_cast<std::size_t>(column_)] : none;
}

ui::AnyView TableCellView::body() const {
  ui::AnyView content;
  const auto& inlines = this->inlines();
  if (auto flow = ImageFlow::fromInlines(inlines)) {
    content = *flow;
  } else {
    content = InlineText(inlines);
  }
  return cellStyle_->render(TableCellConfiguration{row_, column_, BlockLabel(content)});
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
      if (fill == ui::Color::clear()) continue;
      fills.push_back(
          ui::Rectangle().fill(fill).frame(cell.width(), cell.height()).offset(cell.minX(), cell.minY()));
    }
  }
  return ui::ZStack(ui::Alignment::topLeading(), fills);
}

TableView::TableView(const std::vector<std::optional<TextTableColumnAlignment>>& columnAlignments,
                     std::vector<TableRow> rows)
    : rows_(std::make_shared<const std::vector<TableRow>>(std::move(rows))) {
  columnAlignments_.reserve(columnAlignments.size());
  for (const auto& alignment : columnAlignments) columnAlignments_.push_back(alignmentOf(alignment));
}

ui::AnyView TableView::body() const {
  const std::size_t columnCount = columnAlignments_.size();
  const auto& rows = *rows_;
  if (rows.empty() || columnCount == 0) return ui::EmptyView();
  const double w = borderStyle_->strokeStyle.lineWidth;
  const auto& placement = *placement_;
  placement->resize(rows.size(), columnCount);
  auto& shared = **sharedCellStyle_;
  if (!shared.style || shared.theme != cellStyle_.theme()) {
    shared.theme = cellStyle_.theme();
    shared.style = std::make_shared<const BlockStyle<TableCellConfiguration>>(*cellStyle_);
  }
  const auto& cellStyle = shared.style;
  std::vector<ui::AnyView> cells;
  cells.reserve(rows.size() * columnCount);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    // Cells past the last column are not shown.
    for (std::size_t c = 0; c < columnCount; ++c) {
      cells.push_back(TableCellView(static_cast<int>(r), static_cast<int>(c), rows_, cellStyle));
    }
  }
  return ui::LayoutView(TableGrid(placement, columnAlignments_, w), cells)
      .padding(w)
      .background(TableLayerView(TableLayer::background, placement))
      .overlay(TableLayerView(TableLayer::border, placement));
}

}  // namespace MarkdownRender
