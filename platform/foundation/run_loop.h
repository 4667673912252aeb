// The main run loop: the main thread, the main queue and the main actor in one, with delayed work.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <source_location>

#include "platform/foundation/clock.h"  // Duration, TimePoint, ManualClock

namespace foundation {

// A queue of work run in order on one thread. There is one, RunLoop::main(); its thread is the main
// thread: the thread that first asked for it (or last reset it), taken over by whichever thread calls
// run(), runUntilIdle() or runUntil(). Work posted with async runs after the current turn, in posting
// order; delayed work runs once the current clock reaches its deadline, in deadline order and, for equal
// deadlines, in posting order. Posting is thread-safe (one mutex guards the queue); running is for the
// main thread only.
class RunLoop {
 public:
  using Work = std::function<void()>;

  // Bounds how many items one runUntilIdle() runs, so work that keeps re-posting itself cannot hang a test.
  static constexpr std::size_t kDefaultRunLimit = 100000;

  // The main run loop.
  static RunLoop& main();

  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  // Runs `work` on this loop's thread after the work already posted (from any thread).
  void async(Work work);
  // Runs `work` once the current clock has advanced by `delay` from now (zero or negative: like async).
  void asyncAfter(Duration delay, Work work);
  // Runs `work` once the current clock reaches `deadline`.
  void asyncAt(TimePoint deadline, Work work);

  // The application's loop: makes the calling thread the main thread and runs work as it becomes due,
  // waiting on the current clock in between (or through the installed driver), until stop() is called.
  void run();
  // Makes run() return after the item it is running (callable from any thread).
  void stop();

  // For tests: makes the calling thread the main thread and runs everything that is due now, including
  // work posted while running, until nothing due is left or `limit` items ran. Returns the number run.
  std::size_t runUntilIdle(std::size_t limit = kDefaultRunLimit);
  // For tests: runs due work, waiting for work posted by other threads, until `isDone()` holds (checked
  // after every item and every wake-up). Never advances time. Returns false if `isDone()` did not come
  // true within a generous safety limit of real time, so a broken test fails instead of hanging.
  bool runUntil(const std::function<bool()>& isDone);
  // For tests: advances `clock` by `by` in steps through the deadlines of delayed work, running the due
  // work at each step in deadline order (work posted meanwhile included), and finally at the end time.
  // Returns the number of items run.
  std::size_t advanceAndRun(ManualClock& clock, Duration by);

  // Another event loop the main loop runs inside: a desktop toolkit's, which has to run on the main thread
  // and wait on its own sources (the display connection) as well as on this loop's work.
  class Driver {
   public:
    virtual ~Driver() = default;
    // Runs on the main thread, calling runDueWork() whenever work is due, until it reports a stop.
    virtual void run(RunLoop& loop) = 0;
    // Wakes run() from any thread: work was posted or a stop was asked for. Called with the loop's lock
    // held, so it must neither block nor post.
    virtual void wake() = 0;
  };
  // Hands run() to `driver` (nullptr: run() waits on the clock itself). Once this returns, the previous
  // driver is woken no more.
  void setDriver(Driver* driver);
  // For a driver, on the main thread: runs the work that is due now (at most `limit` items, so the
  // driver's own events are not starved). Returns false, running nothing, when a stop was asked for; the
  // request is used up.
  bool runDueWork(std::size_t limit = 1000);
  // The deadline of the earliest waiting work; nothing when no work is waiting.
  std::optional<TimePoint> nextDeadline() const;

  // Whether the calling thread is this loop's thread.
  bool isCurrentThread() const;
  // The number of items waiting (due or not).
  std::size_t pendingCount() const;
  // Whether work is waiting that is due now.
  bool hasDueWork() const;

  // For tests: drops all waiting work (destroying it outside the lock), clears a pending stop and makes
  // the calling thread the main thread.
  void resetForTesting();

  struct State;

 private:
  RunLoop();
  ~RunLoop();
  State* state_;
};

// Whether the calling thread is the main thread (the thread of RunLoop::main()).
bool isMainThread();

// Stops the program with a diagnostic naming the caller when it is not on the main thread.
void assertMainThread(std::source_location where = std::source_location::current());

// For tests: a fresh main queue for the scope of one test. Resets the main run loop on construction
// (the constructing thread becomes the main thread) and drops whatever is left on destruction.
class ScopedMainRunLoop {
 public:
  ScopedMainRunLoop();
  ~ScopedMainRunLoop();
  ScopedMainRunLoop(const ScopedMainRunLoop&) = delete;
  ScopedMainRunLoop& operator=(const ScopedMainRunLoop&) = delete;

  RunLoop& loop() const { return RunLoop::main(); }
};

}  // namespace foundation
