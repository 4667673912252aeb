#include "platform/desktop/observer_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using desktop::ObserverList;

TEST(ObserverList, TellsTheObserversInTheOrderAddedUntilRemoved) {
  ObserverList<int> list;
  std::vector<int> heard;
  const auto first = list.add([&](int value) { heard.push_back(value); });
  list.add([&](int value) { heard.push_back(value * 10); });
  list.notify(1);
  list.remove(first);
  list.remove(first);  // a second removal does nothing
  list.notify(2);
  EXPECT_EQ(heard, (std::vector<int>{1, 10, 20}));
}

TEST(ObserverList, AnObserverMayRemoveItselfAndAddOthersWhileBeingTold) {
  ObserverList<int> list;
  int heard = 0;
  std::size_t self = 0;
  self = list.add([&](int) {
    ++heard;
    list.remove(self);
    list.add([&](int) { heard += 100; });
  });
  list.notify(0);  // the observer added meanwhile is told from the next time on
  list.notify(0);
  EXPECT_EQ(heard, 101);
}

TEST(ObserverList, ObserversAddedAndToldFromTwoThreadsAtOnce) {
  ObserverList<int> list;
  std::atomic<int> heard{0};
  std::thread other([&] {
    for (int i = 0; i < 200; ++i) list.remove(list.add([&](int) { ++heard; }));
  });
  list.add([&](int value) { heard += value; });
  for (int i = 0; i < 200; ++i) list.notify(1000);
  other.join();
  EXPECT_GE(heard.load(), 200000);
}

}  // namespace
