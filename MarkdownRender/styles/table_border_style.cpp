#include "MarkdownRender/styles/table_border_style.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace MarkdownRender {

namespace {

// The rectangle spanning both, for rectangles of any size.
foundation::Rect spanning(const foundation::Rect& a, const foundation::Rect& b) {
  const double minX = std::min(a.minX(), b.minX()), minY = std::min(a.minY(), b.minY());
  const double maxX = std::max(a.maxX(), b.maxX()), maxY = std::max(a.maxY(), b.maxY());
  return foundation::Rect(minX, minY, maxX - minX, maxY - minY);
}

foundation::Rect grown(const foundation::Rect& r, double by) {
  return foundation::Rect(r.minX() - by, r.minY() - by, r.width() + 2 * by, r.height() + 2 * by);
}

template <class... Parts>
std::vector<foundation::Rect> joined(Parts... parts) {
  std::vector<foundation::Rect> result;
  (result.insert(result.end(), parts.begin(), parts.end()), ...);
  return result;
}

}  // namespace

foundation::Rect TableBounds::cell(std::size_t row, std::size_t column) const {
  return foundation::Rect(columns.at(column).minX, rows.at(row).minY, columns.at(column).width,
                          rows.at(row).height);
}

TableBounds tableBounds(std::size_t rowCount, std::size_t columnCount,
                        const std::map<TableCellIndex, foundation::Rect>& cells, foundation::Rect frame) {
  constexpr double far = std::numeric_limits<double>::max();
  TableBounds result;
  result.bounds = frame;
  result.rows.assign(rowCount, {far, 0});
  result.columns.assign(columnCount, {far, 0});
  for (std::size_t r = 0; r < rowCount; ++r) {
    for (std::size_t c = 0; c < columnCount; ++c) {
      auto found = cells.find(TableCellIndex{static_cast<int>(r), static_cast<int>(c)});
      if (found == cells.end()) continue;
      const auto& q = found->second;
      auto& row = result.rows[r];
      auto& column = result.columns[c];
      row.minY = std::min(row.minY, q.minY());
      row.height = std::max(row.height, q.height());
      column.minX = std::min(column.minX, q.minX());
      column.width = std::max(column.width, q.width());
    }
  }
  return result;
}

std::vector<foundation::Rect> innerHorizontalLines(const TableBounds& bounds, double lineWidth) {
  std::vector<foundation::Rect> lines;
  if (bounds.columns.empty()) return lines;
  for (std::size_t r = 0; r + 1 < bounds.rows.size(); ++r) {
    foundation::Rect row = bounds.cell(r, 0);
    for (std::size_t c = 1; c < bounds.columns.size(); ++c) row = spanning(row, bounds.cell(r, c));
    const auto gap = grown(row, lineWidth);
    lines.emplace_back(gap.minX(), gap.maxY() - lineWidth, gap.width(), lineWidth);
  }
  return lines;
}

std::vector<foundation::Rect> innerVerticalLines(const TableBounds& bounds, double lineWidth) {
  std::vector<foundation::Rect> lines;
  if (bounds.rows.empty()) return lines;
  for (std::size_t c = 0; c + 1 < bounds.columns.size(); ++c) {
    foundation::Rect column = bounds.cell(0, c);
    for (std::size_t r = 1; r < bounds.rows.size(); ++r) column = spanning(column, bounds.cell(r, c));
    const auto gap = grown(column, lineWidth);
    lines.emplace_back(gap.maxX() - lineWidth, gap.minY(), lineWidth, gap.height());
  }
  return lines;
}

TableBorderSelector TableBorderSelector::everyLine() {
  return {[](const TableBounds& b, double w) {
    return joined(MarkdownRender::innerHorizontalLines(b, w), MarkdownRender::innerVerticalLines(b, w),
                  std::vector<foundation::Rect>{b.bounds});
  }};
}

TableBorderSelector TableBorderSelector::horizontalLines() {
  return {[](const TableBounds& b, double w) {
    std::vector<foundation::Rect> edges{
        foundation::Rect(b.bounds.minX(), b.bounds.minY(), b.bounds.width(), w),
        foundation::Rect(b.bounds.minX(), b.bounds.maxY() - w, b.bounds.width(), w)};
    return joined(edges, MarkdownRender::innerHorizontalLines(b, w));
  }};
}

TableBorderSelector TableBorderSelector::outline() {
  return {[](const TableBounds& b, double) { return std::vector<foundation::Rect>{b.bounds}; }};
}

TableBorderSelector TableBorderSelector::innerLines() {
  return {[](const TableBounds& b, double w) {
    return joined(MarkdownRender::innerHorizontalLines(b, w), MarkdownRender::innerVerticalLines(b, w));
  }};
}

TableBorderSelector TableBorderSelector::innerHorizontalLines() {
  return {[](const TableBounds& b, double w) { return MarkdownRender::innerHorizontalLines(b, w); }};
}

TableBorderSelector TableBorderSelector::innerVerticalLines() {
  return {[](const TableBounds& b, double w) { return MarkdownRender::innerVerticalLines(b, w); }};
}

const TableBorderStyle& TableBorderStyleKey::defaultValue() {
  static const TableBorderStyle value{};
  return value;
}

ui::AnyView tableBorderStyle(const ui::AnyView& view, TableBorderStyle style) {
  return view.environment<TableBorderStyleKey>(std::move(style));
}

}  // namespace MarkdownRender
