#include <gtest/gtest.h>

#include "platform/concurrency/async_stream.h"
#include "platform/concurrency/main_actor.h"
#include "platform/concurrency/publisher.h"
#include "platform/concurrency/subject.h"
#include "platform/concurrency/task.h"

TEST(Placeholder, Builds) {
  concurrency::Task<int> task([] { return 3; });
  EXPECT_EQ(task.value(), 3);
  auto [stream, continuation] = concurrency::AsyncStream<int>::makeStream();
  continuation.yield(1);
  concurrency::PassthroughSubject<int> subject;
  auto c = subject.eraseToAnyPublisher()
               .map([](int v) { return v * 2; })
               .removeDuplicates()
               .debounce(std::chrono::seconds(1))
               .merge(concurrency::Empty<int>(false))
               .sink([](int) {});
  concurrency::CurrentValueSubject<std::string> s2("a");
  concurrency::AsyncThrowingStream<std::string> ts;
  EXPECT_EQ(concurrency::MainActor::run([] { return 4; }), 4);
}
