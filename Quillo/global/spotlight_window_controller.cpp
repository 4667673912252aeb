#include "Quillo/global/spotlight_window_controller.h"

#include "Quillo/global/spotlight_view.h"

namespace Quillo {
namespace {

std::shared_ptr<FloatingPanel> makePanel() {
  auto panel = std::make_shared<FloatingPanel>(std::string(kSpotlightWindowTitle));
  panel->setCanBecomeKeyWindow(true);
  panel->setTitleVisibility(appkit::StyledWindow::TitleVisibility::hidden);
  return panel;
}

}  // namespace

SpotlightWindowController::SpotlightWindowController() : appkit::WindowController(makePanel()) {
  auto effectView = std::make_shared<appkit::VisualEffectView>();
  effectView->setBlendingMode(appkit::VisualEffectView::BlendingMode::behindWindow);
  effectView->setState(appkit::VisualEffectView::State::active);
  effectView->setMaterial(appkit::VisualEffectView::Material::popover);

  auto hostingView = NSHostingViewSuppressingSafeArea::make(ui::AnyView(SpotlightView()).fixedSize(true, true));
  effectView->addSubview(hostingView);

  // The backdrop is always exactly the size of the hosted view, and the panel's content is the backdrop:
  // when the view asks for another size (the answer appears or grows), the panel follows, keeping its
  // top edge where it is.
  std::weak_ptr<appkit::StyledWindow> weakPanel = window();
  std::weak_ptr<NSHostingViewSuppressingSafeArea> weakHosting = hostingView;
  hostingView->intrinsicContentSizeDidChange = [weakPanel, weakHosting](foundation::Size size) {
    auto panel = weakPanel.lock();
    auto hosting = weakHosting.lock();
    if (!panel || !hosting) return;
    const foundation::Rect frame = panel->frame();
    panel->setFrame({{frame.minX(), frame.maxY() - size.height}, size});
    hosting->setFrame({{0, 0}, size});
  };

  window()->setContentView(effectView);
  const foundation::Size size = hostingView->intrinsicContentSize();
  window()->setFrame({{0, 0}, size});
  hostingView->setFrame({{0, 0}, size});
}

std::shared_ptr<FloatingPanel> SpotlightWindowController::panel() const {
  return std::static_pointer_cast<FloatingPanel>(window());
}

std::shared_ptr<appkit::VisualEffectView> SpotlightWindowController::effectView() const {
  return std::static_pointer_cast<appkit::VisualEffectView>(window()->contentView());
}

std::shared_ptr<NSHostingViewSuppressingSafeArea> SpotlightWindowController::hostingView() const {
  auto content = window()->contentView();
  if (!content || content->subviews().empty()) return nullptr;
  return std::static_pointer_cast<NSHostingViewSuppressingSafeArea>(content->subviews().front());
}

}  // namespace Quillo
