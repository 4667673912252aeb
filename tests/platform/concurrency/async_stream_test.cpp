#include "platform/concurrency/async_stream.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "concurrency_fixture.h"

namespace {

using concurrency::AsyncStream;
using concurrency::AsyncThrowingStream;
using concurrency::StreamTermination;
using concurrency::Task;
using concurrency::YieldResult;

using Streams = ConcurrencyTest;

template <class Stream>
auto drain(const Stream& stream) {
  std::vector<typename decltype(stream.next())::value_type> values;
  while (auto value = stream.next()) values.push_back(*value);
  return values;
}

TEST_F(Streams, DeliverBufferedValuesInOrderThenEndNormally) {
  auto [stream, continuation] = AsyncStream<int>::makeStream();
  for (int n = 1; n <= 3; ++n) EXPECT_EQ(continuation.yield(n), YieldResult::enqueued);
  continuation.finish();
  EXPECT_EQ(continuation.yield(4), YieldResult::terminated);
  EXPECT_EQ(drain(stream), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(stream.next(), std::nullopt);  // and stays ended
}

TEST_F(Streams, EndWithAFailureAfterTheBufferedValues) {
  auto [stream, continuation] = AsyncThrowingStream<std::string>::makeStream();
  continuation.yield("Hel");
  continuation.yield("lo");
  continuation.finish(std::make_exception_ptr(std::runtime_error("connection lost")));
  EXPECT_EQ(stream.next(), "Hel");
  EXPECT_EQ(stream.next(), "lo");
  EXPECT_THROW(stream.next(), std::runtime_error);
  EXPECT_EQ(stream.next(), std::nullopt);
}

TEST_F(Streams, AreBuiltByAFunctionThatReceivesTheContinuationAtOnce) {
  AsyncStream<int> stream([](AsyncStream<int>::Continuation continuation) {
    continuation.yield(7);  // the initial value is there when the stream is returned
  });
  EXPECT_EQ(stream.next(), 7);
  EXPECT_EQ(stream.next(), std::nullopt);  // the continuation was dropped: nobody can yield any more
}

TEST_F(Streams, BlockingReadsWaitForAProducerOnAnotherThread) {
  auto [stream, continuation] = AsyncStream<int>::makeStream();
  Task<std::vector<int>> consumer([stream = stream] { return drain(stream); });
  std::thread producer([continuation = continuation] {
    for (int n = 0; n < 1000; ++n) continuation.yield(n);
    continuation.finish();
  });
  producer.join();
  auto values = consumer.value();
  ASSERT_EQ(values.size(), 1000u);
  for (int n = 0; n < 1000; ++n) EXPECT_EQ(values[n], n);
}

TEST_F(Streams, TwoProducerThreadsLoseNoValue) {
  auto [stream, continuation] = AsyncStream<int>::makeStream();
  auto produce = [continuation = continuation] {
    for (int n = 0; n < 500; ++n) continuation.yield(1);
  };
  std::thread a(produce);
  std::thread b(produce);
  a.join();
  b.join();
  continuation.finish();
  int total = 0;
  while (auto value = stream.next()) total += *value;
  EXPECT_EQ(total, 1000);
}

TEST_F(Streams, RunTheTerminationHandlerExactlyOnceForEachWayOfEnding) {
  enum class Ending { producerFinishes, consumerTaskCancelled, lastHandleReleased };
  struct Case {
    Ending ending;
    StreamTermination expected;
  };
  const Case cases[] = {
      {Ending::producerFinishes, StreamTermination::finished},
      {Ending::consumerTaskCancelled, StreamTermination::cancelled},
      {Ending::lastHandleReleased, StreamTermination::cancelled},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.ending));
    std::atomic<int> calls{0};
    std::optional<StreamTermination> reason;
    AsyncStream<int>::Continuation continuation;
    {
      std::optional<AsyncStream<int>> stream;
      std::tie(stream, continuation) = AsyncStream<int>::makeStream();
      continuation.setOnTermination([&](StreamTermination how) {
        ++calls;
        reason = how;
      });
      continuation.yield(1);
      switch (c.ending) {
        case Ending::producerFinishes:
          continuation.finish();
          break;
        case Ending::consumerTaskCancelled: {
          Signal reading;
          Task<std::optional<int>> consumer([&, handle = *stream] {
            handle.next();  // the buffered 1
            reading.notify();
            return handle.next();  // blocks until cancelled
          });
          ASSERT_TRUE(reading.wait());
          consumer.cancel();
          EXPECT_EQ(consumer.value(), std::nullopt);
          break;
        }
        case Ending::lastHandleReleased:
          break;
      }
    }  // the last consumer handle goes here
    continuation.finish();
    continuation.yield(2);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(reason, c.expected);
  }
}

TEST_F(Streams, AHandlerSetAfterTheEndRunsAtOnce) {
  auto [stream, continuation] = AsyncStream<int>::makeStream();
  stream.cancel();
  std::optional<StreamTermination> reason;
  continuation.setOnTermination([&](StreamTermination how) { reason = how; });
  EXPECT_EQ(reason, StreamTermination::cancelled);
}

