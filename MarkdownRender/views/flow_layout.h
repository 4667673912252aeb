// A layout that places its subviews left to right and wraps onto a new row below when the next one would
// not fit in the width on offer, like words in a line of text.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/ui/layout/layout.h"

namespace MarkdownRender {

class FlowLayout final : public ui::Layout {
 public:
  // One subview of a row: its position among the layout's subviews and the size it asked for.
  struct Item {
    std::size_t index = 0;
    ui::Size size;
  };
  // A row: from the left edge of its first subview to the right edge of its last, as high as its tallest.
  struct Row {
    ui::Size size;
    std::vector<Item> items;
  };

  FlowLayout(double horizontalSpacing, double verticalSpacing)
      : horizontalSpacing_(horizontalSpacing), verticalSpacing_(verticalSpacing) {}

  double horizontalSpacing() const { return horizontalSpacing_; }
  double verticalSpacing() const { return verticalSpacing_; }

  // The rows, top to bottom, measured afresh under `proposal`. A row is closed only once it holds some
  // width, so a subview wider than the proposal forms a row of its own, wider than the proposal.
  std::vector<Row> arrangeRows(const ui::ProposedViewSize& proposal,
                               const ui::LayoutSubviews& subviews) const;

  ui::Size sizeThatFits(const ui::ProposedViewSize& proposal,
                        const ui::LayoutSubviews& subviews) const override;
  // Subviews of a row share their bottom edge.
  void placeSubviews(const ui::Rect& bounds, const ui::ProposedViewSize& proposal,
                     const ui::LayoutSubviews& subviews) const override;

 private:
  double horizontalSpacing_;
  double verticalSpacing_;
};

}  // namespace MarkdownRender
