#include "Quillo/settings_panes/menu_bar_settings_pane.h"

#include <utility>

#include "KeyboardShortcuts/recorder/recorder.h"
#include "Quillo/app/shortcut_names.h"
#include "platform/foundation/notification_center.h"
#include "platform/ui/views.h"

namespace Quillo {

namespace {

// At most 200 points wide; narrower when the content is.
ui::FrameModifier maxWidth200() {
  ui::FrameModifier frame;
  frame.maxWidth = 200;
  return frame;
}

}  // namespace

MenuBarSettings::MenuBarSettings(ui::AppStorage<std::int64_t> size,
                                 Defaults::Default<std::string> menubarIconName,
                                 std::vector<std::string> menubarIconNames)
    : size_(std::move(size)),
      menubarIconName_(std::move(menubarIconName)),
      menubarIconNames_(std::move(menubarIconNames)) {}

ui::AnyView MenuBarSettings::tabLabel() { return ui::Label("Menu Bar", "menubar.rectangle"); }

ui::AnyView MenuBarSettings::body() const {
  using namespace ui;
  // Each segment shows the application's image of that name in the foreground colour.
  std::vector<PickerOption<std::string>> icons;
  for (const auto& name : menubarIconNames_) {
    icons.push_back({name, Image(name).renderingMode(ImageRenderingMode::asTemplate).padding(2)});
  }
  return VStack(Form({
      KeyboardShortcuts::Recorder("Open menu bar view:", ShortcutNames::openChat),
      Picker<std::int64_t>("Menu View Width:", size_.binding(), kMenuViewWidths).frame(200, std::nullopt),
      Picker<std::string>("Menu Bar Icon:", menubarIconName_.binding(), icons)
          .pickerStyle(PickerStyle::segmented)
          .frame(maxWidth200())
          .onChange<std::string>(*menubarIconName_,
                                 [](const std::string&) {
                                   foundation::NotificationCenter::defaultCenter().post(
                                       kUpdateMenuNotification);
                                 }),
  }));
}

}  // namespace Quillo
