#include "KeyboardShortcuts/view_modifiers.h"

#include "KeyboardShortcuts/event_streams.h"
#include "platform/concurrency/task.h"
#include "platform/foundation/run_loop.h"

namespace KeyboardShortcuts {
namespace {

// The task's body: waits for each event on the task's thread and hands it to the main thread, unless the
// view went away in between.
std::function<void()> followStream(std::function<concurrency::AsyncStream<EventType>()> makeStream,
                                   std::function<void(EventType)> action) {
  return [makeStream = std::move(makeStream), action = std::move(action)] {
    const auto stream = makeStream();
    const auto cancellation = concurrency::currentStopToken();
    while (const auto type = stream.next()) {
      foundation::RunLoop::main().async([cancellation, action, type = *type] {
        if (!cancellation.stop_requested()) action(type);
      });
    }
  };
}

}  // namespace

ui::AnyView onKeyboardShortcut(const ui::AnyView& view, const Name& name,
                               std::function<void(EventType)> action) {
  return view.task(followStream([name] { return shortcutEventStream(name); }, std::move(action)),
                   concurrency::TaskPriority::userInitiated);
}

ui::AnyView onKeyboardShortcut(const ui::AnyView& view, const Name& name, EventType type,
                               std::function<void()> action) {
  return view.task(followStream([name, type] { return filteredEventStream(type, name); },
                                [action = std::move(action)](EventType) { action(); }),
                   concurrency::TaskPriority::userInitiated);
}

}  // namespace KeyboardShortcuts
