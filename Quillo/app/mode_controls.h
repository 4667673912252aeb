// Controls the main window's toolbar and the popover's header share: the "Mode" picker between the native
// and the web chat, the hidden Command-1 and Command-2 buttons that switch the same setting, and the
// settings button.
#pragma once

#include "platform/ui/binding.h"
#include "platform/ui/view.h"

namespace Quillo {

// A segmented picker labelled "Mode": "Native" (true) and "Web" (false).
ui::AnyView modePicker(const ui::Binding<bool>& showNative);
// Hidden buttons, there only for their keys: "Show Native" (Command-1) sets the setting to true, "Show Web"
// (Command-2) to false.
ui::AnyView showNativeButton(const ui::Binding<bool>& showNative);
ui::AnyView showWebButton(const ui::Binding<bool>& showNative);
// The symbol "gearshape.fill" in the title-2 font, plain style; it opens the settings window.
ui::AnyView settingsButton();

}  // namespace Quillo
