// The update notices: a view model mirroring whether the updater can check for updates now, the
// "Check for Updates…" command of the application menu, and the "Update Now" notice shown while a newer
// build is announced.
#pragma once

#include <memory>

#include "platform/concurrency/cancellable.h"
#include "platform/ui/observable_object.h"
#include "platform/ui/view.h"
#include "platform/updater/standard_updater_controller.h"
#include "platform/updater/updater.h"

namespace Quillo {

// A new updater controller, started, whose checks take the user to the application's download page.
std::shared_ptr<updater::StandardUpdaterController> makeStandardUpdaterController();

// Publishes the updater's canCheckForUpdates: its current value at once, then every change, for as long
// as the view model lives. Main thread only (the updater reports its changes on the main thread).
class CheckForUpdatesViewModel final : public ui::ObservableObject {
 public:
  explicit CheckForUpdatesViewModel(const std::shared_ptr<updater::Updater>& updater);
  ~CheckForUpdatesViewModel() override;

  ui::Published<bool> canCheckForUpdates{this, false};

 private:
  concurrency::AnyCancellable subscription_;
};

// A button "Check for Updates…" that starts a check, disabled while none is possible.
class CheckForUpdatesView final : public ui::View {
 public:
  CheckForUpdatesView(std::shared_ptr<CheckForUpdatesViewModel> checkForUpdatesViewModel,
                      std::shared_ptr<updater::Updater> updater);
  ui::AnyView body() const override;

 private:
  ui::ObservedObject<CheckForUpdatesViewModel> checkForUpdatesViewModel_;
  std::shared_ptr<updater::Updater> updater_;
};

// A teal "Update Now" button with its icon; it is never disabled and starts a check. The view model only
// makes it refresh when the updater's state changes.
class UpdateAvailableView final : public ui::View {
 public:
  UpdateAvailableView(std::shared_ptr<CheckForUpdatesViewModel> checkForUpdatesViewModel,
                      std::shared_ptr<updater::Updater> updater);
  ui::AnyView body() const override;

 private:
  ui::ObservedObject<CheckForUpdatesViewModel> checkForUpdatesViewModel_;
  std::shared_ptr<updater::Updater> updater_;
};

}  // namespace Quillo
