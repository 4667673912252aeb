// Telling the person that settings cannot be saved: changes then last only until the application quits,
// which nobody should find out by losing them.
#pragma once

#include <memory>
#include <vector>

#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"

namespace Quillo {

// The title of the alert.
inline constexpr const char* kSettingsCannotBeSavedTitle = "Settings Cannot Be Saved";

// Made by the application before it launches and kept while it lives. Every failure to save a settings
// suite is shown once as an alert titled "Settings Cannot Be Saved" with the failure's own sentence: a sheet
// on the application's first window, or an alert of its own while no window is shown. Failures found before
// this object existed are shown once launching has finished. Main thread only; failures found on other
// threads are shown from the main queue.
class SettingsSaveAlerts {
 public:
  SettingsSaveAlerts();
  SettingsSaveAlerts(const SettingsSaveAlerts&) = delete;
  SettingsSaveAlerts& operator=(const SettingsSaveAlerts&) = delete;

 private:
  void showFailuresAtLaunch();
  void failureAnnounced(const foundation::UserDefaults::SaveFailure& failure);

  // The failures shown at launch from the list whose announcements may still be waiting on the main
  // queue; emptied once the queue has passed them.
  std::vector<foundation::UserDefaults::SaveFailure> shownAtLaunch_;
  std::vector<foundation::ObserverToken> observers_;
  // Tells work waiting on the main queue whether this object still lives.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Shows one failure as the alert described above.
void showSettingsCannotBeSaved(const foundation::UserDefaults::SaveFailure& failure);

}  // namespace Quillo
