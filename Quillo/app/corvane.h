// The application record: the delegate, the shared version gate, the updater, and the two scenes — the main
// window and the settings window — with the commands they add to the application menu.
#pragma once

#include <memory>
#include <vector>

#include "Quillo/app/app_state.h"
#include "Quillo/app/settings_save_alerts.h"
#include "Quillo/app/status_bar_delegate.h"
#include "Quillo/config/config_manager.h"
#include "platform/ui/binding.h"
#include "platform/ui/observable_object.h"
#include "platform/ui/scene.h"
#include "platform/ui/view.h"
#include "platform/updater/standard_updater_controller.h"

namespace Quillo {

// The main window's content: the native chat while `showNative` is on, the chat service's web page
// otherwise. Reads AppState from the environment.
class ContainerView final : public ui::View {
 public:
  explicit ContainerView(ui::Binding<bool> showNative) : showNative_(std::move(showNative)) {}
  ui::AnyView body() const override;

 private:
  ui::EnvironmentObject<AppState> appState_;
  ui::Binding<bool> showNative_;
};

// Made once by the entry. Making it makes the delegate (installed as the application's delegate), takes
// the shared ConfigManager (its first use starts the version fetch), starts the updater and starts
// telling the person about settings that cannot be saved.
class Corvane final : public ui::App {
 public:
  Corvane();

  // 1. A window group of the main window content, with the title-bar window style and the unified
  //    toolbar, adding the sidebar commands and, after "About", "Check for Updates…" and "Roadmap...".
  // 2. The settings window with SettingsView.
  std::vector<ui::Scene> body() const override;

  const std::shared_ptr<StatusBarDelegate>& appDelegate() const { return *appDelegate_; }
  const std::shared_ptr<updater::StandardUpdaterController>& updaterController() const {
    return updaterController_;
  }

 private:
  ui::ApplicationDelegateAdaptor<StatusBarDelegate> appDelegate_;
  std::shared_ptr<ConfigManager> config_;
  std::shared_ptr<updater::StandardUpdaterController> updaterController_;
  SettingsSaveAlerts saveAlerts_;
};

// Runs Quillo on the desktop in use, from launch until it terminates, and returns 0.
int applicationMain();

}  // namespace Quillo
