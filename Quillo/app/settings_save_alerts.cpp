#include "Quillo/app/settings_save_alerts.h"

#include <algorithm>
#include <memory>
#include <string>

#include "platform/appkit/alert.h"
#include "platform/appkit/application.h"
#include "platform/foundation/run_loop.h"

namespace Quillo {

void showSettingsCannotBeSaved(const foundation::UserDefaults::SaveFailure& failure) {
  appkit::Alert alert;
  alert.setMessageText(kSettingsCannotBeSavedTitle);
  alert.setInformativeText(failure.message());
  alert.setAlertStyle(appkit::AlertStyle::warning);
  const auto windows = appkit::Application::shared().windows();
  alert.beginSheetModal(windows.empty() ? nullptr : windows.front(), [](appkit::ModalResponse) {});
}

SettingsSaveAlerts::SettingsSaveAlerts() {
  auto& center = foundation::NotificationCenter::defaultCenter();
  // The observers are removed with this object, and a block the main queue runs after that finds no
  // registration: the captured pointer is never used once this object is gone.
  observers_.push_back(center.addObserver(
      std::string(foundation::UserDefaults::saveFailureNotification), nullptr, &foundation::RunLoop::main(),
      [this](const foundation::Notification& notification) {
        if (auto failure = notification.userInfoValue<foundation::UserDefaults::SaveFailure>("failure")) {
          failureAnnounced(*failure);
        }
      }));
  observers_.push_back(
      center.addObserver(appkit::Application::didFinishLaunchingNotification, nullptr, nullptr,
                         [this](const foundation::Notification&) { showFailuresAtLaunch(); }));
}

void SettingsSaveAlerts::showFailuresAtLaunch() {
  shownAtLaunch_ = foundation::UserDefaults::currentSaveFailures();
  for (const auto& failure : shownAtLaunch_) showSettingsCannotBeSaved(failure);
  if (shownAtLaunch_.empty()) return;
  // Announcements of these failures posted before the list was read are on the main queue ahead of this
  // block; a later announcement is a new failure and is shown.
  std::weak_ptr<bool> alive = alive_;
  foundation::RunLoop::main().async([this, alive] {
    if (alive.lock()) shownAtLaunch_.clear();
  });
}

void SettingsSaveAlerts::failureAnnounced(const foundation::UserDefaults::SaveFailure& failure) {
  if (auto shown = std::find(shownAtLaunch_.begin(), shownAtLaunch_.end(), failure);
      shown != shownAtLaunch_.end()) {
    shownAtLaunch_.erase(shown);
    return;
  }
  showSettingsCannotBeSaved(failure);
}

}  // namespace Quillo
