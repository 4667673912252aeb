#include "platform/ui/hosting_controller.h"

#include <utility>

#include "platform/ui/layout/layout_pass.h"

namespace ui {

std::shared_ptr<HostingController> HostingController::make(AnyView rootView, Size size,
                                                           std::shared_ptr<const TextMeasurer> measurer) {
  if (!measurer) measurer = defaultTextMeasurer();
  auto view = HostingView::make(std::move(rootView), Rect({0, 0}, size), measurer);
  return std::make_shared<HostingController>(Token{}, std::move(view), std::move(measurer));
}

HostingController::HostingController(Token, std::shared_ptr<HostingView> view,
                                     std::shared_ptr<const TextMeasurer> measurer)
    : appkit::ViewController(view), hostingView_(std::move(view)), measurer_(std::move(measurer)) {}

std::optional<foundation::Size> HostingController::preferredContentSize() {
  if ((sizingOptions_ & SizingOptions::preferredContentSize) == 0) return std::nullopt;
  return idealSize();
}

Size HostingController::idealSize() const {
  LayoutPass pass(measurer_);
  return pass.sizeThatFits(*graph().root(), ProposedViewSize::unspecified());
}

}  // namespace ui
