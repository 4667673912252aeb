#include "platform/foundation/dispatch_queue.h"

#include <fmt/format.h>

#include <atomic>
#include <exception>
#include <thread>
#include <utility>

#include "platform/foundation/log.h"

namespace foundation {

namespace {

void runLogged(const std::function<void()>& work, const char* where) {
  try {
    work();
  } catch (const std::exception& error) {
    log(fmt::format("{}: work failed: {}", where, error.what()));
  } catch (...) {
    log(fmt::format("{}: work failed with an unknown error", where));
  }
}

}  // namespace

// ---- WorkerPool

struct WorkerPool::State {
  std::mutex mutex;  // guards everything below
  std::condition_variable available;
  std::deque<std::function<void()>> queue;
  std::size_t idleThreads = 0;
  std::size_t threads = 0;

  void workerLoop() {
    std::unique_lock lock(mutex);
    while (true) {
      ++idleThreads;
      available.wait(lock, [&] { return !queue.empty(); });
      --idleThreads;
      auto work = std::move(queue.front());
      queue.pop_front();
      lock.unlock();
      runLogged(work, "Background work");
      work = nullptr;  // released before waiting again, outside the lock
      lock.lock();
    }
  }
};

WorkerPool::WorkerPool() : state_(new State()) {}

WorkerPool& WorkerPool::shared() {
  static WorkerPool* instance = new WorkerPool();  // never destroyed: its threads run until exit
  return *instance;
}

void WorkerPool::submit(std::function<void()> work) {
  if (!work) return;
  bool needsThread = false;
  {
    std::lock_guard lock(state_->mutex);
    state_->queue.push_back(std::move(work));
    needsThread = state_->queue.size() > state_->idleThreads;
    if (needsThread) ++state_->threads;
  }
  if (needsThread) {
    std::thread([state = state_] { state->workerLoop(); }).detach();
  } else {
    state_->available.notify_one();
  }
}

std::size_t WorkerPool::threadCount() const {
  std::lock_guard lock(state_->mutex);
  return state_->threads;
}

// ---- SerialQueue

struct SerialQueue::State {
  std::mutex mutex;  // guards queue and isDraining
  std::deque<std::function<void()>> queue;
  bool isDraining = false;
  std::atomic<std::thread::id> runner{};  // the thread running this queue's work, if any

  static void drain(const std::shared_ptr<State>& self) {
    while (true) {
      std::function<void()> work;
      {
        std::lock_guard lock(self->mutex);
        if (self->queue.empty()) {
          self->isDraining = false;
          return;
        }
        work = std::move(self->queue.front());
        self->queue.pop_front();
      }
      self->runner = std::this_thread::get_id();
      runLogged(work, "Serial queue");
      self->runner = std::thread::id();
    }
  }
};

SerialQueue::SerialQueue(std::string label) : label_(std::move(label)), state_(std::make_shared<State>()) {}

SerialQueue::~SerialQueue() = default;

void SerialQueue::async(std::function<void()> work) {
  if (!work) return;
  bool startDrain = false;
  {
    std::lock_guard lock(state_->mutex);
    state_->queue.push_back(std::move(work));
    startDrain = !std::exchange(state_->isDraining, true);
  }
  if (startDrain) WorkerPool::shared().submit([state = state_] { State::drain(state); });
}

bool SerialQueue::isCurrent() const { return state_->runner.load() == std::this_thread::get_id(); }

void SerialQueue::runAndWait(const std::function<void()>& work) {
  std::mutex mutex;
  std::condition_variable done;
  bool isDone = false;
  std::exception_ptr failure;
  async([&] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    std::lock_guard lock(mutex);
    isDone = true;
    done.notify_all();
  });
  std::unique_lock lock(mutex);
  done.wait(lock, [&] { return isDone; });
  if (failure) std::rethrow_exception(failure);
}

// ---- ConcurrentQueue

// Every item holds a ticket from submission until it has run; barrier tickets are also kept apart.
struct ConcurrentQueue::Shared {
  std::mutex mutex;  // guards the counters and sets
  std::condition_variable changed;
  std::uint64_t nextTicket = 0;
  std::set<std::uint64_t> outstanding;
  std::set<std::uint64_t> barriers;

  std::uint64_t reserve(bool isBarrier) {
    std::lock_guard lock(mutex);
    const std::uint64_t ticket = nextTicket++;
    outstanding.insert(ticket);
    if (isBarrier) barriers.insert(ticket);
    return ticket;
  }

  void waitForTurn(std::uint64_t ticket) {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] {
      if (barriers.count(ticket)) return *outstanding.begin() == ticket;  // everything earlier has run
      return barriers.empty() || *barriers.begin() > ticket;              // no earlier barrier waits or runs
    });
  }

  void leave(std::uint64_t ticket) {
    {
      std::lock_guard lock(mutex);
      outstanding.erase(ticket);
      barriers.erase(ticket);
    }
    changed.notify_all();
  }

  void submit(const std::shared_ptr<Shared>& self, bool isBarrier, std::function<void()> work) {
    const std::uint64_t ticket = reserve(isBarrier);
    WorkerPool::shared().submit([self, ticket, work = std::move(work)] {
      self->waitForTurn(ticket);
      runLogged(work, "Concurrent queue");
      self->leave(ticket);
    });
  }
};

ConcurrentQueue::ConcurrentQueue(std::string label)
    : label_(std::move(label)), shared_(std::make_shared<Shared>()) {}

ConcurrentQueue::~ConcurrentQueue() { waitUntilIdle(); }

std::uint64_t ConcurrentQueue::enter(bool isBarrier) {
  const std::uint64_t ticket = shared_->reserve(isBarrier);
  shared_->waitForTurn(ticket);
  return ticket;
}

std::uint64_t ConcurrentQueue::reserve(bool isBarrier) { return shared_->reserve(isBarrier); }

void ConcurrentQueue::waitForTurn(std::uint64_t ticket) { shared_->waitForTurn(ticket); }

void ConcurrentQueue::leave(std::uint64_t ticket) { shared_->leave(ticket); }

void ConcurrentQueue::async(std::function<void()> work) {
  if (work) shared_->submit(shared_, false, std::move(work));
}

void ConcurrentQueue::barrierAsync(std::function<void()> write) {
  if (write) shared_->submit(shared_, true, std::move(write));
}

void ConcurrentQueue::waitUntilIdle() {
  std::unique_lock lock(shared_->mutex);
  const std::uint64_t submitted = shared_->nextTicket;
  shared_->changed.wait(
      lock, [&] { return shared_->outstanding.empty() || *shared_->outstanding.begin() >= submitted; });
}

}  // namespace foundation
