// Dispatch queues: a small background worker pool, a serial queue and a concurrent queue with barriers.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <type_traits>

namespace foundation {

// The shared pool of background threads. It keeps a few idle threads and starts another whenever work
// arrives and none is idle, so work that blocks for long (a task reading a stream to its end) never keeps
// other work waiting. Submitting is thread-safe (one mutex guards the queue and the thread counts).
class WorkerPool {
 public:
  static WorkerPool& shared();

  // Runs `work` on a pool thread. An exception escaping `work` is logged and swallowed.
  void submit(std::function<void()> work);

  // Threads started so far (for diagnostics).
  std::size_t threadCount() const;

  struct State;

 private:
  WorkerPool();
  State* state_;  // never destroyed: pool threads may outlive static destruction
};

// Work run one item at a time, in submission order, on pool threads. Thread-safe (a mutex guards the
// queue). `sync` from inside the queue's own work would wait for itself; it is detected and run inline.
class SerialQueue {
 public:
  explicit SerialQueue(std::string label = {});
  ~SerialQueue();  // waiting work still runs; the state lives until the last item has run
  SerialQueue(const SerialQueue&) = delete;
  SerialQueue& operator=(const SerialQueue&) = delete;

  const std::string& label() const { return label_; }

  void async(std::function<void()> work);

  // Runs `work` in turn and returns its result (or rethrows its failure) to the caller.
  template <class F>
  auto sync(F&& work) -> std::invoke_result_t<F&> {
    using R = std::invoke_result_t<F&>;
    if (isCurrent()) return work();
    if constexpr (std::is_void_v<R>) {
      runAndWait([&] { work(); });
    } else {
      std::optional<R> result;
      runAndWait([&] { result.emplace(work()); });
      return std::move(*result);
    }
  }

  // Whether the calling thread is running this queue's work.
  bool isCurrent() const;

  struct State;

 private:
  void runAndWait(const std::function<void()>& work);
  std::string label_;
  std::shared_ptr<State> state_;
};

// A concurrent queue: plain work runs in parallel, barrier work runs alone. Order is kept as submitted:
// work waits for every earlier barrier, and a barrier waits for everything submitted before it (so a
// read submitted after a barrier write sees that write). Thread-safe: one mutex guards the bookkeeping;
// the work itself runs outside it.
class ConcurrentQueue {
 public:
  explicit ConcurrentQueue(std::string label = {});
  ~ConcurrentQueue();  // waits until submitted work has run
  ConcurrentQueue(const ConcurrentQueue&) = delete;
  ConcurrentQueue& operator=(const ConcurrentQueue&) = delete;

  const std::string& label() const { return label_; }

  // Runs `read` on the calling thread, alongside other plain work, and returns its result.
  template <class F>
  auto sync(F&& read) -> std::invoke_result_t<F&> {
    Turn turn(*this, enter(false));
    return read();
  }
  // Runs `write` on the calling thread with nothing else of this queue running, and returns its result.
  template <class F>
  auto barrierSync(F&& write) -> std::invoke_result_t<F&> {
    Turn turn(*this, enter(true));
    return write();
  }
  // Runs `work` on a pool thread, alongside other plain work.
  void async(std::function<void()> work);
  // Runs `write` on a pool thread with nothing else of this queue running.
  void barrierAsync(std::function<void()> write);

  // Blocks until everything submitted so far has run.
  void waitUntilIdle();

 private:
  struct Shared;
  std::uint64_t enter(bool isBarrier);    // blocks until the turn of a new item; returns its ticket
  std::uint64_t reserve(bool isBarrier);  // takes a ticket without waiting
  void waitForTurn(std::uint64_t ticket);
  void leave(std::uint64_t ticket);
  class Turn {
   public:
    Turn(ConcurrentQueue& queue, std::uint64_t ticket) : queue_(queue), ticket_(ticket) {}
    ~Turn() { queue_.leave(ticket_); }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;

   private:
    ConcurrentQueue& queue_;
    std::uint64_t ticket_;
  };

  std::string label_;
  std::shared_ptr<Shared> shared_;
};

}  // namespace foundation
