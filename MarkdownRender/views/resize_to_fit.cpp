#include "MarkdownRender/views/resize_to_fit.h"

#include <limits>

#include "platform/ui/modifiers.h"

namespace MarkdownRender {

ui::Size fittedSize(ui::Size idealSize, double width) {
  if (width < idealSize.width) {
    // An ideal height of 0 makes the aspect ratio infinite; the height is then 0, not a division result.
    if (idealSize.height == 0) return {width, 0};
    return {width, width / (idealSize.width / idealSize.height)};
  }
  return idealSize;
}

ui::Size ResizeToFitLayout::sizeThatFits(const ui::ProposedViewSize& proposal,
                                         const ui::LayoutSubviews& subviews) const {
  if (subviews.empty()) return {0, 0};
  ui::Size ideal = subviews.front().sizeThatFits(ui::ProposedViewSize::unspecified());
  if (proposal.width && ideal.width > *proposal.width) return fittedSize(ideal, *proposal.width);
  return ideal;
}

void ResizeToFitLayout::placeSubviews(const ui::Rect& bounds, const ui::ProposedViewSize&,
                                      const ui::LayoutSubviews& subviews) const {
  if (subviews.empty()) return;
  subviews.front().place(bounds.origin, ui::UnitPoint{0, 0},
                         ui::ProposedViewSize(bounds.width(), bounds.height()));
}

ui::AnyView ResizeToFit::body() const {
  // The content answers its natural size when asked for its ideal size, and fills whatever it is given:
  // a picture whose pixels the layout cannot measure learns its natural size here.
  ui::FrameModifier natural;
  natural.idealWidth = idealSize_.width;
  natural.idealHeight = idealSize_.height;
  natural.maxWidth = std::numeric_limits<double>::infinity();
  natural.maxHeight = std::numeric_limits<double>::infinity();
  return ui::LayoutView(ResizeToFitLayout{}, {content_.frame(natural)});
}

}  // namespace MarkdownRender
