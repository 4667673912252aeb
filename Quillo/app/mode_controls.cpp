#include "Quillo/app/mode_controls.h"

#include <string>
#include <utility>
#include <vector>

#include "platform/ui/control_styles.h"
#include "platform/ui/scene.h"
#include "platform/ui/views.h"

namespace Quillo {

ui::AnyView modePicker(const ui::Binding<bool>& showNative) {
  return ui::Picker<bool>("Mode", showNative,
                          std::vector<std::pair<bool, std::string>>{{true, "Native"}, {false, "Web"}})
      .pickerStyle(ui::PickerStyle::segmented);
}

ui::AnyView showNativeButton(const ui::Binding<bool>& showNative) {
  return ui::hidden(ui::Button("Show Native", [showNative] { showNative.set(true); }).keyboardShortcut("1"));
}

ui::AnyView showWebButton(const ui::Binding<bool>& showNative) {
  return ui::hidden(ui::Button("Show Web", [showNative] { showNative.set(false); }).keyboardShortcut("2"));
}

ui::AnyView settingsButton() {
  return ui::SettingsLink(ui::Image::systemName("gearshape.fill").font(ui::Font::title2()))
      .buttonStyle(ui::ButtonStyle::plain);
}

}  // namespace Quillo
