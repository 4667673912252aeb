#include "Quillo/app/corvane.h"

#include <utility>

#include "Quillo/app/main_window_rules.h"
#include "Quillo/app/mode_controls.h"
#include "Quillo/app/roadmap_window.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/chat_views/main_chat.h"
#include "Quillo/config/update_notices.h"
#include "Quillo/settings_panes/settings_view.h"
#include "Quillo/web_chat/chat_page_address.h"
#include "Quillo/web_chat/main_chat_view.h"
#include "platform/ui/application_scenes.h"
#include "platform/ui/toolbar.h"
#include "platform/ui/views.h"
#include "settings_store/default_binding.h"

namespace Quillo {
namespace {

// The main window content, from the inside out: ContainerView; behind it the hidden Command-1 and
// Command-2 buttons; the toolbar of the "Mode" picker, the settings button and, while a newer build is
// announced, the update notice; the appear action; and AppState for everything inside.
class MainWindowContent final : public ui::View {
 public:
  MainWindowContent(std::shared_ptr<AppState> state, std::shared_ptr<ConfigManager> config,
                    std::shared_ptr<updater::StandardUpdaterController> updaterController)
      : state_(std::move(state)),
        config_(std::move(config)),
        showNative_(Keys::showNative()),
        updaterController_(std::move(updaterController)) {}

  ui::AnyView body() const override {
    using namespace ui;
    const auto showNative = showNative_.binding();
    const auto& updater = updaterController_->updater();
    auto content = AnyView(ContainerView(showNative))
                       .background(Group(showNativeButton(showNative), showWebButton(showNative)));
    auto notice =
        conditional(config_->shouldUpdate(),
                    UpdateAvailableView(std::make_shared<CheckForUpdatesViewModel>(updater), updater));
    return toolbar(content, {ToolbarItem{ToolbarItemPlacement::automatic, modePicker(showNative)},
                             ToolbarItem{ToolbarItemPlacement::primaryAction, settingsButton()},
                             ToolbarItem{ToolbarItemPlacement::automatic, notice}})
        .onAppear([] { mainWindowAppeared(); })
        .environmentObject(state_);
  }

 private:
  std::shared_ptr<AppState> state_;
  ui::ObservedObject<ConfigManager> config_;
  Defaults::Default<bool> showNative_;
  std::shared_ptr<updater::StandardUpdaterController> updaterController_;
};

}  // namespace

ui::AnyView ContainerView::body() const {
  if (showNative_.get()) return MainChat(appState_->apiBinding(), appState_->mainConversationsBinding());
  return MainChatView(chatPageAddress());
}

Corvane::Corvane() : config_(ConfigManager::shared()), updaterController_(makeStandardUpdaterController()) {}

std::vector<ui::Scene> Corvane::body() const {
  using namespace ui;
  auto state = appDelegate()->state;
  auto config = config_;
  auto updaterController = updaterController_;
  auto mainWindow =
      WindowGroup([state, config, updaterController] {
        return AnyView(MainWindowContent(state, config, updaterController));
      })
          .windowStyle(WindowStyle::titleBar)
          .windowToolbarStyle(WindowToolbarStyle::unified)
          .commands({SidebarCommands(),
                     CommandGroup{CommandGroupPlacement::appInfo, [updaterController] {
                                    const auto& updater = updaterController->updater();
                                    return Group(
                                        CheckForUpdatesView(
                                            std::make_shared<CheckForUpdatesViewModel>(updater), updater),
                                        Button("Roadmap...", [] { openRoadmapWindow(); }));
                                  }}});
  auto settings = Settings([state] { return AnyView(SettingsView()).environmentObject(state); });
  return {mainWindow, settings};
}

int applicationMain() {
  Corvane app;
  return ui::runApplication(app);
}

}  // namespace Quillo
