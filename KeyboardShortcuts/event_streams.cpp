#include "KeyboardShortcuts/event_streams.h"

#include <optional>

#include "KeyboardShortcuts/registry.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/uuid.h"

namespace KeyboardShortcuts {
namespace {

// Ends one stream's entries on the main queue, after its addition (also scheduled there) has run.
void scheduleRemoval(const Name& name, const foundation::UUID& id, std::optional<EventType> onlyTable) {
  foundation::RunLoop::main().async([name, id, onlyTable] {
    for (const auto type : kAllEventTypes) {
      if (!onlyTable || *onlyTable == type) removeStreamHandler(type, name, id);
    }
    unregisterNameIfUnused(name);
  });
}

concurrency::AsyncStream<EventType> makeEventStream(const Name& name, std::optional<EventType> passedType) {
  return concurrency::AsyncStream<EventType>(
      [&](concurrency::AsyncStream<EventType>::Continuation continuation) {
        const foundation::UUID id;
        foundation::RunLoop::main().async([name, id, continuation, passedType] {
          for (const auto type : kAllEventTypes) {
            addStreamHandler(type, name, id, [continuation, type, passedType] {
              if (!passedType || *passedType == type) continuation.yield(type);
            });
          }
          registerName(name);
        });
        continuation.setOnTermination(
            [name, id](concurrency::StreamTermination) { scheduleRemoval(name, id, std::nullopt); });
      });
}

}  // namespace

concurrency::AsyncStream<EventType> shortcutEventStream(const Name& name) {
  return makeEventStream(name, std::nullopt);
}

concurrency::AsyncStream<EventType> filteredEventStream(EventType type, const Name& name) {
  return makeEventStream(name, type);
}

concurrency::AsyncStream<std::monostate> eventSignalStream(EventType type, const Name& name) {
  foundation::assertMainThread();
  using Stream = concurrency::AsyncStream<std::monostate>;
  return Stream([&](Stream::Continuation continuation) {
    const foundation::UUID id;
    addStreamHandler(type, name, id, [continuation] { continuation.yield(std::monostate{}); });
    registerName(name);
    continuation.setOnTermination(
        [name, id, type](concurrency::StreamTermination) { scheduleRemoval(name, id, type); });
  });
}

}  // namespace KeyboardShortcuts
