// Tasks: cancellable units of background work on the worker pool, with a result or a failure.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "platform/foundation/clock.h"  // Duration

namespace concurrency {

// Scheduling priority, kept as data (the raw values of the platform's priorities); the pool does not
// reorder work by it.
enum class TaskPriority : std::uint8_t {
  background = 9,
  utility = 17,
  low = 17,
  medium = 21,
  high = 25,
  userInitiated = 25,
};

// Thrown by a cancellation check, or by a sleep, in a task that has been cancelled.
class CancellationError : public std::exception {
 public:
  const char* what() const noexcept override;
};

// Whether the task running on the calling thread has been cancelled (false outside any task).
bool isCancelled();
// Throws CancellationError when the task running on the calling thread has been cancelled.
void checkCancellation();
// Suspends the calling thread for `duration` of the current clock (a manual clock wakes it when advanced
// past the deadline). Throws CancellationError when the calling task is cancelled before or during the
// sleep. Outside any task it simply waits.
void sleep(foundation::Duration duration);
// The stop token of the task running on the calling thread (one that never stops outside a task): a
// blocking wait that should end on cancellation waits on it.
std::stop_token currentStopToken();
// The priority of the task running on the calling thread (medium outside any task).
TaskPriority currentPriority();

namespace detail {

// The shared, untyped part of a task. Thread-safe: the stop state is atomic (std::stop_source); the
// outcome and the completion callbacks are guarded by `mutex_`, and callbacks run outside it.
class TaskCore : public std::enable_shared_from_this<TaskCore> {
 public:
  explicit TaskCore(TaskPriority priority);
  virtual ~TaskCore() = default;

  void cancel() { stop_.request_stop(); }
  bool isCancelled() const { return stop_.stop_requested(); }
  std::stop_token stopToken() const { return stop_.get_token(); }
  TaskPriority priority() const { return priority_; }

  bool isFinished() const;
  // Blocks until the task has finished.
  void waitUntilFinished() const;
  // The failure the task ended with (null for success); meaningful once finished.
  std::exception_ptr failure() const;
  // Runs `callback` once the task has finished: at once on the calling thread when it already has,
  // otherwise on the thread that finishes it.
  void whenFinished(std::function<void()> callback);

  // Runs `body` on the worker pool as the current task, then records its failure, if any, and finishes.
  void start(std::function<void()> body);

 private:
  void finish(std::exception_ptr failure);

  std::stop_source stop_;
  const TaskPriority priority_;
  mutable std::mutex mutex_;
  mutable std::condition_variable finished_;
  bool isFinished_ = false;
  std::exception_ptr failure_;
  std::vector<std::function<void()>> callbacks_;
};

template <class T>
class TaskState : public TaskCore {
 public:
  using TaskCore::TaskCore;
  // Written by the task's body before it finishes, read only after finishing (ordered by the core's mutex).
  std::conditional_t<std::is_void_v<T>, std::monostate, std::optional<T>> result;
};

// Posts `work` to the main queue.
void postToMain(std::function<void()> work);

}  // namespace detail

// A handle to a task. Copies refer to the same task; releasing every handle neither cancels nor stops it.
template <class T = void>
class Task {
 public:
  // An empty handle (no task); isValid() is false.
  Task() = default;

  // Starts `work` at once on the worker pool. Without a priority the task takes the calling task's, or
  // medium outside a task.
  explicit Task(std::function<T()> work, std::optional<TaskPriority> priority = std::nullopt)
      : state_(std::make_shared<detail::TaskState<T>>(priority.value_or(currentPriority()))) {
    auto* state = state_.get();
    state_->start([state, work = std::move(work)] {
      if constexpr (std::is_void_v<T>) {
        work();
      } else {
        state->result.emplace(work());
      }
    });
  }

  bool isValid() const { return state_ != nullptr; }
  // Asks the task to stop: its cancellation checks throw, its sleeps and stream reads end early.
  void cancel() const {
    if (state_) state_->cancel();
  }
  bool isCancelled() const { return state_ && state_->isCancelled(); }
  bool isFinished() const { return state_ && state_->isFinished(); }
  TaskPriority priority() const { return state_ ? state_->priority() : TaskPriority::medium; }

  // Blocks until the task has finished and returns its result, or rethrows its failure. For workers and
  // tests; the main thread uses onFinishOnMain instead. An empty handle throws std::logic_error.
  T value() const {
    if (!state_) throw std::logic_error("value of an empty task handle");
    state_->waitUntilFinished();
    if (auto failure = state_->failure()) std::rethrow_exception(failure);
    if constexpr (std::is_void_v<T>) {
      return;
    } else {
      return *state_->result;
    }
  }

  // The failure the task ended with, or null (also while it runs).
  std::exception_ptr failure() const { return state_ && state_->isFinished() ? state_->failure() : nullptr; }

  // Once the task has finished, runs `callback` with this task on the main queue (always posted, also
  // when the task has already finished), where it may read value() without blocking.
  void onFinishOnMain(std::function<void(const Task&)> callback) const {
    if (!state_) return;
    Task self = *this;
    state_->whenFinished(
        [self, callback = std::move(callback)] { detail::postToMain([self, callback] { callback(self); }); });
  }

  bool operator==(const Task& other) const { return state_ == other.state_; }

  // The calling task's cancellation helpers, spelled as members for readers used to them there.
  static void sleep(foundation::Duration duration) { concurrency::sleep(duration); }
  static void checkCancellation() { concurrency::checkCancellation(); }
  static bool isCurrentCancelled() { return concurrency::isCancelled(); }

 private:
  std::shared_ptr<detail::TaskState<T>> state_;
};

}  // namespace concurrency
