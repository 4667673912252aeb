#include "platform/foundation/notification_center.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "runtime_fixture.h"

namespace {

using foundation::Notification;
using foundation::NotificationCenter;
using foundation::ObserverToken;

using Notifications = ManualTimeTest;

TEST_F(Notifications, WithoutAQueueTheBlockRunsOnThePostingThreadBeforePostReturns) {
  NotificationCenter center;
  std::optional<std::thread::id> deliveredOn;
  auto token = center.addObserver("Changed", nullptr, nullptr,
                                  [&](const Notification&) { deliveredOn = std::this_thread::get_id(); });
  std::thread::id poster;
  std::thread([&] {
    poster = std::this_thread::get_id();
    center.post("Changed");
    EXPECT_TRUE(deliveredOn.has_value());
  }).join();
  EXPECT_EQ(deliveredOn, poster);
}

TEST_F(Notifications, WithTheMainQueueTheBlockRunsThereLaterInPostingOrder) {
  NotificationCenter center;
  std::vector<std::string> received;
  bool onMain = true;
  auto token = center.addObserver("Changed", nullptr, &loop, [&](const Notification& notification) {
    onMain = onMain && foundation::isMainThread();
    received.push_back(*notification.userInfoValue<std::string>("name"));
  });
  std::thread([&] {
    center.post("Changed", nullptr, {{"name", std::string("first")}});
    center.post("Changed", nullptr, {{"name", std::string("second")}});
  }).join();
  EXPECT_TRUE(received.empty());
  loop.runUntilIdle();
  EXPECT_EQ(received, (std::vector<std::string>{"first", "second"}));
  EXPECT_TRUE(onMain);
}

TEST_F(Notifications, MatchesByNameAndSender) {
  NotificationCenter center;
  int senderA = 0;
  int senderB = 0;
  std::vector<std::string> seen;
  auto anyName = center.addObserver("", nullptr, nullptr,
                                    [&](const Notification& n) { seen.push_back("any:" + n.name); });
  auto fromA = center.addObserver("Ping", &senderA, nullptr,
                                  [&](const Notification& n) { seen.push_back("A:" + n.name); });
  auto anySender = center.addObserver("Ping", nullptr, nullptr,
                                      [&](const Notification& n) { seen.push_back("all:" + n.name); });
  center.post("Ping", &senderB);
  center.post("Pong", &senderA);
  center.post("Ping", &senderA);
  EXPECT_EQ(seen,
            (std::vector<std::string>{"any:Ping", "all:Ping", "any:Pong", "any:Ping", "A:Ping", "all:Ping"}));
}

TEST_F(Notifications, UserInfoValuesAreReadByTypeAndMissingOrMistypedOnesAreAbsent) {
  Notification notification{"Activated", nullptr, {{"pid", 42}, {"name", std::string("Editor")}}};
  EXPECT_EQ(notification.userInfoValue<int>("pid"), 42);
  EXPECT_EQ(notification.userInfoValue<std::string>("name"), "Editor");
  EXPECT_EQ(notification.userInfoValue<std::string>("pid"), std::nullopt);
  EXPECT_EQ(notification.userInfoValue<int>("missing"), std::nullopt);
}

TEST_F(Notifications, ARemovedOrReleasedTokenStopsDelivery) {
  NotificationCenter center;
  int explicitRemoved = 0;
  int released = 0;
  int kept = 0;
  auto removed =
      center.addObserver("Tick", nullptr, nullptr, [&](const Notification&) { ++explicitRemoved; });
  auto keptToken = center.addObserver("Tick", nullptr, nullptr, [&](const Notification&) { ++kept; });
  {
    auto scoped = center.addObserver("Tick", nullptr, nullptr, [&](const Notification&) { ++released; });
    center.post("Tick");
  }
  center.removeObserver(removed);
  EXPECT_FALSE(removed.isActive());
  center.post("Tick");
  EXPECT_EQ(explicitRemoved, 1);
  EXPECT_EQ(released, 1);
  EXPECT_EQ(kept, 2);
  EXPECT_EQ(center.observerCount(), 1u);
}

TEST_F(Notifications, ATokenRemovedBeforeAQueuedDeliveryRunsReceivesNothing) {
  NotificationCenter center;
  int received = 0;
  auto token = center.addObserver("Tick", nullptr, &loop, [&](const Notification&) { ++received; });
  center.post("Tick");
  token.remove();
  loop.runUntilIdle();
  EXPECT_EQ(received, 0);
}

TEST_F(Notifications, ObserversAddedOrRemovedDuringDeliveryAreSafe) {
  NotificationCenter center;
  std::vector<std::string> seen;
  ObserverToken second;
  ObserverToken added;
  ObserverToken first = center.addObserver("Go", nullptr, nullptr, [&](const Notification&) {
    seen.push_back("first");
    first.remove();   // itself
    second.remove();  // an observer later in this delivery
    added = center.addObserver("Go", nullptr, nullptr, [&](const Notification&) { seen.push_back("added"); });
  });
  second = center.addObserver("Go", nullptr, nullptr, [&](const Notification&) { seen.push_back("second"); });
  center.post("Go");
  EXPECT_EQ(seen, (std::vector<std::string>{"first"}));
  center.post("Go");
  EXPECT_EQ(seen, (std::vector<std::string>{"first", "added"}));
}

TEST_F(Notifications, PostingAndObservingFromTwoThreadsLosesNothing) {
  NotificationCenter center;
  std::atomic<int> received{0};
  auto token = center.addObserver("Count", nullptr, nullptr, [&](const Notification&) { ++received; });
  auto churn = [&] {
    for (int n = 0; n < 200; ++n) {
      auto temporary = center.addObserver("Other", nullptr, nullptr, [](const Notification&) {});
      center.post("Count");
    }
  };
  std::thread a(churn);
  std::thread b(churn);
  a.join();
  b.join();
  EXPECT_EQ(received, 400);
  EXPECT_EQ(center.observerCount(), 1u);
}

TEST(NotificationCenterDefault, IsOneSharedCentre) {
  EXPECT_EQ(&NotificationCenter::defaultCenter(), &NotificationCenter::defaultCenter());
}

}  // namespace
