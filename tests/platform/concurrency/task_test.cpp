#include "platform/concurrency/task.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>

#include "concurrency_fixture.h"
#include "platform/concurrency/main_actor.h"

namespace {

using namespace std::chrono_literals;
using concurrency::CancellationError;
using concurrency::Task;
using concurrency::TaskPriority;

using Tasks = ConcurrencyTest;

TEST_F(Tasks, DeliverTheirResultOrTheirFailureToWhoeverAwaitsThem) {
  Task<std::string> succeeding([] { return std::string("reply"); });
  Task<int> failing([]() -> int { throw std::runtime_error("no connection"); });
  Task<> plain([] {});
  EXPECT_EQ(succeeding.value(), "reply");
  EXPECT_THROW(failing.value(), std::runtime_error);
  EXPECT_NO_THROW(plain.value());
  EXPECT_TRUE(failing.isFinished());
  EXPECT_NE(failing.failure(), nullptr);
  EXPECT_EQ(succeeding.failure(), nullptr);
}

TEST_F(Tasks, RunOffTheMainThread) {
  Task<bool> task([] { return foundation::isMainThread(); });
  EXPECT_FALSE(task.value());
}

TEST_F(Tasks, ACancellationCheckThrowsOnlyOnceTheTaskIsCancelled) {
  Signal started;
  Signal cancelled;
  Task<int> task([&] {
    concurrency::checkCancellation();  // not cancelled yet
    started.notify();
    cancelled.wait();
    EXPECT_TRUE(concurrency::isCancelled());
    concurrency::checkCancellation();
    return 1;
  });
  ASSERT_TRUE(started.wait());
  EXPECT_FALSE(task.isCancelled());
  task.cancel();
  EXPECT_TRUE(task.isCancelled());
  cancelled.notify();
  EXPECT_THROW(task.value(), CancellationError);
}

TEST_F(Tasks, OutsideATaskNothingIsCancelled) {
  EXPECT_FALSE(concurrency::isCancelled());
  EXPECT_NO_THROW(concurrency::checkCancellation());
  EXPECT_EQ(concurrency::currentPriority(), TaskPriority::medium);
}

TEST_F(Tasks, ASleepEndsWhenTheManualClockPassesItsDeadline) {
  const auto start = clock->now();
  Task<foundation::TimePoint> task([&] {
    concurrency::sleep(1s);
    return clock->now();
  });
  ASSERT_TRUE(clock->awaitWaiters(1));
  clock->advance(999ms);
  EXPECT_FALSE(task.isFinished());
  clock->advance(1ms);
  EXPECT_EQ(task.value(), start + 1s);
}

TEST_F(Tasks, CancellingInterruptsASleep) {
  Task<> task([] { concurrency::sleep(1h); });
  ASSERT_TRUE(clock->awaitWaiters(1));
  task.cancel();
  EXPECT_THROW(task.value(), CancellationError);
}

TEST_F(Tasks, ASleepInAnAlreadyCancelledTaskThrowsAtOnceEvenForZero) {
  Signal cancelled;
  Task<> task([&] {
    cancelled.wait();
    concurrency::sleep(0s);
  });
  task.cancel();
  cancelled.notify();
  EXPECT_THROW(task.value(), CancellationError);
}

TEST_F(Tasks, KeepTheirPriorityAndPassItToTasksTheyStart) {
  Task<TaskPriority> outer(
      [] {
        Task<TaskPriority> inner([] { return concurrency::currentPriority(); });
        return inner.value();
      },
      TaskPriority::userInitiated);
  EXPECT_EQ(outer.priority(), TaskPriority::userInitiated);
  EXPECT_EQ(outer.value(), TaskPriority::userInitiated);
  EXPECT_EQ(Task<>([] {}, TaskPriority::background).priority(), TaskPriority::background);
}

TEST_F(Tasks, ReportTheirEndOnTheMainQueue) {
  Task<int> task([] { return 5; });
  std::optional<int> seen;
  bool onMain = false;
  task.onFinishOnMain([&](const Task<int>& finished) {
    onMain = foundation::isMainThread();
    seen = finished.value();
  });
  EXPECT_TRUE(loop.runUntil([&] { return seen.has_value(); }));
  EXPECT_EQ(seen, 5);
  EXPECT_TRUE(onMain);
}

TEST_F(Tasks, HopToTheMainActorAndBack) {
  Task<std::string> task([] {
    EXPECT_FALSE(foundation::isMainThread());
    auto fromMain = concurrency::MainActor::run([] {
      EXPECT_TRUE(foundation::isMainThread());
      return std::string("from main");
    });
    return fromMain + " and back";
  });
  EXPECT_TRUE(loop.runUntil([&] { return task.isFinished(); }));
  EXPECT_EQ(task.value(), "from main and back");
}

TEST_F(Tasks, AHopToTheMainActorFromTheMainThreadRunsInline) {
  int ran = 0;
  EXPECT_EQ(concurrency::MainActor::run([&] { return ++ran; }), 1);
  EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST_F(Tasks, AHopPassesTheFailureBackToTheTask) {
  Task<> task([] { concurrency::MainActor::run([] { throw std::runtime_error("view gone"); }); });
  EXPECT_TRUE(loop.runUntil([&] { return task.isFinished(); }));
  EXPECT_THROW(task.value(), std::runtime_error);
}

TEST_F(Tasks, AHopDroppedByTheMainQueueEndsAsCancellation) {
  Task<> task([] { concurrency::MainActor::run([] {}); });
  // Waits (without running the main queue) until the hop has been posted.
  for (int spins = 0; loop.pendingCount() == 0 && spins < 100000000; ++spins) std::this_thread::yield();
  ASSERT_EQ(loop.pendingCount(), 1u);
  loop.resetForTesting();
  EXPECT_THROW(task.value(), CancellationError);
}

TEST_F(Tasks, CanBeCancelledAndAwaitedFromTwoThreads) {
  Signal release;
  Task<int> task([&] {
    release.wait();
    return 1;
  });
  std::thread canceller([&] { task.cancel(); });
  std::thread waiter([&] { EXPECT_EQ(Task<int>(task).value(), 1); });
  canceller.join();
  release.notify();
  waiter.join();
  EXPECT_TRUE(task.isCancelled());  // never checked, so the result stands
}

TEST_F(Tasks, AnEmptyHandleHasNoValue) {
  Task<int> empty;
  EXPECT_FALSE(empty.isValid());
  EXPECT_THROW(empty.value(), std::logic_error);
  empty.cancel();  // harmless
}

}  // namespace

namespace {

TEST_F(Tasks, OfferTheCancellationHelpersAsMembersToo) {
  concurrency::Task<> task([] {
    EXPECT_FALSE(concurrency::Task<>::isCurrentCancelled());
    concurrency::Task<>::sleep(std::chrono::seconds(1));
    concurrency::Task<>::checkCancellation();
  });
  ASSERT_TRUE(clock->awaitWaiters(1));
  clock->advance(std::chrono::seconds(1));
  EXPECT_NO_THROW(task.value());
}

}  // namespace
