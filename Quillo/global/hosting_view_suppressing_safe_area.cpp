#include "Quillo/global/hosting_view_suppressing_safe_area.h"

#include <utility>

#include "platform/ui/layout/layout_pass.h"
#include "platform/ui/view_graph.h"

namespace Quillo {

std::shared_ptr<NSHostingViewSuppressingSafeArea> NSHostingViewSuppressingSafeArea::make(
    ui::AnyView rootView, std::shared_ptr<const ui::TextMeasurer> measurer) {
  if (!measurer) measurer = ui::defaultTextMeasurer();
  auto graph = std::make_unique<ui::detail::ViewGraph>(std::move(rootView));
  auto& graphReference = *graph;
  auto view = std::make_shared<NSHostingViewSuppressingSafeArea>(Token{}, std::move(graph), graphReference,
                                                                 std::move(measurer));
  view->reportedSize_ = view->intrinsicContentSize();
  view->setFrame({{0, 0}, view->reportedSize_});
  view->refresh();
  return view;
}

NSHostingViewSuppressingSafeArea::NSHostingViewSuppressingSafeArea(
    Token token, std::unique_ptr<ui::detail::ViewGraph> graph, ui::detail::ViewGraph& graphReference,
    std::shared_ptr<const ui::TextMeasurer> measurer)
    : ui::HostingView(token, {}, std::move(graph), graphReference, measurer), measurer_(measurer) {}

foundation::Size NSHostingViewSuppressingSafeArea::intrinsicContentSize() const {
  ui::LayoutPass pass(measurer_);
  return pass.sizeThatFits(*const_cast<NSHostingViewSuppressingSafeArea*>(this)->graph().root(),
                           ui::ProposedViewSize::unspecified());
}

const LayoutGuide& NSHostingViewSuppressingSafeArea::safeAreaLayoutGuide() const {
  if (!layoutGuide_) layoutGuide_ = std::make_unique<LayoutGuide>();
  layoutGuide_->layoutFrame = bounds();
  return *layoutGuide_;
}

void NSHostingViewSuppressingSafeArea::hostedViewsDidChange() {
  const foundation::Size size = intrinsicContentSize();
  if (size == reportedSize_) return;
  reportedSize_ = size;
  if (intrinsicContentSizeDidChange) intrinsicContentSizeDidChange(size);
}

}  // namespace Quillo
