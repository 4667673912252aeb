#include "platform/concurrency/publisher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "concurrency_fixture.h"
#include "platform/concurrency/subject.h"

namespace {

using namespace std::chrono_literals;
using concurrency::AnyCancellable;
using concurrency::AnyPublisher;
using concurrency::Completion;
using concurrency::CurrentValueSubject;
using concurrency::PassthroughSubject;
using concurrency::Subscriber;

using Publishers = ConcurrencyTest;

TEST_F(Publishers, ASubjectPassesValuesToItsSubscribersUntilTheyCancel) {
  PassthroughSubject<int> subject;
  std::vector<int> first;
  std::vector<int> second;
  auto a = subject.sink([&](int value) { first.push_back(value); });
  subject.send(1);
  {
    auto b = subject.sink([&](int value) { second.push_back(value); });
    subject.send(2);
  }  // released: cancelled
  a.cancel();
  subject.send(3);
  EXPECT_EQ(first, (std::vector<int>{1, 2}));
  EXPECT_EQ(second, (std::vector<int>{2}));
  EXPECT_EQ(subject.subscriberCount(), 0u);
}

TEST_F(Publishers, ACompletedSubjectIgnoresLaterValuesAndTellsLateSubscribers) {
  PassthroughSubject<int> subject;
  int completions = 0;
  std::vector<int> values;
  auto early = subject.eraseToAnyPublisher().sink([&](Completion) { ++completions; },
                                                  [&](int value) { values.push_back(value); });
  subject.send(1);
  subject.send(Completion::finished());
  subject.send(2);
  auto late = subject.eraseToAnyPublisher().sink([&](Completion c) { completions += c.isFinished() ? 1 : 0; },
                                                 [&](int value) { values.push_back(value); });
  EXPECT_EQ(values, (std::vector<int>{1}));
  EXPECT_EQ(completions, 2);
}

TEST_F(Publishers, ACurrentValueSubjectGivesNewSubscribersItsValueFirst) {
  CurrentValueSubject<std::string> apiKey("old");
  apiKey.send("current");
  std::vector<std::string> seen;
  auto sink = apiKey.sink([&](std::string key) { seen.push_back(key); });
  apiKey.send("new");
  EXPECT_EQ(seen, (std::vector<std::string>{"current", "new"}));
  EXPECT_EQ(apiKey.value(), "new");
}

TEST_F(Publishers, MapAndRemoveDuplicatesTransformAndThinTheValues) {
  PassthroughSubject<int> subject;
  std::vector<std::string> seen;
  auto sink = subject.eraseToAnyPublisher()
                  .map([](int value) { return value / 10; })
                  .removeDuplicates()
                  .map([](int tens) { return std::to_string(tens); })
                  .sink([&](std::string text) { seen.push_back(text); });
  for (int value : {10, 11, 25, 29, 21, 12, 13}) subject.send(value);
  EXPECT_EQ(seen, (std::vector<std::string>{"1", "2", "1"}));
}

TEST_F(Publishers, MergePassesOnValuesFromEitherAndFinishesWhenBothHave) {
  PassthroughSubject<int> left;
  PassthroughSubject<int> right;
  std::vector<int> seen;
  int completions = 0;
  auto sink = left.eraseToAnyPublisher().merge(right).sink([&](Completion) { ++completions; },
                                                           [&](int value) { seen.push_back(value); });
  left.send(1);
  right.send(2);
  left.send(Completion::finished());
  right.send(3);
  EXPECT_EQ(completions, 0);
  right.send(Completion::finished());
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(completions, 1);
}

TEST_F(Publishers, EmptyFinishesAtOnceOrNeverAsAsked) {
  int finishedNow = 0;
  int finishedNever = 0;
  auto a = concurrency::Empty<int>().sink([&](Completion) { ++finishedNow; }, [](int) {});
  auto b = concurrency::Empty<int>(false).sink([&](Completion) { ++finishedNever; }, [](int) {});
  // Merging nothing into a never-ending empty publisher still never ends.
  auto c = AnyPublisher<int>::mergeAll({concurrency::Empty<int>(false)})
               .sink([&](Completion) { ++finishedNever; }, [](int) {});
  EXPECT_EQ(finishedNow, 1);
  EXPECT_EQ(finishedNever, 0);
}

TEST_F(Publishers, ACustomSubscriptionStartsOnSubscribeAndStopsOnCancel) {
  int starts = 0;
  int stops = 0;
  Subscriber<int> captured;
  auto publisher = AnyPublisher<int>::fromSubscription([&](Subscriber<int> subscriber) {
    ++starts;
    subscriber.send(0);  // an initial value, during subscription
    captured = subscriber;
    return [&] { ++stops; };
  });
  EXPECT_EQ(starts, 0);
  std::vector<int> seen;
  auto sink = publisher.sink([&](int value) { seen.push_back(value); });
  EXPECT_EQ(starts, 1);
  captured.send(1);
  sink.cancel();
  sink.cancel();
  captured.send(2);  // after cancelling: not delivered
  EXPECT_EQ(seen, (std::vector<int>{0, 1}));
  EXPECT_EQ(stops, 1);
}

TEST_F(Publishers, DebounceDeliversOnlyTheLastValueOfABurstAfterTheQuietTime) {
  PassthroughSubject<std::string> subject;
  std::vector<std::pair<std::string, foundation::TimePoint>> delivered;
  bool onMain = true;
  auto sink = subject.eraseToAnyPublisher().debounce(500ms).sink([&](std::string value) {
    onMain = onMain && foundation::isMainThread();
    delivered.emplace_back(value, clock->now());
  });
  const auto start = clock->now();
  for (const char* value : {"a", "ab", "abc", "abcd", "abcde"}) {
    subject.send(value);
    advance(200ms);  // each change comes before the quiet time is over
  }
  EXPECT_TRUE(delivered.empty());
  advance(1s);
  ASSERT_EQ(delivered.size(), 1u);
  EXPECT_EQ(delivered[0].first, "abcde");
  EXPECT_EQ(delivered[0].second, start + 800ms + 500ms);  // half a second after the last change
  EXPECT_TRUE(onMain);
}

TEST_F(Publishers, DebounceDeliversSeparatedChangesEachAndNothingAfterCancel) {
  PassthroughSubject<int> subject;
  std::vector<int> delivered;
  auto sink =
      subject.eraseToAnyPublisher().debounce(500ms).sink([&](int value) { delivered.push_back(value); });
  subject.send(1);
  advance(1s);
  subject.send(2);
  advance(1s);
  subject.send(3);
  sink.cancel();
  advance(1s);
  EXPECT_EQ(delivered, (std::vector<int>{1, 2}));
}

TEST_F(Publishers, DebounceTakesValuesFromAnotherThread) {
  PassthroughSubject<int> subject;
  std::vector<int> delivered;
  auto sink = subject.eraseToAnyPublisher().debounce(1s).sink([&](int value) { delivered.push_back(value); });
  std::thread([&] {
    for (int n = 1; n <= 3; ++n) subject.send(n);
  }).join();
  advance(1s);
  EXPECT_EQ(delivered, (std::vector<int>{3}));
}

TEST_F(Publishers, ReceiveOnMovesDeliveryToTheMainQueue) {
  PassthroughSubject<int> subject;
  std::vector<int> delivered;
  auto sink = subject.eraseToAnyPublisher().receiveOn(loop).sink([&](int value) {
    EXPECT_TRUE(foundation::isMainThread());
    delivered.push_back(value);
  });
  std::thread([&] { subject.send(4); }).join();
  EXPECT_TRUE(delivered.empty());
  loop.runUntilIdle();
  EXPECT_EQ(delivered, (std::vector<int>{4}));
}

TEST_F(Publishers, SubjectsTakeValuesAndSubscribersFromTwoThreads) {
  PassthroughSubject<int> passthrough;
  CurrentValueSubject<int> current(0);
  std::atomic<int> passthroughSum{0};
  std::atomic<int> currentCount{0};
  auto a = passthrough.sink([&](int value) { passthroughSum += value; });
  auto b = current.sink([&](int) { ++currentCount; });
  auto work = [&] {
    for (int n = 0; n < 300; ++n) {
      passthrough.send(1);
      current.send(n);
      auto transient = passthrough.sink([](int) {});
    }
  };
  std::thread first(work);
  std::thread second(work);
  first.join();
  second.join();
  EXPECT_EQ(passthroughSum, 600);
  EXPECT_EQ(currentCount, 601);  // the initial value and every send
  EXPECT_EQ(passthrough.subscriberCount(), 1u);
}

TEST_F(Publishers, OperatorsTakeValuesAndCompletionsFromTwoThreads) {
  PassthroughSubject<int> left;
  PassthroughSubject<int> right;
  std::atomic<int> seen{0};
  std::atomic<int> completions{0};
  auto sink = left.eraseToAnyPublisher()
                  .merge(right)
                  .removeDuplicates()
                  .map([](int value) { return value * 2; })
                  .sink([&](Completion) { ++completions; }, [&](int) { ++seen; });
  auto send = [](PassthroughSubject<int> subject) {
    for (int n = 0; n < 300; ++n) subject.send(n % 3);
    subject.send(Completion::finished());
  };
  std::thread a(send, left);
  std::thread b(send, right);
  a.join();
  b.join();
  EXPECT_GT(seen, 0);
  EXPECT_LE(seen, 600);
  EXPECT_EQ(completions, 1);
}

TEST_F(Publishers, ACancellableCancelledFromTwoThreadsCancelsOnce) {
  std::atomic<int> cancels{0};
  AnyCancellable shared([&] { ++cancels; });
  std::thread a([copy = shared] { copy.cancel(); });
  std::thread b([copy = shared] { copy.cancel(); });
  a.join();
  b.join();
  EXPECT_EQ(cancels, 1);
}

TEST_F(Publishers, CancellablesCancelOnceWhenTheLastCopyGoes) {
  int cancels = 0;
  {
    AnyCancellable original([&] { ++cancels; });
    std::vector<AnyCancellable> bag;
    original.store(bag);
    EXPECT_TRUE(original.isActive());
  }
  EXPECT_EQ(cancels, 1);
  AnyCancellable explicitOne([&] { ++cancels; });
  explicitOne.cancel();
  EXPECT_FALSE(explicitOne.isActive());
  explicitOne.cancel();
  EXPECT_EQ(cancels, 2);
}

}  // namespace
