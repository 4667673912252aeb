#include "MarkdownRender/views/flow_layout.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace MarkdownRender {

std::vector<FlowLayout::Row> FlowLayout::arrangeRows(const ui::ProposedViewSize& proposal,
                                                     const ui::LayoutSubviews& subviews) const {
  const double limit = proposal.width.value_or(std::numeric_limits<double>::infinity());
  std::vector<Row> rows;
  Row open;
  double x = 0;
  auto close = [&] {
    open.size.width = x - horizontalSpacing_;
    rows.push_back(std::move(open));
    open = Row{};
    x = 0;
  };
  for (std::size_t i = 0; i < subviews.size(); ++i) {
    // A subview of negative priority is offered what is left of the open row, worked out before the
    // row may close: it is measured for the rest of this row even when it then moves to the next one.
    std::optional<double> offer = proposal.width;
    if (proposal.width && subviews[i].priority() < 0) offer = *proposal.width - x;
    ui::Size size = subviews[i].sizeThatFits({offer, std::nullopt});
    if (x > 0 && x + size.width > limit) close();
    open.items.push_back(Item{i, size});
    open.size.height = std::max(open.size.height, size.height);
    x += size.width + horizontalSpacing_;
  }
  if (!open.items.empty()) close();
  return rows;
}

ui::Size FlowLayout::sizeThatFits(const ui::ProposedViewSize& proposal,
                                  const ui::LayoutSubviews& subviews) const {
  auto rows = arrangeRows(proposal, subviews);
  ui::Size size{0, 0};
  for (const auto& row : rows) {
    size.width = std::max(size.width, row.size.width);
    size.height += row.size.height;
  }
  if (!rows.empty()) size.height += verticalSpacing_ * static_cast<double>(rows.size() - 1);
  return size;
}

void FlowLayout::placeSubviews(const ui::Rect& bounds, const ui::ProposedViewSize& proposal,
                               const ui::LayoutSubviews& subviews) const {
  double y = bounds.minY();
  for (const auto& row : arrangeRows(proposal, subviews)) {
    double x = bounds.minX();
    for (const auto& item : row.items) {
      subviews[item.index].place({x, y + row.size.height - item.size.height}, ui::UnitPoint{0, 0},
                                 ui::ProposedViewSize(item.size));
      x += item.size.width + horizontalSpacing_;
    }
    y += row.size.height + verticalSpacing_;
  }
}

}  // namespace MarkdownRender
