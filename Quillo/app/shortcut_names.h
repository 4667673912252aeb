// The application's three global hot keys, declared once: the settings panes record them, the application
// delegate runs their actions. None has a default, so nothing is stored for them until the user records
// a shortcut, and until then they do nothing.
#pragma once

#include "KeyboardShortcuts/name.h"

namespace Quillo::ShortcutNames {

// Opens or closes the status item's popover.
inline const KeyboardShortcuts::Name openChat{"openChat"};
// Opens or closes the Global query window.
inline const KeyboardShortcuts::Name showSpotlight{"showSpotlight"};
// Shows or hides the sidebar panel.
inline const KeyboardShortcuts::Name showSidebar{"showSidebar"};

}  // namespace Quillo::ShortcutNames
