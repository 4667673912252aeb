#include "Quillo/common/window_controller.h"

#include <utility>

#include "platform/ui/hosting_controller.h"

namespace Quillo {
namespace {

std::shared_ptr<appkit::StyledWindow> windowFor(ui::AnyView rootView) {
  using Mask = appkit::StyledWindow::StyleMask;
  const ui::Size size{WindowController::kContentSide, WindowController::kContentSide};
  auto controller = ui::HostingController::make(std::move(rootView), size);
  auto window = std::make_shared<appkit::StyledWindow>(
      foundation::Rect({0, 0}, size), Mask::titled | Mask::closable | Mask::miniaturizable | Mask::resizable,
      appkit::StyledWindow::BackingStoreType::buffered, false);
  window->setContentViewController(std::move(controller));
  window->center();
  return window;
}

}  // namespace

WindowController::WindowController(ui::AnyView rootView)
    : appkit::WindowController(windowFor(std::move(rootView))) {}

WindowController::WindowController(std::shared_ptr<appkit::StyledWindow> window)
    : appkit::WindowController(std::move(window)) {}

}  // namespace Quillo
