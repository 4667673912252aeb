#include "platform/foundation/run_loop.h"

#include <fmt/format.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <utility>
#include <vector>

#include "platform/foundation/log.h"

namespace foundation {

// Work is kept by (deadline, posting number): plain posts take the current time as their deadline, so
// everything runs in deadline order and, for equal deadlines, in posting order.
struct RunLoop::State {
  using Key = std::pair<TimePoint, std::uint64_t>;

  std::mutex mutex;                // guards everything below
  std::condition_variable posted;  // signalled on every post and stop (runUntil waits on it)
  std::map<Key, Work> items;
  std::uint64_t nextNumber = 0;
  bool isStopRequested = false;
  std::stop_source idleWait;  // interrupts run()'s wait on the clock when work arrives
  std::atomic<std::thread::id> thread{std::this_thread::get_id()};
  RunLoop::Driver* driver = nullptr;

  void post(TimePoint deadline, Work work) {
    if (!work) return;
    {
      std::lock_guard lock(mutex);
      items.emplace(Key{deadline, nextNumber++}, std::move(work));
      idleWait.request_stop();
      if (driver) driver->wake();
    }
    posted.notify_all();
  }

  // Takes the earliest item when it is due.
  std::optional<Work> takeDue() {
    const TimePoint now = currentClock()->now();
    std::lock_guard lock(mutex);
    if (items.empty() || items.begin()->first.first > now) return std::nullopt;
    Work work = std::move(items.begin()->second);
    items.erase(items.begin());
    return work;
  }

  std::optional<TimePoint> earliestDeadline() {
    std::lock_guard lock(mutex);
    if (items.empty()) return std::nullopt;
    return items.begin()->first.first;
  }

  void claimCallingThread() { thread = std::this_thread::get_id(); }
};

namespace {

void runGuarded(RunLoop::Work& work) {
  // A failure of one item must not take the loop (and every later item) down with it.
  try {
    work();
  } catch (const std::exception& error) {
    log(fmt::format("Main queue work failed: {}", error.what()));
  } catch (...) {
    log("Main queue work failed with an unknown error");
  }
}

}  // namespace

RunLoop::RunLoop() : state_(new State()) {}

RunLoop::~RunLoop() { delete state_; }

RunLoop& RunLoop::main() {
  static RunLoop* instance = new RunLoop();  // never destroyed: other threads may post during exit
  return *instance;
}

void RunLoop::async(Work work) { state_->post(currentClock()->now(), std::move(work)); }

void RunLoop::asyncAfter(Duration delay, Work work) {
  const TimePoint now = currentClock()->now();
  if (delay <= Duration::zero()) return state_->post(now, std::move(work));
  const TimePoint deadline = delay >= TimePoint::max() - now ? TimePoint::max() : now + delay;
  state_->post(deadline, std::move(work));
}

void RunLoop::asyncAt(TimePoint deadline, Work work) { state_->post(deadline, std::move(work)); }

void RunLoop::run() {
  state_->claimCallingThread();
  Driver* driver = nullptr;
  {
    std::lock_guard lock(state_->mutex);
    driver = state_->driver;
  }
  if (driver) return driver->run(*this);
  while (true) {
    std::stop_token interruption;
    {
      std::lock_guard lock(state_->mutex);
      if (state_->isStopRequested) {
        state_->isStopRequested = false;
        return;
      }
    }
    if (auto work = state_->takeDue()) {
      runGuarded(*work);
      continue;
    }
    TimePoint deadline = TimePoint::max();
    {
      std::lock_guard lock(state_->mutex);
      if (state_->isStopRequested) continue;
      if (!state_->items.empty()) deadline = state_->items.begin()->first.first;
      state_->idleWait = std::stop_source();
      interruption = state_->idleWait.get_token();
    }
    currentClock()->waitUntil(deadline, interruption);
  }
}

void RunLoop::stop() {
  {
    std::lock_guard lock(state_->mutex);
    state_->isStopRequested = true;
    state_->idleWait.request_stop();
    if (state_->driver) state_->driver->wake();
  }
  state_->posted.notify_all();
}

std::size_t RunLoop::runUntilIdle(std::size_t limit) {
  state_->claimCallingThread();
  std::size_t count = 0;
  while (count < limit) {
    auto work = state_->takeDue();
    if (!work) break;
    runGuarded(*work);
    ++count;
  }
  return count;
}

bool RunLoop::runUntil(const std::function<bool()>& isDone) {
  state_->claimCallingThread();
  // The overall limit and the slices are safety nets only: progress is driven by posts and by isDone.
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (true) {
    if (isDone()) return true;
    if (auto work = state_->takeDue()) {
      runGuarded(*work);
      continue;
    }
    if (std::chrono::steady_clock::now() >= giveUp) return isDone();
    std::unique_lock lock(state_->mutex);
    const std::uint64_t seen = state_->nextNumber;
    state_->posted.wait_for(lock, std::chrono::milliseconds(2), [&] { return state_->nextNumber != seen; });
  }
}

std::size_t RunLoop::advanceAndRun(ManualClock& clock, Duration by) {
  const TimePoint start = clock.now();
  const TimePoint end =
      by <= Duration::zero() ? start : (by >= TimePoint::max() - start ? TimePoint::max() : start + by);
  std::size_t count = runUntilIdle();
  while (auto next = state_->earliestDeadline()) {
    if (*next > end) break;
    clock.set(*next);
    const std::size_t ran = runUntilIdle();
    count += ran;
    if (ran == 0 && *next <= clock.now()) break;  // not due on the current clock: nothing more to do here
  }
  clock.set(end);
  return count + runUntilIdle();
}

void RunLoop::setDriver(Driver* driver) {
  std::lock_guard lock(state_->mutex);
  state_->driver = driver;
}

bool RunLoop::runDueWork(std::size_t limit) {
  state_->claimCallingThread();
  for (std::size_t count = 0; count < limit; ++count) {
    {
      std::lock_guard lock(state_->mutex);
      if (state_->isStopRequested) {
        state_->isStopRequested = false;
        return false;
      }
    }
    auto work = state_->takeDue();
    if (!work) break;
    runGuarded(*work);
  }
  return true;
}

std::optional<TimePoint> RunLoop::nextDeadline() const { return state_->earliestDeadline(); }

bool RunLoop::isCurrentThread() const { return state_->thread.load() == std::this_thread::get_id(); }

std::size_t RunLoop::pendingCount() const {
  std::lock_guard lock(state_->mutex);
  return state_->items.size();
}

bool RunLoop::hasDueWork() const {
  auto deadline = state_->earliestDeadline();
  return deadline && *deadline <= currentClock()->now();
}

void RunLoop::resetForTesting() {
  std::map<State::Key, Work> dropped;
  {
    std::lock_guard lock(state_->mutex);
    dropped.swap(state_->items);
    state_->isStopRequested = false;
    state_->claimCallingThread();
  }
  // `dropped` is destroyed here, outside the lock: closures may post or signal as they go.
}

bool isMainThread() { return RunLoop::main().isCurrentThread(); }

void assertMainThread(std::source_location where) {
  if (isMainThread()) return;
  log(fmt::format("{} must run on the main thread ({}:{})", where.function_name(), where.file_name(),
                  where.line()));
  std::abort();
}

ScopedMainRunLoop::ScopedMainRunLoop() { RunLoop::main().resetForTesting(); }

ScopedMainRunLoop::~ScopedMainRunLoop() { RunLoop::main().resetForTesting(); }

}  // namespace foundation
