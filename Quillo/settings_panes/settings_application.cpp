#include "Quillo/settings_panes/settings_application.h"

#include <algorithm>
#include <utility>

#include "platform/ui/hosting.h"

namespace Quillo {

SettingsApplication& SettingsApplication::shared() {
  static SettingsApplication application;
  return application;
}

void SettingsApplication::addWindow(std::shared_ptr<appkit::StyledWindow> window) {
  if (!window) return;
  if (std::find(windows_.begin(), windows_.end(), window) != windows_.end()) return;
  windows_.push_back(std::move(window));
}

std::vector<std::shared_ptr<appkit::StyledWindow>> SettingsApplication::windows() const {
  std::erase_if(windows_, [](const auto& window) { return window->isClosed(); });
  return windows_;
}

void SettingsApplication::reset() {
  windows_.clear();
  activationPolicy_ = ActivationPolicy::regular;
}

std::shared_ptr<appkit::WindowController> openContentWindow(ui::AnyView content, std::string title) {
  using Mask = appkit::StyledWindow::StyleMask;
  const foundation::Rect frame{{0, 0}, {kPaneWindowContentSide, kPaneWindowContentSide}};
  auto window = std::make_shared<appkit::StyledWindow>(
      frame, Mask::titled | Mask::closable | Mask::miniaturizable | Mask::resizable,
      appkit::StyledWindow::BackingStoreType::buffered, false);
  window->setContentView(ui::HostingView::make(std::move(content), frame));
  window->setTitle(std::move(title));
  auto controller = std::make_shared<appkit::WindowController>(window);
  SettingsApplication::shared().addWindow(window);
  controller->showWindow();
  return controller;
}

}  // namespace Quillo
