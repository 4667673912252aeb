#include "platform/concurrency/main_actor.h"

#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/concurrency/task.h"

namespace concurrency::detail {

namespace {

// The rendezvous between the waiting thread and the main queue; guarded by its mutex.
struct Rendezvous {
  std::mutex mutex;
  std::condition_variable done;
  bool hasRun = false;
  bool wasDropped = false;
  std::exception_ptr failure;
};

// Lives inside the posted work: if the main queue drops the work unrun, its destruction releases the
// waiter instead of leaving it blocked for ever.
struct DropSignal {
  explicit DropSignal(std::shared_ptr<Rendezvous> rendezvous) : rendezvous(std::move(rendezvous)) {}
  DropSignal(const DropSignal&) = delete;
  DropSignal& operator=(const DropSignal&) = delete;
  ~DropSignal() {
    std::lock_guard lock(rendezvous->mutex);
    if (rendezvous->hasRun) return;
    rendezvous->wasDropped = true;
    rendezvous->done.notify_all();
  }
  std::shared_ptr<Rendezvous> rendezvous;
};

}  // namespace

void runOnMainAndWait(const std::function<void()>& work) {
  auto rendezvous = std::make_shared<Rendezvous>();
  auto signal = std::make_shared<DropSignal>(rendezvous);
  foundation::RunLoop::main().async([signal, &work] {
    auto& shared = *signal->rendezvous;
    std::exception_ptr failure;
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    std::lock_guard lock(shared.mutex);
    shared.failure = failure;
    shared.hasRun = true;
    shared.done.notify_all();
  });
  signal.reset();
  std::unique_lock lock(rendezvous->mutex);
  rendezvous->done.wait(lock, [&] { return rendezvous->hasRun || rendezvous->wasDropped; });
  if (!rendezvous->hasRun) throw CancellationError();
  if (rendezvous->failure) std::rethrow_exception(rendezvous->failure);
}

}  // namespace concurrency::detail
