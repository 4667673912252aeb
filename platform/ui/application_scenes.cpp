#include "platform/ui/application_scenes.h"

#include <utility>

#include "platform/appkit/application.h"
#include "platform/appkit/application_menu.h"
#include "platform/appkit/window.h"
#include "platform/ui/hosting.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/view_graph.h"
#include "platform/ui/views.h"

namespace ui {

using detail::Node;

namespace {

using StyleMask = appkit::StyledWindow::StyleMask;

appkit::ModifierFlags modifierFlags(EventModifiers modifiers) {
  const auto has = [&](EventModifiers flag) {
    return (static_cast<std::uint8_t>(modifiers) & static_cast<std::uint8_t>(flag)) != 0;
  };
  appkit::ModifierFlags flags;
  if (has(EventModifiers::capsLock)) flags |= appkit::ModifierFlags::capsLock;
  if (has(EventModifiers::shift)) flags |= appkit::ModifierFlags::shift;
  if (has(EventModifiers::control)) flags |= appkit::ModifierFlags::control;
  if (has(EventModifiers::option)) flags |= appkit::ModifierFlags::option;
  if (has(EventModifiers::command)) flags |= appkit::ModifierFlags::command;
  if (has(EventModifiers::numericPad)) flags |= appkit::ModifierFlags::numericPad;
  if (has(EventModifiers::function)) flags |= appkit::ModifierFlags::function;
  return flags;
}

// The keyboard shortcut put on a control: the nearest one among the modifiers wrapping it (modifiers
// whose content leads down to the control, and the bodies around it).
const KeyboardShortcutModifier* shortcutOf(const Node& control) {
  const Node* wrapped = &control;
  for (const Node* current = control.parent(); current; wrapped = current, current = current->parent()) {
    const bool wraps = current->kind() == Node::Kind::composite ||
                       (current->kind() == Node::Kind::modified && !current->children().empty() &&
                        current->children().front().get() == wrapped);
    if (!wraps) return nullptr;
    if (auto* shortcut = current->modifierAs<KeyboardShortcutModifier>()) return shortcut;
  }
  return nullptr;
}

// The menu items the evaluated views stand for, in order: one per button, a separator per divider.
void collectItems(const Node& node, std::vector<std::shared_ptr<appkit::MenuItem>>& items) {
  if (auto* button = node.primitiveAs<detail::ButtonSpec>()) {
    auto item = std::make_shared<appkit::MenuItem>(detail::controlTitle(node));
    if (auto* shortcut = shortcutOf(node)) {
      item->setKeyEquivalent(shortcut->shortcut.key);
      item->setKeyEquivalentModifierMask(modifierFlags(shortcut->shortcut.modifiers));
    } else {
      item->setKeyEquivalentModifierMask({});
    }
    item->setEnabled(node.environment().isEnabled());
    item->setAction(button->action);
    items.push_back(std::move(item));
    return;
  }
  if (node.typeName() == "Divider") {
    items.push_back(appkit::MenuItem::separatorItem());
    return;
  }
  for (const auto& child : node.children()) collectItems(*child, items);
}

std::shared_ptr<appkit::MenuItem> itemWithAction(std::string title, std::string key,
                                                 std::function<void()> action) {
  auto item = std::make_shared<appkit::MenuItem>(std::move(title), std::move(key));
  item->setAction(std::move(action));
  return item;
}

void closeKeyWindow() {
  auto key = std::dynamic_pointer_cast<appkit::StyledWindow>(appkit::Window::keyWindow());
  if (key) key->close();
}

void minimizeKeyWindow() {
  auto key = std::dynamic_pointer_cast<appkit::StyledWindow>(appkit::Window::keyWindow());
  if (key) key->orderOut();
}

}  // namespace

// One command group, evaluated in a tree of its own so that its buttons follow their state; every update
// rebuilds the menu.
struct ApplicationScenes::CommandsHost {
  CommandGroupPlacement placement;
  std::unique_ptr<detail::ViewGraph> graph;

