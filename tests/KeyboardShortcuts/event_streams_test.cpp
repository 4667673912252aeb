// A name's hot key followed as asynchronous streams of events.
#include "KeyboardShortcuts/event_streams.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "KeyboardShortcuts/registry.h"
#include "hot_key_fixture.h"

namespace {

using KeyboardShortcuts::EventType;
using KeyboardShortcuts::Name;
using KeyboardShortcuts::Shortcut;

const Shortcut kCommandShiftK(40, 0x300);
constexpr auto kDown = EventType::keyDown;
constexpr auto kUp = EventType::keyUp;

// What one consumer of a stream has received, delivered on the main queue.
template <class T>
struct Listener {
  explicit Listener(const concurrency::AsyncStream<T>& stream)
      : seen(std::make_shared<std::vector<T>>()),
        handle(stream.forEachOnMain([seen = seen](T value) { seen->push_back(value); })) {}
  void stop() const { handle.cancel(); }
  std::shared_ptr<std::vector<T>> seen;
  concurrency::AnyCancellable handle;
};

class EventStreams : public HotKeyTest {
 protected:
  EventStreams() { KeyboardShortcuts::storeShortcut(kCommandShiftK, name_); }
  void pressAndRelease() {
    press(kCommandShiftK);
    release(kCommandShiftK);
    runMainQueue();
  }
  bool isRegistered() const { return !registeredIds(kCommandShiftK).empty(); }
  const Name name_{"openChat"};
};

TEST_F(EventStreams, AStreamYieldsPressesAndReleases) {
  Listener listener(KeyboardShortcuts::shortcutEventStream(name_));
  runMainQueue();
  EXPECT_EQ(KeyboardShortcuts::streamHandlerCount(kDown, name_), 1u);
  EXPECT_EQ(KeyboardShortcuts::streamHandlerCount(kUp, name_), 1u);
  EXPECT_EQ(KeyboardShortcuts::shortcutsWithStreamHandlers(), std::unordered_set<Shortcut>{kCommandShiftK});
  pressAndRelease();
  pressAndRelease();
  EXPECT_EQ(*listener.seen, (std::vector<EventType>{kDown, kUp, kDown, kUp}));
}

TEST_F(EventStreams, EntriesAreAddedOnTheNextMainQueueTurn) {
  Listener listener(KeyboardShortcuts::shortcutEventStream(name_));
  EXPECT_EQ(KeyboardShortcuts::streamHandlerCount(kDown, name_), 0u);
  press(kCommandShiftK);  // before the entries exist: not seen
  runMainQueue();
  release(kCommandShiftK);
  runMainQueue();
  EXPECT_EQ(*listener.seen, std::vector<EventType>{kUp});
}

TEST_F(EventStreams, TwoStreamsOfOneNameBothReceiveAndEndApart) {
  Listener first(KeyboardShortcuts::shortcutEventStream(name_));
  Listener second(KeyboardShortcuts::shortcutEventStream(name_));
  runMainQueue();
  pressAndRelease();
  EXPECT_EQ(*first.seen, (std::vector<EventType>{kDown, kUp}));
  EXPECT_EQ(*second.seen, (std::vector<EventType>{kDown, kUp}));

  first.stop();
  runMainQueue();
  EXPECT_EQ(KeyboardShortcuts::streamHandlerCount(kDown, name_), 1u);
  EXPECT_TRUE(isRegistered());
  pressAndRelease();
  EXPECT_EQ(first.seen->size(), 2u);
  EXPECT_EQ(second.seen->size(), 4u);
}

TEST_F(EventStreams, EndingTheLastStreamUnregistersTheHotKey) {
  Listener listener(KeyboardShortcuts::shortcutEventStream(name_));
  runMainQueue();
  listener.stop();
  EXPECT_TRUE(isRegistered());  // the removal waits for the main queue
  runMainQueue();
  EXPECT_EQ(KeyboardShortcuts::streamHandlerCount(kDown, name_), 0u);
  EXPECT_EQ(KeyboardShortcuts::streamHandlerCount(kUp, name_), 0u);
  EXPECT_FALSE(isRegistered());
  EXPECT_FALSE(KeyboardShortcuts::registeredShortcuts().contains(kCommandShiftK));
}

TEST_F(EventStreams, APlainActionKeepsTheHotKeyAfterTheLastStream) {
  int releases = 0;
  KeyboardShortcuts::addKeyUpHandler(name_, [&] { ++releases; });
  Listener listener(KeyboardShortcuts::shortcutEventStream(name_));
  runMainQueue();
  listener.stop();
  runMainQueue();
  EXPECT_TRUE(isRegistered());
  pressAndRelease();
  EXPECT_EQ(releases, 1);
}

TEST_F(EventStreams, AnotherNameWithTheSameShortcutKeepsTheHotKey) {
  const Name other("showSidebar");
  KeyboardShortcuts::storeShortcut(kCommandShiftK, other);
  Listener mine(KeyboardShortcuts::shortcutEventStream(name_));
  Listener theirs(KeyboardShortcuts::shortcutEventStream(other));
  runMainQueue();
  mine.stop();
  runMainQueue();
  EXPECT_TRUE(isRegistered());
  pressAndRelease();
  EXPECT_EQ(*theirs.seen, (std::vector<EventType>{kDown, kUp}));
}

TEST_F(EventStreams, ReleasingTheStreamEndsIt) {
  {
    auto stream = KeyboardShortcuts::shortcutEventStream(name_);
    runMainQueue();
    EXPECT_EQ(KeyboardShortcuts::streamHandlerCount(kDown, name_), 1u);
  }
  runMainQueue();
  EXPECT_EQ(KeyboardShortcuts::streamHandlerCount(kDown, name_), 0u);
  EXPECT_FALSE(isRegistered());
}

TEST_F(EventStreams, AStreamEndedBeforeItsEntriesWereAddedLeavesNothing) {
  Listener listener(KeyboardShortcuts::shortcutEventStream(name_));
  listener.stop();
  runMainQueue();
  EXPECT_EQ(KeyboardShortcuts::streamHandlerCount(kDown, name_), 0u);
  EXPECT_FALSE(isRegistered());
}

TEST_F(EventStreams, ANameWithoutShortcutYieldsOnceOneIsStored) {
  const Name fresh("showSpotlight");
  Listener listener(KeyboardShortcuts::shortcutEventStream(fresh));
  runMainQueue();
  const Shortcut f5(96, 0);
  EXPECT_TRUE(press(f5).empty());
  KeyboardShortcuts::storeShortcut(f5, fresh);
  press(f5);
  release(f5);
  runMainQueue();
  EXPECT_EQ(*listener.seen, (std::vector<EventType>{kDown, kUp}));
}

TEST_F(EventStreams, PausedStreamsReceiveNothing) {
  Listener listener(KeyboardShortcuts::shortcutEventStream(name_));
  runMainQueue();
  KeyboardShortcuts::setPaused(true);
  pressAndRelease();
  KeyboardShortcuts::setPaused(false);
  runMainQueue();
  EXPECT_TRUE(listener.seen->empty());
}

TEST_F(EventStreams, FilteredStreamsPassOnOneType) {
  Listener releases(KeyboardShortcuts::filteredEventStream(kUp, name_));
  Listener presses(KeyboardShortcuts::filteredEventStream(kDown, name_));
  runMainQueue();
  pressAndRelease();
  pressAndRelease();
  EXPECT_EQ(*releases.seen, (std::vector<EventType>{kUp, kUp}));
  EXPECT_EQ(*presses.seen, (std::vector<EventType>{kDown, kDown}));
}

TEST_F(EventStreams, SignalStreamsAddTheirEntryAtOnce) {
  Listener signals(KeyboardShortcuts::eventSignalStream(kDown, name_));
  EXPECT_EQ(KeyboardShortcuts::streamHandlerCount(kDown, name_), 1u);
  EXPECT_EQ(KeyboardShortcuts::streamHandlerCount(kUp, name_), 0u);
  pressAndRelease();
  pressAndRelease();
  EXPECT_EQ(signals.seen->size(), 2u);

  signals.stop();
  EXPECT_EQ(KeyboardShortcuts::streamHandlerCount(kDown, name_), 1u);  // removed on the main queue
  runMainQueue();
  EXPECT_EQ(KeyboardShortcuts::streamHandlerCount(kDown, name_), 0u);
  EXPECT_FALSE(isRegistered());
}

TEST_F(EventStreams, RemovingAllHandlersSilencesStreamsUntilRegisteredAgain) {
  Listener listener(KeyboardShortcuts::shortcutEventStream(name_));
  runMainQueue();
  KeyboardShortcuts::removeAllHandlers();
  EXPECT_FALSE(isRegistered());
  EXPECT_EQ(KeyboardShortcuts::streamHandlerCount(kDown, name_), 1u);  // the stream's entries stay
  EXPECT_TRUE(press(kCommandShiftK).empty());
  KeyboardShortcuts::registerName(name_);
  pressAndRelease();
  EXPECT_EQ(*listener.seen, (std::vector<EventType>{kDown, kUp}));
}

TEST_F(EventStreams, AStreamMadeOnAnotherThreadAddsItsEntriesOnTheMainQueue) {
  std::optional<concurrency::AsyncStream<EventType>> stream;
  std::thread other([&] { stream = KeyboardShortcuts::shortcutEventStream(name_); });
  other.join();
  Listener listener(*stream);
  runMainQueue();
  pressAndRelease();
  EXPECT_EQ(*listener.seen, (std::vector<EventType>{kDown, kUp}));
}

using EventStreamsDeathTest = EventStreams;

TEST_F(EventStreamsDeathTest, SignalStreamsAreMadeOnTheMainThreadOnly) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        std::thread other([&] { auto stream = KeyboardShortcuts::eventSignalStream(kDown, name_); });
        other.join();
      },
      "");
}

}  // namespace
