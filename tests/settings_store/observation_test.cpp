// Observing settings: change streams, publishers, callbacks, suppression and lifetime ties.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/concurrency/task.h"
#include "platform/foundation/run_loop.h"
#include "sample_types.h"
#include "settings_store/change_stream.h"
#include "test_suite.h"

namespace {

using Defaults::Key;
using Defaults::KeyChange;
using Defaults::ObservationOption;
using Defaults::testing::TemporarySuite;
using foundation::PlistValue;

// Everything a stream delivers on the main queue until the test ends.
template <class T>
struct Collected {
  std::vector<T> values;
  concurrency::AnyCancellable delivery;

  explicit Collected(const concurrency::AsyncStream<T>& stream)
      : delivery(stream.forEachOnMain([this](T value) { values.push_back(std::move(value)); })) {}

  const std::vector<T>& afterMainQueue() {
    foundation::RunLoop::main().runUntilIdle();
    return values;
  }
};

TEST(ChangeStream, WithInitialValueStartsWithTheDefault) {
  TemporarySuite suite;
  Key<int> key("count", 7, suite.suite());
  auto stream = Defaults::changeStream(key, true);
  EXPECT_EQ(stream.next(), 7);
  Defaults::set(key, 3);
  EXPECT_EQ(stream.next(), 3);
}

TEST(ChangeStream, WithoutInitialValueWaitsForTheFirstWrite) {
  TemporarySuite suite;
  Key<int> key("count", 7, suite.suite());
  auto stream = Defaults::changeStream(key, false);
  Collected<int> collected(stream);
  EXPECT_TRUE(collected.afterMainQueue().empty());
  Defaults::set(key, 4);
  EXPECT_EQ(collected.afterMainQueue(), (std::vector<int>{4}));
}

TEST(ChangeStream, DeliversEveryWriteInOrderWithRemovalsAndUnreadableValuesAsTheDefault) {
  TemporarySuite suite;
  Key<int> key("count", 7, suite.suite());
  auto stream = Defaults::changeStream(key, false);
  Defaults::set(key, 1);
  Defaults::set(key, 2);
  Defaults::set(key, 3);
  key.removeStoredValue();
  suite->setObject(PlistValue("junk"), "count");
  Defaults::set(key, 3);  // an unchanged value is a change all the same
  Collected<int> collected(stream);
  EXPECT_EQ(collected.afterMainQueue(), (std::vector<int>{1, 2, 3, 7, 7, 3}));
}

TEST(ChangeStream, CancellingTheConsumingTaskStopsTheObservation) {
  TemporarySuite suite;
  std::atomic<int> defaultCalls{0};
  Key<int> key("count", suite.suite(), [&defaultCalls] {
    ++defaultCalls;
    return 0;
  });
  auto stream = Defaults::changeStream(key, false);
  std::atomic<int> received{0};
  concurrency::Task<int> consumer([stream, &received] {
    int count = 0;
    while (stream.next()) received = ++count;
    return count;
  });
  Defaults::set(key, 1);
  while (received.load() < 1) std::this_thread::yield();
  consumer.cancel();
  EXPECT_EQ(consumer.value(), 1);
  const int callsBefore = defaultCalls;
  suite->setObject(PlistValue("junk"), "count");  // would need the default if anyone still listened
  EXPECT_EQ(defaultCalls, callsBefore);
}

TEST(ChangeStream, ReleasingTheStreamStopsTheObservation) {
  TemporarySuite suite;
  int defaultCalls = 0;
  Key<int> key("count", suite.suite(), [&defaultCalls] { return ++defaultCalls; });
  {
    auto stream = Defaults::changeStream(key, false);
    suite->setObject(PlistValue("junk"), "count");
    EXPECT_EQ(defaultCalls, 2);  // new and old value both fall back
  }
  suite->setObject(PlistValue("junk"), "count");
  EXPECT_EQ(defaultCalls, 2);
}

TEST(ChangeStream, SeveralKeysGiveOneInitialValueAndOnePerChange) {
  TemporarySuite suite;
  Key<int> a("a", 1, suite.suite());
  Key<int> b("b", 2, suite.suite());
  Key<std::string> c("c", "x", suite.suite());
  auto stream = Defaults::changeStream({a, b, c}, true);
  Collected<Defaults::Changed> collected(stream);
  EXPECT_EQ(collected.afterMainQueue().size(), 1u);
  Defaults::set(b, 5);
  Defaults::set(c, std::string("y"));
  EXPECT_EQ(collected.afterMainQueue().size(), 3u);
}

TEST(ChangePublisher, InitialValueArrivesAtOnceThenEveryChange) {
  TemporarySuite suite;
  Key<std::string> key("name", "none", suite.suite());
  std::vector<std::string> values;
  auto cancellable =
      Defaults::changePublisher(key, {ObservationOption::initial}).sink([&](const auto& change) {
        values.push_back(change.newValue);
      });
  EXPECT_EQ(values, (std::vector<std::string>{"none"}));
  Defaults::set(key, std::string("a"));
  EXPECT_EQ(values, (std::vector<std::string>{"none", "a"}));
  cancellable.cancel();
  Defaults::set(key, std::string("b"));
  EXPECT_EQ(values.size(), 2u);
}

TEST(ChangePublisher, PriorNotificationsComeBeforeEachChange) {
  TemporarySuite suite;
  Key<int> key("count", 7, suite.suite());
  Defaults::set(key, 1);
  std::vector<KeyChange<int>> changes;
  auto cancellable = Defaults::changePublisher(key, {ObservationOption::prior}).sink([&](const auto& change) {
    changes.push_back(change);
  });
  Defaults::set(key, 2);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_TRUE(changes[0].isPrior);
  EXPECT_EQ(changes[0].newValue, 7);  // a prior notification carries no new value
  EXPECT_EQ(changes[0].oldValue, 1);
  EXPECT_FALSE(changes[1].isPrior);
  EXPECT_EQ(changes[1].newValue, 2);
  EXPECT_EQ(changes[1].oldValue, 1);
}

TEST(ChangePublisher, InitialWinsOverPrior) {
  TemporarySuite suite;
  Key<int> key("count", 7, suite.suite());
  std::vector<KeyChange<int>> changes;
  auto cancellable = Defaults::changePublisher(key, {ObservationOption::initial, ObservationOption::prior})
                         .sink([&](const auto& change) { changes.push_back(change); });
  Defaults::set(key, 2);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_FALSE(changes[0].isPrior);
  EXPECT_EQ(changes[0].newValue, 7);
  EXPECT_FALSE(changes[1].isPrior);
  EXPECT_EQ(changes[1].newValue, 2);
}

TEST(ChangePublisher, SeveralKeysGiveOneInitialValuePerKeyAndNothingWithoutKeys) {
  TemporarySuite suite;
  Key<int> a("a", 1, suite.suite());
  Key<int> b("b", 2, suite.suite());
  int count = 0;
  bool completed = false;
  auto both = Defaults::changePublisher({a, b}, {ObservationOption::initial}).sink([&](auto) { ++count; });
  EXPECT_EQ(count, 2);
  Defaults::set(a, 3);
  EXPECT_EQ(count, 3);
  auto none = Defaults::changePublisher({}, {ObservationOption::initial})
                  .sink([&](concurrency::Completion) { completed = true; }, [&](auto) { ++count; });
  Defaults::set(a, 4);
  EXPECT_EQ(count, 4);
  EXPECT_FALSE(completed);
}

TEST(ObserveChanges, HandlerGetsTypedChangesUntilTheObservationIsReleased) {
  TemporarySuite suite;
  Key<sample::Engine> key("engine", sample::Engine::turbo, suite.suite());
  std::vector<KeyChange<sample::Engine>> changes;
  auto observation =
      Defaults::observeChanges(key, {}, [&](const auto& change) { changes.push_back(change); });
  Defaults::set(key, sample::Engine::large);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].kind, foundation::KeyValueChangeKind::setting);
  EXPECT_EQ(changes[0].oldValue, sample::Engine::turbo);
  EXPECT_EQ(changes[0].newValue, sample::Engine::large);
  key.removeStoredValue();
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[1].newValue, sample::Engine::turbo);
  observation.reset();
  Defaults::set(key, sample::Engine::large);
  EXPECT_EQ(changes.size(), 2u);
}

