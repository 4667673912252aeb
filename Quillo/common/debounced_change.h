// A view modifier that runs an action with a value once the value has stopped changing for a quiet time.
#pragma once

#include <concepts>
#include <functional>
#include <memory>
#include <utility>

#include "platform/ui/state.h"
#include "platform/ui/view.h"

namespace Quillo {

// A run waiting on the main queue for its quiet time to pass. Main thread only.
class PendingDebouncedRun {
 public:
  // Schedules `run` on the main queue `seconds` from now on the current clock. A negative or NaN time
  // counts as 0 (the next turn of the main queue); a time beyond what the clock can represent is clamped
  // to the latest representable moment.
  static std::shared_ptr<PendingDebouncedRun> schedule(double seconds, std::function<void()> run);

  // Stops the run if it has not started yet.
  void cancel() { isCancelled_ = true; }
  bool isCancelled() const { return isCancelled_; }

 private:
  bool isCancelled_ = false;
};

// Watches `trigger` with a change handler (which never runs for the first value). Each change cancels the
// pending run and schedules a new one `debounceTime` seconds later, which calls `action` with that
// change's value on the main queue. A pending run is not cancelled when the view leaves.
template <std::equality_comparable T>
class DebouncedChangeViewModifier final : public ui::ViewModifier {
 public:
  DebouncedChangeViewModifier(T trigger, double debounceTime, std::function<void(const T&)> action)
      : trigger_(std::move(trigger)), debounceTime_(debounceTime), action_(std::move(action)) {}

  ui::AnyView body(ui::AnyView content) const override {
    // The handler keeps what it needs, not a copy of the trigger value, which can be a long text.
    return content.onChange<T>(trigger_, [debounceTime = debounceTime_, action = action_,
                                          debouncedTask = debouncedTask_](const T& value) {
      debouncedChange(debouncedTask, debounceTime, action, value);
    });
  }

 private:
  static void debouncedChange(const ui::State<std::shared_ptr<PendingDebouncedRun>>& debouncedTask,
                              double debounceTime, const std::function<void(const T&)>& action,
                              const T& value) {
    if (*debouncedTask) (*debouncedTask)->cancel();
    debouncedTask.set(PendingDebouncedRun::schedule(debounceTime, [action, value] { action(value); }));
  }

  T trigger_;
  double debounceTime_;
  std::function<void(const T&)> action_;
  ui::State<std::shared_ptr<PendingDebouncedRun>> debouncedTask_{nullptr};
};

// Applies DebouncedChangeViewModifier to `view`.
template <std::equality_comparable T>
ui::AnyView onDebouncedChange(const ui::AnyView& view, T of, double debounceTime,
                              std::function<void(const T&)> perform) {
  return view.modifier(DebouncedChangeViewModifier<T>(std::move(of), debounceTime, std::move(perform)));
}

}  // namespace Quillo
