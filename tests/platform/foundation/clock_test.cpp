#include "platform/foundation/clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

namespace {

using namespace std::chrono_literals;
using foundation::Duration;
using foundation::ManualClock;

TEST(Duration, FromSecondsDropsTheFractionOfANanosecondAndClampsBadValues) {
  struct Case {
    double seconds;
    Duration expected;
  };
  const Case cases[] = {
      {1.0, 1s},
      {0.5, 500ms},
      {1.0000000019, Duration(1000000001)},
      {0.0, Duration::zero()},
      {-2.0, Duration::zero()},
      {std::nan(""), Duration::zero()},
      {std::numeric_limits<double>::infinity(), Duration::max()},
      {1e300, Duration::max()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seconds);
    EXPECT_EQ(foundation::durationFromSeconds(c.seconds), c.expected);
  }
  EXPECT_DOUBLE_EQ(foundation::secondsOf(1500ms), 1.5);
}

TEST(ManualClock, MovesOnlyForwardAndOnlyWhenTold) {
  ManualClock clock;
  const auto start = clock.now();
  EXPECT_EQ(clock.now(), start);
  clock.advance(2s);
  EXPECT_EQ(clock.now(), start + 2s);
  clock.advance(-1s);
  EXPECT_EQ(clock.now(), start + 2s);
  clock.set(start + 1s);  // earlier: ignored
  EXPECT_EQ(clock.now(), start + 2s);
  clock.set(start + 5s);
  EXPECT_EQ(clock.now(), start + 5s);
}

TEST(ManualClock, WakesAWaiterOnlyWhenAdvancedPastItsDeadline) {
  ManualClock clock;
  const auto deadline = clock.now() + 1s;
  bool reached = false;
  std::thread waiter([&] { reached = clock.waitUntil(deadline, {}); });
  ASSERT_TRUE(clock.awaitWaiters(1));
  clock.advance(500ms);
  ASSERT_TRUE(clock.awaitWaiters(1));  // still waiting: the deadline is not reached
  clock.advance(500ms);
  waiter.join();
  EXPECT_TRUE(reached);
  EXPECT_EQ(clock.waiterCount(), 0u);
}

TEST(ManualClock, AWaitIsInterruptedByAStopRequest) {
  ManualClock clock;
  std::stop_source stop;
  bool reached = true;
  std::thread waiter([&] { reached = clock.waitFor(1h, stop.get_token()); });
  ASSERT_TRUE(clock.awaitWaiters(1));
  stop.request_stop();
  waiter.join();
  EXPECT_FALSE(reached);
}

TEST(ManualClock, APassedDeadlineReturnsAtOnceEvenWhenStopped) {
  ManualClock clock;
  std::stop_source stop;
  stop.request_stop();
  EXPECT_TRUE(clock.waitUntil(clock.now(), stop.get_token()));
  EXPECT_FALSE(clock.waitFor(1s, stop.get_token()));
}

TEST(RealClock, AWaitIsInterruptedByAStopRequest) {
  foundation::RealClock clock;
  std::stop_source stop;
  bool reached = true;
  std::thread waiter([&] { reached = clock.waitFor(1h, stop.get_token()); });
  stop.request_stop();
  waiter.join();
  EXPECT_FALSE(reached);
  EXPECT_TRUE(clock.waitFor(Duration::zero(), {}));
}

TEST(CurrentClock, AScopedClockIsInstalledAndThePreviousOneRestored) {
  auto outer = foundation::currentClock();
  auto manual = std::make_shared<ManualClock>();
  {
    foundation::ScopedClock scope(manual);
    EXPECT_EQ(foundation::currentClock(), manual);
    {
      auto inner = std::make_shared<ManualClock>();
      foundation::ScopedClock nested(inner);
      EXPECT_EQ(foundation::currentClock(), inner);
    }
    EXPECT_EQ(foundation::currentClock(), manual);
  }
  EXPECT_EQ(foundation::currentClock(), outer);
}

}  // namespace