TEST(ObserveChanges, StoppingTwiceIsHarmlessAndAGoneSuiteDeliversNothing) {
  TemporarySuite suite;
  Key<int> key("count", 0, suite.suite());
  int calls = 0;
  auto observation = Defaults::observeChanges(key, {}, [&](const auto&) { ++calls; });
  observation->stopObserving();
  observation->stopObserving();
  Defaults::set(key, 1);
  EXPECT_EQ(calls, 0);

  auto gone = Defaults::UserDefaultsKeyObservation::make(nullptr, "count", [&](const auto&) { ++calls; });
  gone->startObserving({ObservationOption::initial});
  Defaults::set(key, 2);
  EXPECT_EQ(calls, 0);
}

TEST(ObserveChanges, SeveralKeysShareOneHandler) {
  TemporarySuite suite;
  Key<int> a("a", 1, suite.suite());
  Key<int> b("b", 2, suite.suite());
  std::vector<Defaults::BaseChange> changes;
  auto observation = Defaults::observeChanges(
      {a, b}, {}, [&](const Defaults::BaseChange& change) { changes.push_back(change); });
  Defaults::set(a, 10);
  Defaults::set(b, 20);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].newValue, PlistValue(10));
  EXPECT_EQ(changes[1].newValue, PlistValue(20));
  observation.reset();
  Defaults::set(a, 11);
  EXPECT_EQ(changes.size(), 2u);
}

