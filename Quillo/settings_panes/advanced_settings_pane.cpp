#include "Quillo/settings_panes/advanced_settings_pane.h"

#include "Quillo/chat_model/settings_keys.h"
#include "platform/ui/views.h"

namespace Quillo {

AdvancedSettings::AdvancedSettings() : azureKey_(Keys::azureKey()), useCustomAPI_(Keys::useCustomAPI()) {}

ui::AnyView AdvancedSettings::tabLabel() { return ui::Label("Advanced", "gearshape.2.fill"); }

ui::AnyView AdvancedSettings::body() const {
  using namespace ui;
  // disabled() combines with the surrounding enabled state, so a field inside a disabled container
  // stays disabled whatever the switch says.
  return VStack(Form({
      Toggle("Use Custom API (Azure)", useCustomAPI_.binding()),
      TextField("Custom Azure Endpoint:", azureKey_.binding()).disabled(!*useCustomAPI_),
  }));
}

}  // namespace Quillo
