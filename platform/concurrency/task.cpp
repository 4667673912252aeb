#include "platform/concurrency/task.h"

#include "platform/foundation/dispatch_queue.h"
#include "platform/foundation/run_loop.h"

namespace concurrency {

namespace {

// The task whose body runs on this thread, if any.
thread_local detail::TaskCore* currentTask = nullptr;

// Makes a task current for the scope of its body.
class CurrentTaskScope {
 public:
  explicit CurrentTaskScope(detail::TaskCore* task) : previous_(std::exchange(currentTask, task)) {}
  ~CurrentTaskScope() { currentTask = previous_; }
  CurrentTaskScope(const CurrentTaskScope&) = delete;
  CurrentTaskScope& operator=(const CurrentTaskScope&) = delete;

 private:
  detail::TaskCore* previous_;
};

}  // namespace

const char* CancellationError::what() const noexcept { return "The task was cancelled"; }

bool isCancelled() { return currentTask != nullptr && currentTask->isCancelled(); }

void checkCancellation() {
  if (isCancelled()) throw CancellationError();
}

void sleep(foundation::Duration duration) {
  checkCancellation();
  if (duration <= foundation::Duration::zero()) return;
  auto clock = foundation::currentClock();
  if (!clock->waitFor(duration, currentStopToken())) throw CancellationError();
}

std::stop_token currentStopToken() { return currentTask ? currentTask->stopToken() : std::stop_token(); }

TaskPriority currentPriority() { return currentTask ? currentTask->priority() : TaskPriority::medium; }

namespace detail {

TaskCore::TaskCore(TaskPriority priority) : priority_(priority) {}

bool TaskCore::isFinished() const {
  std::lock_guard lock(mutex_);
  return isFinished_;
}

void TaskCore::waitUntilFinished() const {
  std::unique_lock lock(mutex_);
  finished_.wait(lock, [&] { return isFinished_; });
}

std::exception_ptr TaskCore::failure() const {
  std::lock_guard lock(mutex_);
  return failure_;
}

void TaskCore::whenFinished(std::function<void()> callback) {
  {
    std::lock_guard lock(mutex_);
    if (!isFinished_) {
      callbacks_.push_back(std::move(callback));
      return;
    }
  }
  callback();
}

void TaskCore::start(std::function<void()> body) {
  foundation::WorkerPool::shared().submit([self = shared_from_this(), body = std::move(body)]() mutable {
    std::exception_ptr failure;
    {
      CurrentTaskScope scope(self.get());
      try {
        body();
      } catch (...) {
        failure = std::current_exception();
      }
      // What the work captured (stream handles, clients) is released before anyone learns of the end.
      body = nullptr;
    }
    self->finish(failure);
  });
}

void TaskCore::finish(std::exception_ptr failure) {
  std::vector<std::function<void()>> callbacks;
  {
    std::lock_guard lock(mutex_);
    isFinished_ = true;
    failure_ = std::move(failure);
    callbacks.swap(callbacks_);
  }
  finished_.notify_all();
  for (auto& callback : callbacks) callback();
}

void postToMain(std::function<void()> work) { foundation::RunLoop::main().async(std::move(work)); }

}  // namespace detail

}  // namespace concurrency
