#include "platform/appkit/global_event_monitor.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/desktop/headless_desktop.h"
#include "platform/events/keyboard_event.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace appkit {
namespace {

using desktop::InputEvent;

constexpr EventTypeMask kKeysAndClicks{1034};

struct MonitorWorld {
  desktop::HeadlessDesktop desktop;
  desktop::HeadlessDesktop::Scope scope{desktop};
  foundation::ScopedMainRunLoop loop;
  foundation::LogCapture log;
};

TEST(GlobalEventMonitor, HandsTheUsersEventsOfItsTypesToTheMainQueue) {
  MonitorWorld world;
  std::vector<EventType> seen;
  const auto monitor = GlobalEventMonitor::add(kKeysAndClicks, [&](const Event& event) {
    EXPECT_TRUE(foundation::isMainThread());
    seen.push_back(event.type());
  });
  ASSERT_TRUE(monitor);
  world.desktop.injectEvent(InputEvent::key("keyDown", 36, 0x20000));
  world.desktop.injectEvent(InputEvent::key("keyUp", 36, 0x20000));
  world.desktop.injectEvent(InputEvent::pointer("mouseDown", {1, 2}));
  world.desktop.injectEvent(InputEvent::pointer("leftMouseUp", {1, 2}));
  world.desktop.injectEvent(InputEvent::pointer("rightMouseDown", {1, 2}));
  world.desktop.injectEvent(InputEvent::key("somethingElse", 0));
  EXPECT_TRUE(seen.empty());  // delivered on the main queue, not on the injecting call

  world.loop.loop().runUntilIdle();
  EXPECT_EQ(seen, (std::vector<EventType>{EventType::keyDown, EventType::leftMouseDown,
                                          EventType::rightMouseDown}));
}

TEST(GlobalEventMonitor, NeverSeesWhatThisProgramPosts) {
  MonitorWorld world;
  const int pid = world.desktop.launchApplication("com.apple.TextEdit", "TextEdit").processIdentifier;
  int seen = 0;
  const auto monitor = GlobalEventMonitor::add(kKeysAndClicks, [&](const Event&) { ++seen; });
  InputEvent posted = InputEvent::key("keyDown", 0, 0, "x");
  posted.origin = InputEvent::Origin::postedByApplication;
  world.desktop.postEvent(posted);
  events::KeyboardEvent::create(0, true)->postToPid(pid);
  world.loop.loop().runUntilIdle();
  EXPECT_EQ(seen, 0);
}

TEST(GlobalEventMonitor, AfterRemovalNothingMoreIsHandledEvenWhatWasQueued) {
  MonitorWorld world;
  int seen = 0;
  const auto monitor = GlobalEventMonitor::add(kKeysAndClicks, [&](const Event&) { ++seen; });
  EXPECT_EQ(GlobalEventMonitor::activeCount(), 1u);
  world.desktop.injectEvent(InputEvent::key("keyDown", 1));
  monitor->remove();
  monitor->remove();
  EXPECT_FALSE(monitor->isActive());
  EXPECT_EQ(GlobalEventMonitor::activeCount(), 0u);
  world.desktop.injectEvent(InputEvent::key("keyDown", 2));
  world.loop.loop().runUntilIdle();
  EXPECT_EQ(seen, 0);
}

TEST(GlobalEventMonitor, ReleasingTheLastHandleRemovesIt) {
  MonitorWorld world;
  int seen = 0;
  GlobalEventMonitor::add(kKeysAndClicks, [&](const Event&) { ++seen; });
  EXPECT_EQ(GlobalEventMonitor::activeCount(), 0u);
  world.desktop.injectEvent(InputEvent::key("keyDown", 1));
  world.loop.loop().runUntilIdle();
  EXPECT_EQ(seen, 0);
}

TEST(GlobalEventMonitor, AFailingHandlerIsLoggedAndTheMonitorCarriesOn) {
  MonitorWorld world;
  int seen = 0;
  const auto monitor = GlobalEventMonitor::add(kKeysAndClicks, [&](const Event&) {
    if (++seen == 1) throw std::runtime_error("boom");
  });
  world.desktop.injectEvent(InputEvent::key("keyDown", 1));
  world.desktop.injectEvent(InputEvent::key("keyDown", 2));
  world.loop.loop().runUntilIdle();
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(world.log.lines(), std::vector<std::string>{"Global event monitor handler failed: boom"});
}

TEST(GlobalEventMonitor, NeedsADesktop) {
  foundation::ScopedMainRunLoop loop;
  EXPECT_FALSE(GlobalEventMonitor::add(kKeysAndClicks, [](const Event&) {}));
}

TEST(GlobalEventMonitor, EventsFromAnotherThreadWhileTheMainThreadRemovesTheMonitor) {
  MonitorWorld world;
  int seen = 0;
  const auto monitor = GlobalEventMonitor::add(kKeysAndClicks, [&](const Event&) { ++seen; });
  std::thread user([&] {
    for (int i = 0; i < 200; ++i) world.desktop.injectEvent(InputEvent::key("keyDown", 1));
  });
  world.loop.loop().runUntilIdle();
  monitor->remove();
  const int seenAtRemoval = seen;
  user.join();
  world.loop.loop().runUntilIdle();
  EXPECT_EQ(seen, seenAtRemoval);
  EXPECT_LE(seen, 200);
}

}  // namespace
}  // namespace appkit
