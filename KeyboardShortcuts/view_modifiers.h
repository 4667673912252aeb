// Views that follow a name's hot key while they are shown.
#pragma once

#include <functional>

#include "KeyboardShortcuts/name.h"
#include "platform/ui/view.h"

namespace KeyboardShortcuts {

// While the view is shown, runs `action` on the main thread for every event of the name's hot key
// (shortcutEventStream). A user-initiated task started when the view appears follows the stream; it is
// cancelled when the view goes away, which ends the stream, and actions not yet run are dropped.
ui::AnyView onKeyboardShortcut(const ui::AnyView& view, const Name& name,
                               std::function<void(EventType)> action);

// The same for the events of one type only (filteredEventStream).
ui::AnyView onKeyboardShortcut(const ui::AnyView& view, const Name& name, EventType type,
                               std::function<void()> action);

}  // namespace KeyboardShortcuts
