#include "Quillo/settings_panes/sidebar_settings_pane.h"

#include "KeyboardShortcuts/recorder/recorder.h"
#include "Quillo/app/shortcut_names.h"
#include "platform/ui/views.h"

namespace Quillo {

SidebarSettings::SidebarSettings(Defaults::Default<bool> sidebarAlwaysShowButtons,
                                 Defaults::Default<double> sidebarWidth)
    : sidebarAlwaysShowButtons_(std::move(sidebarAlwaysShowButtons)),
      sidebarWidth_(std::move(sidebarWidth)) {}

ui::AnyView SidebarSettings::tabLabel() { return ui::Label("Sidebar", "rectangle.rightthird.inset.filled"); }

ui::AnyView SidebarSettings::body() const {
  using namespace ui;
  return VStack(Form({
      Text("Quillo Sidebar lets you quickly show the ChatGPT web interface from the right side of your Mac. "
           "It "
           "currently only supports the web interface.")
          .font(Font::system(11))
          .foregroundStyle(Color::secondaryLabelColor())
          .fixedSize(false, true),
      KeyboardShortcuts::Recorder("Toggle Sidebar:", ShortcutNames::showSidebar),
      Toggle("Show Sidebar Button", sidebarAlwaysShowButtons_.binding()),
      Picker<double>("Sidebar Width", sidebarWidth_.binding(), kSidebarWidths).frame(200, std::nullopt),
  }));
}

}  // namespace Quillo
