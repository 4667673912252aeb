// The "Menu Bar" tab of the settings window: the popover's hot key and width and the status item's icon.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/app_storage.h"
#include "platform/ui/view.h"
#include "settings_store/default_binding.h"

namespace Quillo {

// The popover widths the picker offers: the stored value of "size" with its title.
inline const std::vector<std::pair<std::int64_t, std::string>> kMenuViewWidths = {
    {0, "Small"}, {1, "Medium"}, {2, "Wide"}};

// The notification on which the application delegate reloads the status item's icon.
inline constexpr const char* kUpdateMenuNotification = "updateMenu";

// A change of the icon posts "updateMenu" (never the first showing); the other values take effect
// through their readers.
class MenuBarSettings final : public ui::View {
 public:
  MenuBarSettings(ui::AppStorage<std::int64_t> size, Defaults::Default<std::string> menubarIconName,
                  std::vector<std::string> menubarIconNames);

  ui::AnyView body() const override;
  static ui::AnyView tabLabel();

 private:
  ui::AppStorage<std::int64_t> size_;
  Defaults::Default<std::string> menubarIconName_;
  std::vector<std::string> menubarIconNames_;
};

}  // namespace Quillo
