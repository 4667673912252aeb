#include "platform/foundation/timer.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "runtime_fixture.h"

namespace {

using namespace std::chrono_literals;

using Timers = ManualTimeTest;

TEST_F(Timers, AOneShotTimerFiresOnceAtItsDeadlineAndBecomesInvalid) {
  std::vector<foundation::TimePoint> firings;
  const auto start = clock->now();
  auto timer =
      foundation::Timer::scheduled(2s, false, [&](foundation::Timer&) { firings.push_back(clock->now()); });
  advance(1999ms);
  EXPECT_TRUE(firings.empty());
  EXPECT_TRUE(timer->isValid());
  advance(10s);
  EXPECT_EQ(firings, (std::vector<foundation::TimePoint>{start + 2s}));
  EXPECT_FALSE(timer->isValid());
}

TEST_F(Timers, ARepeatingTimerFiresEveryIntervalUntilInvalidated) {
  std::vector<foundation::TimePoint> firings;
  const auto start = clock->now();
  auto timer = foundation::Timer::scheduled(1s, true, [&](foundation::Timer& self) {
    firings.push_back(clock->now());
    if (firings.size() == 3) self.invalidate();
  });
  advance(10s);
  EXPECT_EQ(firings, (std::vector<foundation::TimePoint>{start + 1s, start + 2s, start + 3s}));
  EXPECT_FALSE(timer->isValid());
  EXPECT_EQ(loop.pendingCount(), 0u);
}

TEST_F(Timers, AnInvalidatedTimerNeverFires) {
  int firings = 0;
  auto oneShot = foundation::Timer::scheduled(1s, false, [&](foundation::Timer&) { ++firings; });
  auto repeating = foundation::Timer::scheduled(1s, true, [&](foundation::Timer&) { ++firings; });
  oneShot->invalidate();
  std::thread([&] { repeating->invalidate(); }).join();  // from another thread
  advance(5s);
  EXPECT_EQ(firings, 0);
}

TEST_F(Timers, ARepeatingTimerSkipsFiringsMissedWhileTheClockJumped) {
  std::vector<foundation::TimePoint> firings;
  const auto start = clock->now();
  auto timer =
      foundation::Timer::scheduled(1s, true, [&](foundation::Timer&) { firings.push_back(clock->now()); });
  clock->advance(3500ms);
  loop.runUntilIdle();
  EXPECT_EQ(firings, (std::vector<foundation::TimePoint>{start + 3500ms}));
  EXPECT_EQ(timer->fireDate(), start + 4s);
  advance(500ms);
  EXPECT_EQ(firings.size(), 2u);
  timer->invalidate();
}

}  // namespace
