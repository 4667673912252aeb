#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "runtime_fixture.h"

namespace {

using namespace std::chrono_literals;

using MainQueue = ManualTimeTest;

TEST_F(MainQueue, RunsPostedWorkInPostingOrderAfterTheCurrentTurn) {
  std::vector<int> order;
  loop.async([&] { order.push_back(1); });
  loop.async([&] { order.push_back(2); });
  EXPECT_TRUE(order.empty());
  EXPECT_EQ(loop.runUntilIdle(), 2u);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST_F(MainQueue, RunsWorkPostedWhileRunningInTheSameIdleRun) {
  std::vector<std::string> order;
  loop.async([&] {
    order.push_back("outer");
    loop.async([&] { order.push_back("posted while running"); });
    order.push_back("outer end");
  });
  loop.async([&] { order.push_back("second"); });
  loop.runUntilIdle();
  EXPECT_EQ(order, (std::vector<std::string>{"outer", "outer end", "second", "posted while running"}));
}

TEST_F(MainQueue, RunsDelayedWorkInDeadlineOrderThenPostingOrder) {
  std::vector<std::string> order;
  loop.asyncAfter(2s, [&] { order.push_back("2s first"); });
  loop.asyncAfter(1s, [&] { order.push_back("1s"); });
  loop.asyncAfter(2s, [&] { order.push_back("2s second"); });
  loop.asyncAfter(3s, [&] { order.push_back("3s"); });
  loop.async([&] { order.push_back("now"); });
  advance(2s);
  EXPECT_EQ(order, (std::vector<std::string>{"now", "1s", "2s first", "2s second"}));
  EXPECT_EQ(loop.pendingCount(), 1u);
  advance(1s);
  EXPECT_EQ(order.back(), "3s");
}

TEST_F(MainQueue, DoesNotRunDelayedWorkBeforeItsDeadline) {
  int runs = 0;
  loop.asyncAfter(500ms, [&] { ++runs; });
  EXPECT_EQ(loop.runUntilIdle(), 0u);
  clock->advance(499ms);
  EXPECT_FALSE(loop.hasDueWork());
  EXPECT_EQ(loop.runUntilIdle(), 0u);
  clock->advance(1ms);
  EXPECT_TRUE(loop.hasDueWork());
  EXPECT_EQ(loop.runUntilIdle(), 1u);
  EXPECT_EQ(runs, 1);
}

TEST_F(MainQueue, AdvancingRunsDelayedWorkScheduledByDelayedWorkOnTheWay) {
  std::vector<foundation::TimePoint> firedAt;
  const auto start = clock->now();
  loop.asyncAfter(1s, [&] {
    firedAt.push_back(clock->now());
    loop.asyncAfter(1s, [&] { firedAt.push_back(clock->now()); });
  });
  advance(5s);
  EXPECT_EQ(firedAt, (std::vector<foundation::TimePoint>{start + 1s, start + 2s}));
  EXPECT_EQ(clock->now(), start + 5s);
}

TEST_F(MainQueue, AcceptsWorkFromOtherThreadsAndRunsItOnTheMainThread) {
  std::atomic<int> onMain{0};
  std::atomic<int> elsewhere{0};
  std::vector<std::thread> posters;
  for (int i = 0; i < 2; ++i) {
    posters.emplace_back([&] {
      for (int n = 0; n < 100; ++n) {
        loop.async([&] { (foundation::isMainThread() ? onMain : elsewhere)++; });
      }
    });
  }
  for (auto& poster : posters) poster.join();
  EXPECT_TRUE(loop.runUntil([&] { return onMain + elsewhere == 200; }));
  EXPECT_EQ(onMain, 200);
  EXPECT_EQ(elsewhere, 0);
}

TEST_F(MainQueue, RunUntilWaitsForWorkPostedLaterByAnotherThread) {
  bool ran = false;
  std::thread poster([&] { loop.async([&] { ran = true; }); });
  EXPECT_TRUE(loop.runUntil([&] { return ran; }));
  poster.join();
}

TEST_F(MainQueue, KnowsWhichThreadIsTheMainThread) {
  EXPECT_TRUE(foundation::isMainThread());
  bool otherIsMain = true;
  std::thread([&] { otherIsMain = foundation::isMainThread(); }).join();
  EXPECT_FALSE(otherIsMain);
}

TEST_F(MainQueue, ARunningLoopWaitsOnTheClockAndStops) {
  std::vector<std::string> order;
  loop.async([&] { order.push_back("first"); });
  loop.asyncAfter(1s, [&] {
    order.push_back("after a second");
    loop.stop();
  });
  std::thread advancer([&] {
    // The loop waits on the clock once the first item has run.
    ASSERT_TRUE(clock->awaitWaiters(1));
    clock->advance(1s);
  });
  loop.run();
  advancer.join();
  EXPECT_EQ(order, (std::vector<std::string>{"first", "after a second"}));
}

TEST_F(MainQueue, ARunningLoopWakesForWorkPostedFromAnotherThread) {
  std::thread poster([&] {
    ASSERT_TRUE(clock->awaitWaiters(1));
    loop.async([&] { loop.stop(); });
  });
  loop.run();
  poster.join();
  EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST(MainQueueOnTheRealClock, ARunningLoopWakesForWorkPostedFromAnotherThread) {
  foundation::ScopedClock realTime(std::make_shared<foundation::RealClock>());
  foundation::ScopedMainRunLoop mainScope;
  auto& loop = foundation::RunLoop::main();
  bool ran = false;
  std::thread poster([&] {
    loop.async([&] {
      ran = true;
      loop.stop();
    });
  });
  loop.run();
  poster.join();
  EXPECT_TRUE(ran);
}

TEST_F(MainQueue, AFailingItemDoesNotStopTheQueue) {
  bool laterRan = false;
  loop.async([] { throw std::runtime_error("broken"); });
  loop.async([&] { laterRan = true; });
  loop.runUntilIdle();
  EXPECT_TRUE(laterRan);
}

TEST_F(MainQueue, ResetDropsWaitingWork) {
  bool ran = false;
  loop.async([&] { ran = true; });
  loop.asyncAfter(1s, [&] { ran = true; });
  loop.resetForTesting();
  EXPECT_EQ(loop.pendingCount(), 0u);
  advance(2s);
  EXPECT_FALSE(ran);
}

TEST_F(MainQueue, IdleRunsAreBoundedForWorkThatRepostsItself) {
  std::function<void()> repost = [&] { loop.async(repost); };
  loop.async(repost);
  EXPECT_EQ(loop.runUntilIdle(50), 50u);
  loop.resetForTesting();
}

// A driver that runs the due work of the loop as a toolkit's loop would, counting its wake-ups.
class CountingDriver final : public foundation::RunLoop::Driver {
 public:
  void run(foundation::RunLoop& loop) override {
    ++runs;
    while (loop.runDueWork()) {
    }
  }
  void wake() override { ++wakeUps; }

  std::atomic<int> runs = 0;
  std::atomic<int> wakeUps = 0;
};

TEST_F(MainQueue, AnInstalledDriverRunsTheLoopAndIsWokenByPostsAndStops) {
  CountingDriver driver;
  loop.setDriver(&driver);
  std::vector<int> order;
  loop.async([&] { order.push_back(1); });
  loop.async([&] {
    order.push_back(2);
    loop.stop();
  });
  loop.async([&] { order.push_back(3); });
  EXPECT_EQ(driver.wakeUps, 3);
  loop.run();
  EXPECT_EQ(driver.runs, 1);
  EXPECT_EQ(order, (std::vector<int>{1, 2}));  // the stop ends the run after the item asking for it
  EXPECT_EQ(driver.wakeUps, 4);
  loop.setDriver(nullptr);
  loop.async([] {});
  EXPECT_EQ(driver.wakeUps, 4);
  EXPECT_EQ(loop.runUntilIdle(), 2u);
}

TEST_F(MainQueue, ADriverIsToldTheNextDeadline) {
  EXPECT_EQ(loop.nextDeadline(), std::nullopt);
  const auto start = clock->now();
  loop.asyncAfter(5s, [] {});
  loop.asyncAfter(2s, [] {});
  EXPECT_EQ(loop.nextDeadline(), start + 2s);
  EXPECT_TRUE(loop.runDueWork());
  EXPECT_EQ(loop.pendingCount(), 2u);
  advance(3s);
  EXPECT_EQ(loop.nextDeadline(), start + 5s);
}

}  // namespace
