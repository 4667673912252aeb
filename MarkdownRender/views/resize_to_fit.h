// A container that shows its content at the content's natural size, narrowed with the aspect ratio kept
// when less width is on offer, and never enlarged.
#pragma once

#include <utility>

#include "platform/ui/layout/layout.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

// The fitting rule: the ideal size itself when `width` holds it, otherwise `width` wide and as high as
// the ideal aspect ratio gives (0 high when the ideal height is 0).
ui::Size fittedSize(ui::Size idealSize, double width);

// The layout behind ResizeToFit: only its first subview counts, measured for its ideal size and fitted
// to the proposed width. The proposed height is never consulted.
class ResizeToFitLayout final : public ui::Layout {
 public:
  ui::Size sizeThatFits(const ui::ProposedViewSize& proposal,
                        const ui::LayoutSubviews& subviews) const override;
  void placeSubviews(const ui::Rect& bounds, const ui::ProposedViewSize& proposal,
                     const ui::LayoutSubviews& subviews) const override;
};

// `content` (normally a resizable picture) whose natural size is `idealSize`.
class ResizeToFit final : public ui::View {
 public:
  ResizeToFit(ui::Size idealSize, ui::AnyView content)
      : idealSize_(idealSize), content_(std::move(content)) {}
  ui::AnyView body() const override;

  ui::Size idealSize() const { return idealSize_; }

 private:
  ui::Size idealSize_;
  ui::AnyView content_;
};

}  // namespace MarkdownRender
