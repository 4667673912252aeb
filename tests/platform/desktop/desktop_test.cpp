// The installed desktop: found through one function, installed for a scope, never found once it is gone.
#include "platform/desktop/desktop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "platform/desktop/headless_desktop.h"

namespace desktop {
namespace {

TEST(Desktop, IsInstalledForAScopeAndScopesNest) {
  EXPECT_EQ(Desktop::current(), nullptr);
  HeadlessDesktop outer;
  {
    Desktop::Scope outerScope(outer);
    EXPECT_EQ(Desktop::current(), &outer);
    {
      HeadlessDesktop inner;
      Desktop::Scope innerScope(inner);
      EXPECT_EQ(Desktop::current(), &inner);
    }
    EXPECT_EQ(Desktop::current(), &outer);
  }
  EXPECT_EQ(Desktop::current(), nullptr);
}

TEST(Desktop, ADesktopThatEndsWhileInstalledIsNoLongerFound) {
  auto desktop = std::make_unique<HeadlessDesktop>();
  Desktop::Scope scope(*desktop);
  ASSERT_EQ(Desktop::current(), desktop.get());
  desktop.reset();
  EXPECT_EQ(Desktop::current(), nullptr);
}

TEST(Desktop, AnotherThreadFindsOnlyWholeInstalledDesktops) {
  HeadlessDesktop first;
  HeadlessDesktop second;
  std::atomic<bool> isDone{false};
  std::atomic<int> strangers{0};
  std::thread reader([&] {
    while (!isDone) {
      const Desktop* found = Desktop::current();
      if (found != nullptr && found != &first && found != &second) ++strangers;
    }
  });
  for (int i = 0; i < 2000; ++i) {
    Desktop::Scope outer(first);
    Desktop::Scope inner(second);
  }
  isDone = true;
  reader.join();
  EXPECT_EQ(strangers, 0);
  EXPECT_EQ(Desktop::current(), nullptr);
}

}  // namespace
}  // namespace desktop
