// The registry of named shortcuts: each name's shortcut lives in the standard user defaults; actions are
// attached to names for key down or key up; a name's hot key is registered with the system while it is
// needed, and a hot key runs the actions of every name whose stored shortcut equals it at that moment.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <unordered_set>
#include <vector>

#include "KeyboardShortcuts/name.h"
#include "KeyboardShortcuts/shortcut.h"
#include "platform/foundation/uuid.h"  // UUID: one event stream's entries

namespace KeyboardShortcuts {

// An action run when a hot key fires.
using Action = std::function<void()>;

// Posted on the default centre whenever a name's shortcut is stored or cleared; the user info holds the
// Name under "name".
inline constexpr const char* kShortcutByNameDidChange = "KeyboardShortcuts_shortcutByNameDidChange";

// Everything below is main-thread state without a lock: the application, the recorder, menu items and
// the hot-key handler all reach it on the main thread. Reading a stored shortcut is safe anywhere.

// The name's stored shortcut, read afresh from the standard user defaults; nothing when the name was
// never set, was cleared, or holds something that is not a shortcut's stored form.
std::optional<Shortcut> readStoredShortcut(const Name& name);

// Stores the shortcut for the name, registers its hot key (even without actions) and announces the
// change. The name's earlier shortcut is unregistered first, unless another name with actions or
// streams still uses it.
void storeShortcut(const Shortcut& shortcut, const Name& name);
// With a shortcut: storeShortcut. Without: when the name has a shortcut, stores false (cleared), gives up
// its hot key (unless another name with actions or streams still uses it) and announces the change;
// otherwise nothing happens.
void setOrClearShortcut(const std::optional<Shortcut>& shortcut, const Name& name);
// Gives each name, in order, its default again (clearing names without one).
void reset(const std::vector<Name>& names);

// Register or unregister the hot key of the name's stored shortcut; storage and actions stay.
void registerName(const Name& name);
void unregisterName(const Name& name);

// Append an action for the name (an action added twice runs twice) and register the name's stored
// shortcut, if any. A name without shortcut gets its hot key once one is stored.
void addKeyDownHandler(const Name& name, Action action);
void addKeyUpHandler(const Name& name, Action action);
// Unregisters the hot keys of every name with actions or streams and drops all plain actions; the
// streams' entries stay.
void removeAllHandlers();

// While paused (a recorder is recording) hot keys run nothing.
bool isPaused();
void setPaused(bool paused);

// The only way to the system's hot-key service: register a shortcut unless this registry already has;
// a shortcut the system refused is not counted as registered, so a later call tries again.
void registerShortcut(const Shortcut& shortcut);
void unregisterShortcut(const Shortcut& shortcut);
// The shortcuts this registry has registered.
const std::unordered_set<Shortcut>& registeredShortcuts();

// The stored shortcuts of the names, in order, leaving out names without one.
std::vector<Shortcut> storedShortcuts(const std::vector<Name>& names);
// The stored shortcuts of the names with plain actions, and of the names with stream entries.
std::unordered_set<Shortcut> shortcutsWithHandlers();
std::unordered_set<Shortcut> shortcutsWithStreamHandlers();

void postShortcutChange(const Name& name);

// What a hot key does: unless paused, runs the plain actions and then the stream entries of the event
// type of every name whose stored shortcut, read now, equals the pressed one.
void dispatchHotKey(const Shortcut& shortcut, EventType type);

// The stream tables, for the event streams.
void addStreamHandler(EventType type, const Name& name, const foundation::UUID& id, Action action);
// Removes one stream's entry; a name whose entries are all gone leaves the table.
void removeStreamHandler(EventType type, const Name& name, const foundation::UUID& id);
std::size_t streamHandlerCount(EventType type, const Name& name);
// After a stream of the name ended: unregisters the name's stored shortcut unless a name with actions
// or streams still uses it.
void unregisterNameIfUnused(const Name& name);

namespace detail {
// For tests: empties every table, the registered set and the pause, and the system-side records, as at
// process start.
void resetRegistryForTesting();
}  // namespace detail

}  // namespace KeyboardShortcuts
