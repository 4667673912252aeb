#include "Quillo/config/update_notices.h"

#include <utility>

#include "Quillo/settings_panes/external_links.h"
#include "platform/ui/control_styles.h"
#include "platform/ui/views.h"

namespace Quillo {

std::shared_ptr<updater::StandardUpdaterController> makeStandardUpdaterController() {
  return std::make_shared<updater::StandardUpdaterController>(
      true, *foundation::URL::parse(kDownloadPageURLString));
}

CheckForUpdatesViewModel::CheckForUpdatesViewModel(const std::shared_ptr<updater::Updater>& updater) {
  // The publisher holds this object only through the subscription, which ends with it.
  subscription_ = updater->canCheckForUpdatesPublisher().sink(
      [this](bool canCheck) { canCheckForUpdates.set(canCheck); });
}

CheckForUpdatesViewModel::~CheckForUpdatesViewModel() { subscription_.cancel(); }

CheckForUpdatesView::CheckForUpdatesView(std::shared_ptr<CheckForUpdatesViewModel> checkForUpdatesViewModel,
                                         std::shared_ptr<updater::Updater> updater)
    : checkForUpdatesViewModel_(std::move(checkForUpdatesViewModel)), updater_(std::move(updater)) {}

ui::AnyView CheckForUpdatesView::body() const {
  auto updater = updater_;
  return ui::Button("Check for Updates…", [updater] { updater->checkForUpdates(); })
      .disabled(!checkForUpdatesViewModel_->canCheckForUpdates.get());
}

UpdateAvailableView::UpdateAvailableView(std::shared_ptr<CheckForUpdatesViewModel> checkForUpdatesViewModel,
                                         std::shared_ptr<updater::Updater> updater)
    : checkForUpdatesViewModel_(std::move(checkForUpdatesViewModel)), updater_(std::move(updater)) {}

ui::AnyView UpdateAvailableView::body() const {
  using namespace ui;
  auto updater = updater_;
  return labelStyle(Button([updater] { updater->checkForUpdates(); },
                           Label("Update Now", "arrow.clockwise.circle.fill")),
                    LabelStyle::titleAndIcon)
      .foregroundStyle(Color::teal());
}

}  // namespace Quillo