TEST_F(Streams, ACancelledConsumerStopsReceivingWhileTheProducerRunsToTheEnd) {
  AsyncThrowingStream<std::string>::Continuation continuation;
  Task<std::vector<std::string>> consumer;
  {
    auto made = AsyncThrowingStream<std::string>::makeStream();
    continuation = made.second;
    // The consumer task holds the only consumer handle, as a view's task iterating a reply does.
    consumer = Task<std::vector<std::string>>([stream = made.first] {
      std::vector<std::string> seen;
      while (auto piece = stream.next()) {
        seen.push_back(*piece);
        if (seen.size() == 3) concurrency::sleep(std::chrono::hours(1));  // cancelled while waiting here
      }
      return seen;
    });
  }
  Signal consumerGone;
  std::atomic<int> refused{0};
  // The producer reads its whole input whatever the consumer does, as a streamed reply reads its body.
  Task<int> producer(
      [&, continuation = continuation] {
        int produced = 0;
        for (int n = 0; n < 10; ++n) {
          if (n == 3) consumerGone.wait();
          if (continuation.yield("piece " + std::to_string(n)) == YieldResult::terminated) ++refused;
          ++produced;
        }
        continuation.finish();
        return produced;
      },
      concurrency::TaskPriority::userInitiated);
  ASSERT_TRUE(clock->awaitWaiters(1));
  consumer.cancel();
  EXPECT_THROW(consumer.value(), concurrency::CancellationError);
  consumerGone.notify();
  EXPECT_EQ(producer.value(), 10);
  EXPECT_EQ(refused, 7);
}

TEST_F(Streams, AReadInACancelledTaskEndsTheStreamAndRefusesLaterValues) {
  auto [stream, continuation] = AsyncStream<int>::makeStream();
  continuation.yield(1);
  Signal cancelled;
  Task<std::optional<int>> consumer([&, stream = stream] {
    cancelled.wait();
    return stream.next();
  });
  consumer.cancel();
  cancelled.notify();
  EXPECT_EQ(consumer.value(), std::nullopt);
  EXPECT_EQ(continuation.yield(2), YieldResult::terminated);
}

TEST_F(Streams, DeliverOnTheMainQueueForViews) {
  auto [stream, continuation] = AsyncThrowingStream<std::string>::makeStream();
  std::vector<std::string> pieces;
  bool ended = false;
  bool allOnMain = true;
  auto delivery = stream.forEachOnMain(
      [&](std::string piece) {
        allOnMain = allOnMain && foundation::isMainThread();
        pieces.push_back(piece);
      },
      [&](std::exception_ptr failure) {
        EXPECT_EQ(failure, nullptr);
        ended = true;
      });
  std::thread producer([continuation = continuation] {
    continuation.yield("a");
    continuation.yield("b");
    continuation.finish();
  });
  producer.join();
  EXPECT_TRUE(pieces.empty());  // nothing before the main queue runs
  EXPECT_TRUE(loop.runUntil([&] { return ended; }));
  EXPECT_EQ(pieces, (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(allOnMain);
}

TEST_F(Streams, MainQueueDeliveryReportsAFailure) {
  auto [stream, continuation] = AsyncThrowingStream<int>::makeStream();
  std::exception_ptr failure;
  auto delivery = stream.forEachOnMain([](int) {}, [&](std::exception_ptr error) { failure = error; });
  continuation.finish(std::make_exception_ptr(std::runtime_error("bad status")));
  loop.runUntilIdle();
  EXPECT_THROW(std::rethrow_exception(failure), std::runtime_error);
}

TEST_F(Streams, CancellingMainQueueDeliveryStopsItAndEndsTheStream) {
  auto [stream, continuation] = AsyncStream<int>::makeStream();
  std::vector<int> seen;
  bool ended = false;
  std::optional<StreamTermination> reason;
  continuation.setOnTermination([&](StreamTermination how) { reason = how; });
  auto delivery = stream.forEachOnMain([&](int value) { seen.push_back(value); }, [&] { ended = true; });
  continuation.yield(1);
  loop.runUntilIdle();
  continuation.yield(2);  // waiting on the main queue when cancelled
  delivery.cancel();
  loop.runUntilIdle();
  EXPECT_EQ(seen, (std::vector<int>{1}));
  EXPECT_FALSE(ended);
  EXPECT_EQ(reason, StreamTermination::cancelled);
  EXPECT_EQ(continuation.yield(3), YieldResult::terminated);
}

TEST_F(Streams, MainQueueDeliveryKeepsTheStreamOpenWithoutOtherHandles) {
  AsyncStream<int>::Continuation continuation;
  concurrency::AnyCancellable delivery;
  std::vector<int> seen;
  {
    auto made = AsyncStream<int>::makeStream();
    continuation = made.second;
    delivery = made.first.forEachOnMain([&](int value) { seen.push_back(value); });
  }
  EXPECT_EQ(continuation.yield(1), YieldResult::enqueued);
  loop.runUntilIdle();
  EXPECT_EQ(seen, (std::vector<int>{1}));
  delivery = concurrency::AnyCancellable();  // releasing the handle cancels
  EXPECT_EQ(continuation.yield(2), YieldResult::terminated);
}

TEST_F(Streams, ADefaultStreamHasAlreadyEnded) {
  AsyncStream<int> stream;
  EXPECT_EQ(stream.next(), std::nullopt);
}

}  // namespace
