// Timers on the main run loop: a block run once or repeatedly after an interval of the current clock.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "platform/foundation/clock.h"  // Duration, TimePoint

namespace foundation {

// A timer scheduled on the main run loop. A one-shot timer fires once and then becomes invalid; a
// repeating one fires every `interval` (measured from its previous deadline, so it does not drift) until
// invalidated. Firings that fall due together (the clock jumped) run once, not once per missed interval.
// The run loop keeps a scheduled timer alive; invalidate() stops it from any thread (the validity flag
// is guarded by a mutex; the block runs on the main thread only).
class Timer : public std::enable_shared_from_this<Timer> {
 public:
  using Block = std::function<void(Timer&)>;

  // Schedules a timer on the main run loop that first fires `interval` from now on the current clock.
  // A repeating timer with a zero or negative interval fires every 0.1 milliseconds, as a floor.
  static std::shared_ptr<Timer> scheduled(Duration interval, bool repeats, Block block);

  // Stops the timer for good; a firing already running completes. Safe to call from inside the block.
  void invalidate();
  bool isValid() const;
  bool repeats() const { return repeats_; }
  Duration interval() const { return interval_; }
  // The next deadline (meaningful while valid).
  TimePoint fireDate() const;

  Timer(Duration interval, bool repeats, Block block);

 private:
  void schedule(TimePoint deadline);
  void fire();

  const Duration interval_;
  const bool repeats_;
  mutable std::mutex mutex_;  // guards valid_, fireDate_ and block_
  bool valid_ = true;
  TimePoint fireDate_;
  Block block_;
};

}  // namespace foundation
