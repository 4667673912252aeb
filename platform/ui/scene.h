// Scenes: what an application declares at its top level — a group of main windows, a settings window,
// and the commands they add to the main menu — and the link that opens the settings window.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/application.h"
#include "platform/ui/view.h"

namespace ui {

// How a scene's windows look.
enum class WindowStyle { automatic, titleBar, hiddenTitleBar, plain };
enum class WindowToolbarStyle { automatic, expanded, unified, unifiedCompact };

// Where a command group goes in the main menu: after the application's "About" item, in place of or
// after the settings item, or in the View menu with the sidebar command.
enum class CommandGroupPlacement { appInfo, appSettings, appTermination, sidebar };

// Commands a scene adds to the main menu: views (buttons, dividers) evaluated like any other, so their
// titles, enabled states and keyboard shortcuts follow their state. Each button becomes a menu item, each
// divider a separator.
struct CommandGroup {
  CommandGroupPlacement placement = CommandGroupPlacement::appInfo;
  // Called once, when the menu is installed.
  std::function<AnyView()> content;
};

// The platform's sidebar commands: "Toggle Sidebar" (Control-Command-S) in the View menu, which sends
// "toggleSidebar:" to the application.
CommandGroup SidebarCommands();

class Scene {
 public:
  enum class Kind { windowGroup, settings };

  Kind kind() const { return kind_; }
  // Builds the content of one window of the scene; called each time a window opens.
  const std::function<AnyView()>& content() const { return content_; }
  WindowStyle windowStyleValue() const { return windowStyle_; }
  WindowToolbarStyle windowToolbarStyleValue() const { return windowToolbarStyle_; }
  const std::vector<CommandGroup>& commandGroups() const { return commands_; }

  Scene windowStyle(WindowStyle style) const;
  Scene windowToolbarStyle(WindowToolbarStyle style) const;
  // Adds command groups, after those added before.
  Scene commands(std::vector<CommandGroup> groups) const;

 private:
  friend Scene WindowGroup(std::function<AnyView()> content);
  friend Scene Settings(std::function<AnyView()> content);
  Scene(Kind kind, std::function<AnyView()> content) : kind_(kind), content_(std::move(content)) {}

  Kind kind_;
  std::function<AnyView()> content_;
  WindowStyle windowStyle_ = WindowStyle::automatic;
  WindowToolbarStyle windowToolbarStyle_ = WindowToolbarStyle::automatic;
  std::vector<CommandGroup> commands_;
};

// Main windows titled with the application's name. One opens when the application has launched, and
// another when the application is reopened while none is visible.
Scene WindowGroup(std::function<AnyView()> content);
// The settings window, titled "<application name> Settings": opened, or brought to the front when it is
// open, by "showSettingsWindow:" (the settings link, the "Settings…" menu item, Command-comma).
Scene Settings(std::function<AnyView()> content);

// The action message that opens the settings window.
inline constexpr const char* kShowSettingsWindowAction = "showSettingsWindow:";

// A button that opens the settings scene's window.
AnyView SettingsLink(AnyView label);

// Makes the application's delegate when the application record is made, installs it as the application
// object's delegate, and gives the record access to it.
template <class Delegate>
class ApplicationDelegateAdaptor {
 public:
  ApplicationDelegateAdaptor() : delegate_(std::make_shared<Delegate>()) {
    appkit::Application::shared().setDelegate(delegate_);
  }
  const std::shared_ptr<Delegate>& operator*() const { return delegate_; }
  Delegate* operator->() const { return delegate_.get(); }

 private:
  std::shared_ptr<Delegate> delegate_;
};

// An application record: its scenes. Made once by the program's entry.
class App {
 public:
  virtual ~App() = default;
  virtual std::vector<Scene> body() const = 0;
};

// The application's name as its windows show it: the main bundle's display name, else its name, else
// "Application".
std::string applicationName();

}  // namespace ui
