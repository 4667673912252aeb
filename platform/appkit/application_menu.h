// The application's main menu: the menu tree shown in the menu bar while the application is active.
#pragma once

#include <memory>

#include "platform/appkit/menu_item.h"

namespace appkit {

// The main menu, or null when the application has none. Main thread only.
std::shared_ptr<Menu> mainMenu();
// Replaces the main menu (null: none).
void setMainMenu(std::shared_ptr<Menu> menu);

}  // namespace appkit
