// A name's hot key as an asynchronous stream of events: each open stream puts one entry per event type
// into the registry's stream tables and takes it out when it ends.
#pragma once

#include <variant>

#include "KeyboardShortcuts/name.h"
#include "platform/concurrency/async_stream.h"

namespace KeyboardShortcuts {

// keyDown each time the name's hot key is pressed and keyUp each time it is released, for as long as the
// consumer listens (unbounded buffering). The stream's entries are added through the main queue, so
// presses before the next main-queue turn are not seen; when the stream ends they are removed through the
// main queue, and the name's hot key is unregistered unless plain actions or other streams still use it.
concurrency::AsyncStream<EventType> shortcutEventStream(const Name& name);

// The stream above, passing on only events of the given type.
concurrency::AsyncStream<EventType> filteredEventStream(EventType type, const Name& name);

// One empty value per event of the given type. Made on the main thread (checked): its entry is added at
// once; its removal on termination goes through the main queue.
concurrency::AsyncStream<std::monostate> eventSignalStream(EventType type, const Name& name);

}  // namespace KeyboardShortcuts
