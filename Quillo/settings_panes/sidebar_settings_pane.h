// The "Sidebar" tab of the settings window: the sidebar's hot key, its button and its width.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/ui/view.h"
#include "settings_store/default_binding.h"

namespace Quillo {

// The widths the picker offers, in points, with their titles.
inline const std::vector<std::pair<double, std::string>> kSidebarWidths = {
    {300, "Small"}, {400, "Medium"}, {600, "Large"}, {800, "Huge"}};

class SidebarSettings final : public ui::View {
 public:
  SidebarSettings(Defaults::Default<bool> sidebarAlwaysShowButtons, Defaults::Default<double> sidebarWidth);

  ui::AnyView body() const override;
  static ui::AnyView tabLabel();

 private:
  Defaults::Default<bool> sidebarAlwaysShowButtons_;
  Defaults::Default<double> sidebarWidth_;
};

}  // namespace Quillo
