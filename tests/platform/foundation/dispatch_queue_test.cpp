#include "platform/foundation/dispatch_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// A meeting point: each party waits until `parties` have arrived. Returns false if they never did within
// a safety limit (which only a broken queue would reach).
class Rendezvous {
 public:
  explicit Rendezvous(int parties) : parties_(parties) {}
  bool arriveAndWait() {
    std::unique_lock lock(mutex_);
    ++arrived_;
    changed_.notify_all();
    return changed_.wait_for(lock, std::chrono::seconds(30), [&] { return arrived_ >= parties_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int parties_;
  int arrived_ = 0;
};

TEST(ConcurrentQueue, RunsReadsFromTwoThreadsAtTheSameTime) {
  foundation::ConcurrentQueue queue("reads");
  Rendezvous bothInside(2);
  bool firstMet = false;
  bool secondMet = false;
  // Each read only returns once the other is inside too, which needs them to run in parallel.
  std::thread first([&] { firstMet = queue.sync([&] { return bothInside.arriveAndWait(); }); });
  std::thread second([&] { secondMet = queue.sync([&] { return bothInside.arriveAndWait(); }); });
  first.join();
  second.join();
  EXPECT_TRUE(firstMet);
  EXPECT_TRUE(secondMet);
}

TEST(ConcurrentQueue, RunsBarrierWritesAlone) {
  foundation::ConcurrentQueue queue("cache");
  std::atomic<int> readers{0};
  std::atomic<int> writers{0};
  std::atomic<int> overlaps{0};
  int value = 0;  // guarded by the queue
  auto worker = [&](int id) {
    for (int n = 0; n < 200; ++n) {
      if ((n + id) % 5 == 0) {
        queue.barrierSync([&] {
          if (readers != 0 || writers++ != 0) ++overlaps;
          ++value;
          --writers;
        });
      } else {
        queue.sync([&] {
          ++readers;
          if (writers != 0) ++overlaps;
          [[maybe_unused]] volatile int seen = value;
          --readers;
        });
      }
    }
  };
  std::thread a(worker, 0);
  std::thread b(worker, 1);
  std::thread c(worker, 2);
  a.join();
  b.join();
  c.join();
  EXPECT_EQ(overlaps, 0);
  EXPECT_EQ(queue.sync([&] { return value; }), 120);
}

TEST(ConcurrentQueue, AReadAfterAnAsynchronousBarrierWriteSeesTheWrite) {
  foundation::ConcurrentQueue queue("settings");
  std::vector<int> values;  // guarded by the queue
  for (int n = 0; n < 50; ++n) {
    queue.barrierAsync([&values, n] { values.push_back(n); });
    EXPECT_EQ(queue.sync([&] { return values.size(); }), static_cast<std::size_t>(n + 1));
  }
  std::vector<int> expected(50);
  for (int n = 0; n < 50; ++n) expected[n] = n;
  EXPECT_EQ(queue.sync([&] { return values; }), expected);
}

TEST(ConcurrentQueue, ReturnsResultsAndPassesFailuresToTheCaller) {
  foundation::ConcurrentQueue queue;
  EXPECT_EQ(queue.sync([] { return 7; }), 7);
  EXPECT_THROW(queue.barrierSync([]() -> int { throw std::runtime_error("bad"); }), std::runtime_error);
  EXPECT_EQ(queue.barrierSync([] { return 8; }), 8);  // the failed write released the queue
}

TEST(ConcurrentQueue, WaitsForAsynchronousWork) {
  foundation::ConcurrentQueue queue;
  std::atomic<int> done{0};
  for (int n = 0; n < 20; ++n) queue.async([&] { ++done; });
  queue.waitUntilIdle();
  EXPECT_EQ(done, 20);
}

TEST(SerialQueue, RunsWorkOneAtATimeInSubmissionOrder) {
  foundation::SerialQueue queue("serial");
  std::vector<int> order;  // guarded by the queue
  std::atomic<int> inside{0};
  std::atomic<int> overlaps{0};
  std::thread other([&] {
    for (int n = 0; n < 100; ++n)
      queue.async([&] {
        if (inside++ != 0) ++overlaps;
        --inside;
      });
  });
  for (int n = 0; n < 100; ++n) queue.async([&order, n] { order.push_back(n); });
  other.join();
  auto seen = queue.sync([&] { return order; });
  ASSERT_EQ(seen.size(), 100u);
  for (int n = 0; n < 100; ++n) EXPECT_EQ(seen[n], n);
  EXPECT_EQ(overlaps, 0);
}

TEST(SerialQueue, SyncFromItsOwnWorkRunsInline) {
  foundation::SerialQueue queue;
  int result = queue.sync([&] { return queue.sync([] { return 5; }) + 1; });
  EXPECT_EQ(result, 6);
  EXPECT_THROW(queue.sync([] { throw std::runtime_error("bad"); }), std::runtime_error);
}

}  // namespace