  std::vector<std::shared_ptr<appkit::MenuItem>> items() const {
    std::vector<std::shared_ptr<appkit::MenuItem>> result;
    collectItems(*graph->root(), result);
    return result;
  }
};

ApplicationScenes::ApplicationScenes(std::vector<Scene> scenes) : scenes_(std::move(scenes)) {}

ApplicationScenes::~ApplicationScenes() {
  if (!isInstalled_) return;
  auto& application = appkit::Application::shared();
  if (answersShowSettings_) application.setActionHandler(kShowSettingsWindowAction, nullptr);
  application.setReopenHandler(nullptr);
  for (auto& host : commands_) host->graph->setDidUpdate(nullptr);
  if (appkit::mainMenu() == menu_) appkit::setMainMenu(nullptr);
}

const Scene* ApplicationScenes::sceneOfKind(Scene::Kind kind) const {
  for (const auto& scene : scenes_) {
    if (scene.kind() == kind) return &scene;
  }
  return nullptr;
}

void ApplicationScenes::install() {
  if (isInstalled_) return;
  isInstalled_ = true;
  auto& application = appkit::Application::shared();
  if (sceneOfKind(Scene::Kind::settings)) {
    application.setActionHandler(kShowSettingsWindowAction, [this] { showSettingsWindow(); });
    answersShowSettings_ = true;
  }
  application.setReopenHandler([this](bool hasVisibleWindows) {
    if (!hasVisibleWindows) openMainWindow();
  });
  for (const auto& scene : scenes_) {
    for (const auto& group : scene.commandGroups()) {
      auto host = std::make_unique<CommandsHost>();
      host->placement = group.placement;
      host->graph = std::make_unique<detail::ViewGraph>(group.content ? group.content() : EmptyView());
      host->graph->setDidUpdate([this] { rebuildMenu(); });
      commands_.push_back(std::move(host));
    }
  }
  rebuildMenu();
  openMainWindow();
}

void ApplicationScenes::rebuildMenu() {
  const std::string name = applicationName();
  auto itemsAt = [this](CommandGroupPlacement placement) {
    std::vector<std::shared_ptr<appkit::MenuItem>> items;
    for (const auto& host : commands_) {
      if (host->placement != placement) continue;
      for (auto& item : host->items()) items.push_back(std::move(item));
    }
    return items;
  };
  auto appMenu = std::make_shared<appkit::Menu>(name);
  appMenu->addItem(itemWithAction("About " + name, "", [] {
    appkit::Application::shared().sendAction("orderFrontStandardAboutPanel:");
  }));
  for (auto& item : itemsAt(CommandGroupPlacement::appInfo)) appMenu->addItem(std::move(item));
  appMenu->addItem(appkit::MenuItem::separatorItem());
  auto settingsItems = itemsAt(CommandGroupPlacement::appSettings);
  if (settingsItems.empty() && sceneOfKind(Scene::Kind::settings)) {
    settingsItems.push_back(itemWithAction(
        "Settings…", ",", [] { appkit::Application::shared().sendAction(kShowSettingsWindowAction); }));
  }
  for (auto& item : settingsItems) appMenu->addItem(std::move(item));
  appMenu->addItem(appkit::MenuItem::separatorItem());
  appMenu->addItem(itemWithAction("Hide " + name, "h", [] { appkit::Application::shared().deactivate(); }));
  appMenu->addItem(appkit::MenuItem::separatorItem());
  auto terminationItems = itemsAt(CommandGroupPlacement::appTermination);
  if (terminationItems.empty()) {
    terminationItems.push_back(
        itemWithAction("Quit " + name, "q", [] { appkit::Application::shared().terminate(); }));
  }
  for (auto& item : terminationItems) appMenu->addItem(std::move(item));

  auto fileMenu = std::make_shared<appkit::Menu>("File");
  fileMenu->addItem(itemWithAction("Close", "w", closeKeyWindow));
  auto viewMenu = std::make_shared<appkit::Menu>("View");
  for (auto& item : itemsAt(CommandGroupPlacement::sidebar)) viewMenu->addItem(std::move(item));
  auto windowMenu = std::make_shared<appkit::Menu>("Window");
  windowMenu->addItem(itemWithAction("Minimize", "m", minimizeKeyWindow));

  menu_ = std::make_shared<appkit::Menu>();
  for (const auto& submenu : {appMenu, fileMenu, viewMenu, windowMenu}) {
    auto holder = menu_->addItem(submenu->title());
    holder->setSubmenu(submenu);
  }
  appkit::setMainMenu(menu_);
}

std::shared_ptr<appkit::StyledWindow> ApplicationScenes::openWindow(const Scene& scene,
                                                                    const std::string& title,
                                                                    std::optional<Size> contentSize) {
  auto controller = HostingController::make(scene.content() ? scene.content()() : EmptyView());
  Size size = contentSize.value_or(controller->idealSize());
  if (size.width <= 0 || size.height <= 0) size = kSettingsFallbackContentSize;
  std::uint64_t mask = StyleMask::titled | StyleMask::closable | StyleMask::miniaturizable;
  if (scene.kind() == Scene::Kind::windowGroup) mask |= StyleMask::resizable;
  auto window = std::make_shared<appkit::StyledWindow>(
      Rect({0, 0}, size), mask, appkit::StyledWindow::BackingStoreType::buffered, false);
  window->setTitle(title);
  window->setContentViewController(controller);
  window->center();
  window->makeKeyAndOrderFront();
  return window;
}

std::shared_ptr<appkit::StyledWindow> ApplicationScenes::openMainWindow() {
  const Scene* scene = sceneOfKind(Scene::Kind::windowGroup);
  if (!scene) return nullptr;
  return openWindow(*scene, applicationName(), kMainWindowContentSize);
}

std::shared_ptr<appkit::StyledWindow> ApplicationScenes::showSettingsWindow() {
  const Scene* scene = sceneOfKind(Scene::Kind::settings);
  if (!scene) return nullptr;
  appkit::Application::shared().activate(true);
  auto window = settingsWindow_.lock();
  if (window && !window->isClosed()) {
    window->makeKeyAndOrderFront();
    return window;
  }
  window = openWindow(*scene, applicationName() + " Settings", std::nullopt);
  settingsWindow_ = window;
  return window;
}

int runApplication(const App& app) {
  ApplicationScenes scenes(app.body());
  scenes.install();
  appkit::Application::shared().run();
  return 0;
}

}  // namespace ui
