#include "platform/foundation/clock.h"

#include <cmath>
#include <limits>
#include <utility>

namespace foundation {

Duration durationFromSeconds(double seconds) {
  if (!(seconds > 0)) return Duration::zero();  // also catches not-a-number
  const double nanoseconds = seconds * 1e9;
  if (nanoseconds >= static_cast<double>(std::numeric_limits<Duration::rep>::max())) return Duration::max();
  return Duration(static_cast<Duration::rep>(nanoseconds));
}

double secondsOf(Duration duration) { return std::chrono::duration<double>(duration).count(); }

bool Clock::waitFor(Duration duration, std::stop_token interruption) {
  const TimePoint start = now();
  const TimePoint deadline =
      duration >= TimePoint::max() - start ? TimePoint::max() : start + std::max(duration, Duration::zero());
  return waitUntil(deadline, std::move(interruption));
}

TimePoint RealClock::now() const { return std::chrono::steady_clock::now(); }

bool RealClock::waitUntil(TimePoint deadline, std::stop_token interruption) {
  std::mutex mutex;
  std::condition_variable_any wake;
  std::unique_lock lock(mutex);
  // Waits in slices of at most an hour so that a far deadline never overflows the platform's wait.
  while (true) {
    const TimePoint current = now();
    if (current >= deadline) return true;
    if (interruption.stop_requested()) return false;
    const TimePoint slice =
        deadline - current > std::chrono::hours(1) ? current + std::chrono::hours(1) : deadline;
    wake.wait_until(lock, interruption, slice, [] { return false; });
  }
}

ManualClock::ManualClock(TimePoint start) : now_(start) {}

TimePoint ManualClock::now() const {
  std::lock_guard lock(mutex_);
  return now_;
}

bool ManualClock::waitUntil(TimePoint deadline, std::stop_token interruption) {
  std::unique_lock lock(mutex_);
  if (now_ >= deadline) return true;
  ++waiters_;
  changed_.notify_all();  // wakes awaitWaiters
  const bool reached = changed_.wait(lock, interruption, [&] { return now_ >= deadline; });
  --waiters_;
  return reached;
}

void ManualClock::advance(Duration by) {
  if (by <= Duration::zero()) return;
  {
    std::lock_guard lock(mutex_);
    now_ = by >= TimePoint::max() - now_ ? TimePoint::max() : now_ + by;
  }
  changed_.notify_all();
}

void ManualClock::set(TimePoint time) {
  {
    std::lock_guard lock(mutex_);
    if (time <= now_) return;
    now_ = time;
  }
  changed_.notify_all();
}

std::size_t ManualClock::waiterCount() const {
  std::lock_guard lock(mutex_);
  return waiters_;
}

bool ManualClock::awaitWaiters(std::size_t count) const {
  std::unique_lock lock(mutex_);
  // A safety limit only: the condition is expected to hold almost at once.
  return changed_.wait_for(lock, std::chrono::seconds(30), [&] { return waiters_ >= count; });
}

namespace {

struct CurrentClock {
  std::mutex mutex;
  std::shared_ptr<Clock> clock = std::make_shared<RealClock>();
};

CurrentClock& current() {
  static CurrentClock* instance = new CurrentClock();  // never destroyed: read by threads at exit
  return *instance;
}

}  // namespace

std::shared_ptr<Clock> currentClock() {
  auto& state = current();
  std::lock_guard lock(state.mutex);
  return state.clock;
}

ScopedClock::ScopedClock(std::shared_ptr<Clock> clock) {
  auto& state = current();
  std::lock_guard lock(state.mutex);
  if (!clock) clock = std::make_shared<RealClock>();
  previous_ = std::exchange(state.clock, std::move(clock));
}

ScopedClock::~ScopedClock() {
  auto& state = current();
  std::lock_guard lock(state.mutex);
  state.clock = std::move(previous_);
}

}  // namespace foundation