TEST(Suppression, WritesInsideWakeNoObserverOnThisThreadButOthersStillDo) {
  TemporarySuite suite;
  Key<int> key("count", 0, suite.suite());
  std::mutex mutex;
  std::vector<int> seen;
  auto observation = Defaults::observeChanges(key, {}, [&](const KeyChange<int>& change) {
    std::lock_guard lock(mutex);
    seen.push_back(change.newValue);
  });
  Defaults::withCallbacksSuppressed([&] {
    Defaults::set(key, 1);
    std::thread other([&] { Defaults::set(key, 2); });
    other.join();
    Defaults::set(key, 3);
  });
  Defaults::set(key, 4);
  EXPECT_EQ(seen, (std::vector<int>{2, 4}));
  EXPECT_EQ(Defaults::get(key), 4);
}

TEST(Suppression, NestedUsesRestoreTheOuterStateAlsoAfterAThrow) {
  EXPECT_FALSE(Defaults::areCallbacksSuppressed());
  Defaults::withCallbacksSuppressed([] {
    Defaults::withCallbacksSuppressed([] { EXPECT_TRUE(Defaults::areCallbacksSuppressed()); });
    EXPECT_TRUE(Defaults::areCallbacksSuppressed());
    EXPECT_THROW(Defaults::withCallbacksSuppressed([] { throw std::runtime_error("inner"); }),
                 std::runtime_error);
    EXPECT_TRUE(Defaults::areCallbacksSuppressed());
  });
  EXPECT_FALSE(Defaults::areCallbacksSuppressed());
}

struct Owner : foundation::AssociatedStorage {};

TEST(LifetimeTie, TheOwnersDestructionStopsTheObservation) {
  TemporarySuite suite;
  Key<int> key("count", 0, suite.suite());
  int calls = 0;
  auto owner = std::make_unique<Owner>();
  std::weak_ptr<Defaults::Observation> weak =
      Defaults::observeChanges(key, {}, [&](const auto&) { ++calls; })->bindLifetime(*owner);
  Defaults::set(key, 1);  // the owner keeps it alive
  EXPECT_EQ(calls, 1);
  owner.reset();
  EXPECT_TRUE(weak.expired());
  Defaults::set(key, 2);
  EXPECT_EQ(calls, 1);
}

TEST(LifetimeTie, UnbindingLeavesTheObservationToWhoeverHoldsIt) {
  TemporarySuite suite;
  Key<int> key("count", 0, suite.suite());
  int calls = 0;
  auto owner = std::make_unique<Owner>();
  auto observation = Defaults::observeChanges(key, {}, [&](const auto&) { ++calls; });
  observation->bindLifetime(*owner);
  observation->unbindLifetime();
  owner.reset();
  Defaults::set(key, 1);
  EXPECT_EQ(calls, 1);

  // Unbound with nobody else holding it, it goes away.
  auto other = std::make_unique<Owner>();
  std::weak_ptr<Defaults::Observation> weak =
      Defaults::observeChanges(key, {}, [&](const auto&) { ++calls; })->bindLifetime(*other);
  weak.lock()->unbindLifetime();
  EXPECT_TRUE(weak.expired());
}

TEST(LifetimeTie, StoppingTakesTheTrackerOffTheOwnerAndRebindingMovesIt) {
  TemporarySuite suite;
  Key<int> key("count", 0, suite.suite());
  int calls = 0;
  Owner first;
  Owner second;
  auto observation = Defaults::observeChanges(key, {}, [&](const auto&) { ++calls; });
  std::weak_ptr<Defaults::Observation> weak = observation;
  observation->bindLifetime(first);
  observation->bindLifetime(second);  // replaces the tie to the first owner
  observation.reset();
  Defaults::set(key, 1);
  EXPECT_EQ(calls, 1);
  weak.lock()->stopObserving();
  EXPECT_TRUE(weak.expired());
}

TEST(LifetimeTie, OwnersOnTwoThreads) {
  TemporarySuite suite;
  Key<int> key("count", 0, suite.suite());
  std::atomic<int> calls{0};
  auto bindAndRelease = [&] {
    for (int round = 0; round < 50; ++round) {
      Owner owner;
      Defaults::observeChanges(key, {}, [&](const auto&) { ++calls; })->bindLifetime(owner);
    }
  };
  std::thread a(bindAndRelease);
  std::thread b(bindAndRelease);
  a.join();
  b.join();
  Defaults::set(key, 1);
  EXPECT_EQ(calls, 0);
}

}  // namespace
