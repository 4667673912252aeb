// The scenes of an application put into effect on the application object: the main menu with the
// scenes' commands, the window group's windows and the settings window; and the program's application
// main, which runs an App from launch to termination.
#pragma once

#include <memory>
#include <vector>

#include "platform/appkit/menu_item.h"
#include "platform/appkit/styled_window.h"
#include "platform/ui/hosting_controller.h"
#include "platform/ui/scene.h"

namespace ui {

// Main thread only. Lives as long as the application runs; while it lives the application answers
// "showSettingsWindow:" and reopens a main window when asked to reopen with none visible.
class ApplicationScenes {
 public:
  // The content size a window-group window opens with.
  static constexpr Size kMainWindowContentSize{800, 600};
  // The content size of a settings window whose content states no size of its own.
  static constexpr Size kSettingsFallbackContentSize{500, 400};

  explicit ApplicationScenes(std::vector<Scene> scenes);
  ~ApplicationScenes();
  ApplicationScenes(const ApplicationScenes&) = delete;
  ApplicationScenes& operator=(const ApplicationScenes&) = delete;

  // Installs the main menu and the application's handlers, and opens the window group's first window.
  void install();

  // Opens a new window of the window group (nothing when the application declares none).
  std::shared_ptr<appkit::StyledWindow> openMainWindow();
  // Opens the settings window, or brings it to the front when it is open, and activates the application.
  std::shared_ptr<appkit::StyledWindow> showSettingsWindow();

  // The main menu as installed: the application menu (its commands after "About"), File, View, Window.
  const std::shared_ptr<appkit::Menu>& mainMenu() const { return menu_; }

 private:
  struct CommandsHost;
  const Scene* sceneOfKind(Scene::Kind kind) const;
  std::shared_ptr<appkit::StyledWindow> openWindow(const Scene& scene, const std::string& title,
                                                   std::optional<Size> contentSize);
  void rebuildMenu();

  std::vector<Scene> scenes_;
  std::vector<std::unique_ptr<CommandsHost>> commands_;
  std::shared_ptr<appkit::Menu> menu_;
  std::weak_ptr<appkit::StyledWindow> settingsWindow_;
  bool isInstalled_ = false;
  bool answersShowSettings_ = false;
};

// The program's application main: puts the scenes of `app` into effect, finishes launching (the
// application delegate's start-up runs), and runs the main loop until the application terminates. Returns
// 0 then.
int runApplication(const App& app);

}  // namespace ui
