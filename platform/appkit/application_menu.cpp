#include "platform/appkit/application_menu.h"

#include "platform/foundation/run_loop.h"

namespace appkit {
namespace {

// Main-thread state: only the main thread reads or replaces the menu.
std::shared_ptr<Menu>& installedMainMenu() {
  static std::shared_ptr<Menu> menu;
  return menu;
}

}  // namespace

std::shared_ptr<Menu> mainMenu() {
  foundation::assertMainThread();
  return installedMainMenu();
}

void setMainMenu(std::shared_ptr<Menu> menu) {
  foundation::assertMainThread();
  installedMainMenu() = std::move(menu);
}

}  // namespace appkit
