// Time as the program sees it: an injectable clock, real for the application and manual for tests.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <stop_token>

namespace foundation {

// All durations and time points of the program; time points are steady (never jump with the wall clock).
using Duration = std::chrono::nanoseconds;
using TimePoint = std::chrono::steady_clock::time_point;

// A duration of a (finite, non-negative) number of seconds, its fraction of a nanosecond dropped;
// negative or not-a-number values give zero, values too large for a duration give the largest one.
Duration durationFromSeconds(double seconds);

// The seconds of a duration as a floating-point number.
double secondsOf(Duration duration);

// A source of the current time that waiters can block on until a deadline.
class Clock {
 public:
  virtual ~Clock() = default;

  // The current time.
  virtual TimePoint now() const = 0;

  // Blocks until now() reaches `deadline` or a stop is requested on `interruption`, whichever comes
  // first. Returns true when the deadline was reached, false when interrupted (a stop already requested
  // on entry returns false at once, unless the deadline has already passed).
  virtual bool waitUntil(TimePoint deadline, std::stop_token interruption) = 0;

  // Waits for `duration` from now() (see waitUntil).
  bool waitFor(Duration duration, std::stop_token interruption);
};

// The steady clock of the machine; waiting takes real time.
class RealClock final : public Clock {
 public:
  TimePoint now() const override;
  bool waitUntil(TimePoint deadline, std::stop_token interruption) override;
};

// A clock that moves only when told to. Waiters wake when it is advanced or set past their deadline.
// Thread-safe: the time and the waiter count are guarded by one mutex; advancing wakes every waiter.
class ManualClock final : public Clock {
 public:
  // Starts at `start` (a fixed, arbitrary point by default, so runs are repeatable).
  explicit ManualClock(TimePoint start = TimePoint(std::chrono::hours(1)));

  TimePoint now() const override;
  bool waitUntil(TimePoint deadline, std::stop_token interruption) override;

  // Moves the time forward by `by` (a negative duration is ignored) and wakes the waiters.
  void advance(Duration by);
  // Moves the time to `time`; time never runs backwards, so an earlier time is ignored.
  void set(TimePoint time);

  // How many threads are blocked in waitUntil right now.
  std::size_t waiterCount() const;
  // Blocks until at least `count` threads are waiting on this clock (a test uses it to know that a
  // sleeper has computed its deadline before advancing). Returns false if that did not happen within a
  // generous safety limit of real time, so a broken test fails instead of hanging.
  bool awaitWaiters(std::size_t count) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable_any changed_;
  TimePoint now_;
  std::size_t waiters_ = 0;
};

// The process-wide clock that every timed behaviour reads (a RealClock unless a test installs another).
// Reading and replacing it are thread-safe; callers that wait keep the shared pointer they read.
std::shared_ptr<Clock> currentClock();

// Installs a clock as the process-wide clock for its lifetime and restores the previous one after.
// Guards nest; they are meant for tests, created and destroyed on one thread.
class ScopedClock {
 public:
  explicit ScopedClock(std::shared_ptr<Clock> clock);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  std::shared_ptr<Clock> previous_;
};

}  // namespace foundation
