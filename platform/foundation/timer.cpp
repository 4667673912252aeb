#include "platform/foundation/timer.h"

#include <algorithm>

#include "platform/foundation/run_loop.h"

namespace foundation {

namespace {
constexpr Duration kMinimumRepeatInterval = std::chrono::microseconds(100);
}

Timer::Timer(Duration interval, bool repeats, Block block)
    : interval_(repeats ? std::max(interval, kMinimumRepeatInterval) : std::max(interval, Duration::zero())),
      repeats_(repeats),
      block_(std::move(block)) {}

std::shared_ptr<Timer> Timer::scheduled(Duration interval, bool repeats, Block block) {
  auto timer = std::make_shared<Timer>(interval, repeats, std::move(block));
  timer->schedule(currentClock()->now() + timer->interval_);
  return timer;
}

void Timer::schedule(TimePoint deadline) {
  {
    std::lock_guard lock(mutex_);
    fireDate_ = deadline;
  }
  // The run loop holds the timer until it fires, as a scheduled timer is owned by its run loop.
  RunLoop::main().asyncAt(deadline, [self = shared_from_this()] { self->fire(); });
}

void Timer::fire() {
  Block block;
  {
    std::lock_guard lock(mutex_);
    if (!valid_) return;
    block = block_;
  }
  block(*this);
  if (!repeats_) {
    invalidate();
    return;
  }
  TimePoint next;
  {
    std::lock_guard lock(mutex_);
    if (!valid_) return;
    next = fireDate_ + interval_;
    // Missed firings are skipped: the next deadline is the first one after now.
    const TimePoint now = currentClock()->now();
    if (next <= now) next += ((now - next) / interval_ + 1) * interval_;
  }
  schedule(next);
}

void Timer::invalidate() {
  Block released;
  {
    std::lock_guard lock(mutex_);
    valid_ = false;
    released.swap(block_);
  }
}

bool Timer::isValid() const {
  std::lock_guard lock(mutex_);
  return valid_;
}

TimePoint Timer::fireDate() const {
  std::lock_guard lock(mutex_);
  return fireDate_;
}

}  // namespace foundation
