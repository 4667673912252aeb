// Views that act on the values of a publisher while they are shown.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/concurrency/notification_publisher.h"
#include "platform/concurrency/subject.h"
#include "platform/foundation/notification_center.h"
#include "platform/ui/inspector.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"

namespace {

using namespace ui;
using ui::testing::Host;

// Counts the values it receives into its own state and shows the count.
class Counter final : public View {
 public:
  explicit Counter(concurrency::AnyPublisher<int> values) : values_(std::move(values)) {}
  AnyView body() const override {
    return Text::verbatim("sum " + std::to_string(*sum_)).onReceive<int>(values_, [sum = sum_](int value) {
      sum.set(*sum + value);
    });
  }

 private:
  concurrency::AnyPublisher<int> values_;
  State<int> sum_{0};
};

TEST(Receive, ActsOnEveryValueWhileShownAndOnNoneOnceHidden) {
  concurrency::PassthroughSubject<int> subject;
  Host host(Counter(subject.eraseToAnyPublisher()));
  subject.send(2);
  subject.send(3);
  host.settle();
  EXPECT_TRUE(host.exists(ui::testing::text("sum 5")));

  host.hide();
  subject.send(10);
  host.show();
  host.settle();
  EXPECT_TRUE(host.exists(ui::testing::text("sum 5")));
  subject.send(1);
  host.settle();
  EXPECT_TRUE(host.exists(ui::testing::text("sum 6")));
}

TEST(Receive, AValueFromAnotherThreadIsActedOnOnTheMainQueue) {
  concurrency::PassthroughSubject<int> subject;
  Host host(Counter(subject.eraseToAnyPublisher()));
  std::thread([&] { subject.send(4); }).join();
  EXPECT_TRUE(host.exists(ui::testing::text("sum 0")));
  host.settle();
  EXPECT_TRUE(host.exists(ui::testing::text("sum 4")));
}

TEST(Receive, NotificationsOfOneNameReachTheViewFromAnySender) {
  foundation::NotificationCenter center;
  auto notifications =
      concurrency::notificationPublisher(center, "ping").map([](foundation::Notification) { return 1; });
  Host host{Counter(notifications)};
  int sender = 0;
  center.post("ping");
  center.post("ping", &sender);
  center.post("pong");
  host.settle();
  EXPECT_TRUE(host.exists(ui::testing::text("sum 2")));
  EXPECT_EQ(center.observerCount(), 1u);
  host.hide();
  EXPECT_EQ(center.observerCount(), 0u);
}

}  // namespace
