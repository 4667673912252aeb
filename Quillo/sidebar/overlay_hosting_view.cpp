#include "Quillo/sidebar/overlay_hosting_view.h"

#include <utility>

namespace Quillo {

OverlayHostingView::OverlayHostingView(OverlayView rootView)
    : ui::HostingView(ui::AnyView(std::move(rootView)), ui::Rect{}, nullptr) {}

std::shared_ptr<OverlayHostingView> OverlayHostingView::make(OverlayView rootView) {
  std::shared_ptr<OverlayHostingView> view(new OverlayHostingView(std::move(rootView)));
  view->refresh();
  return view;
}

}  // namespace Quillo
