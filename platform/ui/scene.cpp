#include "platform/ui/scene.h"

#include <utility>

#include "platform/appkit/application.h"
#include "platform/foundation/bundle.h"
#include "platform/ui/views.h"

namespace ui {

CommandGroup SidebarCommands() {
  return CommandGroup{CommandGroupPlacement::sidebar, [] {
                        return Button("Toggle Sidebar",
                                      [] { appkit::Application::shared().sendAction("toggleSidebar:"); })
                            .keyboardShortcut("s", EventModifiers::control | EventModifiers::command);
                      }};
}

Scene Scene::windowStyle(WindowStyle style) const {
  Scene copy = *this;
  copy.windowStyle_ = style;
  return copy;
}

Scene Scene::windowToolbarStyle(WindowToolbarStyle style) const {
  Scene copy = *this;
  copy.windowToolbarStyle_ = style;
  return copy;
}

Scene Scene::commands(std::vector<CommandGroup> groups) const {
  Scene copy = *this;
  for (auto& group : groups) copy.commands_.push_back(std::move(group));
  return copy;
}

Scene WindowGroup(std::function<AnyView()> content) {
  return Scene(Scene::Kind::windowGroup, std::move(content));
}

Scene Settings(std::function<AnyView()> content) { return Scene(Scene::Kind::settings, std::move(content)); }

AnyView SettingsLink(AnyView label) {
  return Button([] { appkit::Application::shared().sendAction(kShowSettingsWindowAction); },
                std::move(label));
}

std::string applicationName() {
  const auto bundle = foundation::Bundle::main();
  if (auto name = bundle->infoString("CFBundleDisplayName"); name && !name->empty()) return *name;
  if (auto name = bundle->infoString("CFBundleName"); name && !name->empty()) return *name;
  return "Application";
}

}  // namespace ui
