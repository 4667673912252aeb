// The debounced change modifier: one run with the last value once the value has been quiet long enough.
#include "Quillo/common/debounced_change.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "platform/foundation/clock.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace {

using namespace std::chrono_literals;
using ui::testing::Host;

struct DebouncedRun {
  int value;
  foundation::TimePoint at;
};
using Runs = std::shared_ptr<std::vector<DebouncedRun>>;

// Shows a value and reports it, debounced, to `runs`.
class Watched final : public ui::View {
 public:
  Watched(int value, Runs runs, double quietTime = 1.0)
      : value_(value), runs_(std::move(runs)), quietTime_(quietTime) {}
  ui::AnyView body() const override {
    auto runs = runs_;
    return Quillo::onDebouncedChange<int>(ui::Text::verbatim(std::to_string(value_)), value_, quietTime_,
                                          [runs](const int& value) {
                                            runs->push_back({value, foundation::currentClock()->now()});
                                          });
  }

 private:
  int value_;
  Runs runs_;
  double quietTime_;
};

TEST(DebouncedChange, ABurstOfChangesGivesOneRunWithTheLastValue) {
  auto runs = std::make_shared<std::vector<DebouncedRun>>();
  Host host{Watched(0, runs)};
  for (int value = 1; value <= 5; ++value) {
    host.setRoot(Watched(value, runs));
    if (value < 5) host.advance(200ms);
  }
  const auto lastChange = host.clock().now();
  host.advance(999ms);
  EXPECT_TRUE(runs->empty());
  host.advance(1ms);
  ASSERT_EQ(runs->size(), 1u);
  EXPECT_EQ(runs->front().value, 5);
  EXPECT_EQ(runs->front().at - lastChange, 1s);
  host.advance(10s);
  EXPECT_EQ(runs->size(), 1u);
}

TEST(DebouncedChange, ChangesFurtherApartThanTheQuietTimeRunEach) {
  auto runs = std::make_shared<std::vector<DebouncedRun>>();
  Host host{Watched(0, runs)};
  host.setRoot(Watched(1, runs));
  host.advance(1500ms);
  host.setRoot(Watched(2, runs));
  host.advance(1500ms);
  ASSERT_EQ(runs->size(), 2u);
  EXPECT_EQ(runs->at(0).value, 1);
  EXPECT_EQ(runs->at(1).value, 2);
}

TEST(DebouncedChange, TheFirstValueAloneNeverRuns) {
  auto runs = std::make_shared<std::vector<DebouncedRun>>();
  Host host{Watched(7, runs)};
  host.setRoot(Watched(7, runs));  // re-evaluated with the same value
  host.advance(5s);
  EXPECT_TRUE(runs->empty());
}

TEST(DebouncedChange, AChangeBackToAnEarlierValueRestartsTheWait) {
  auto runs = std::make_shared<std::vector<DebouncedRun>>();
  Host host{Watched(0, runs)};
  host.setRoot(Watched(1, runs));
  host.advance(500ms);
  host.setRoot(Watched(0, runs));
  host.advance(999ms);
  EXPECT_TRUE(runs->empty());
  host.advance(1ms);
  ASSERT_EQ(runs->size(), 1u);
  EXPECT_EQ(runs->front().value, 0);
}

TEST(DebouncedChange, RemovingTheViewDoesNotStopAPendingRun) {
  auto runs = std::make_shared<std::vector<DebouncedRun>>();
  Host host{ui::conditional(true, Watched(0, runs))};
  host.setRoot(ui::conditional(true, Watched(1, runs)));
  host.setRoot(ui::conditional(false, Watched(1, runs)));
  EXPECT_FALSE(host.exists(ui::testing::text("1")));
  host.advance(1s);
  ASSERT_EQ(runs->size(), 1u);
  EXPECT_EQ(runs->front().value, 1);
}

TEST(DebouncedChange, OutOfRangeQuietTimesAreMadeSafe) {
  struct Case {
    double quietTime;
    bool runsAtOnce;
  };
  const Case cases[] = {
      {-1.0, true},
      {std::nan(""), true},
      {0.0, true},
      {1e300, false},
      {std::numeric_limits<double>::infinity(), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.quietTime);
    auto runs = std::make_shared<std::vector<DebouncedRun>>();
    Host host{Watched(0, runs, c.quietTime)};
    host.setRoot(Watched(1, runs, c.quietTime));
    EXPECT_EQ(runs->size(), c.runsAtOnce ? 1u : 0u);
    host.advance(std::chrono::hours(24 * 365));
    EXPECT_EQ(runs->size(), c.runsAtOnce ? 1u : 0u);
  }
}

}  // namespace
