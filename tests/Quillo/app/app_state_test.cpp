// The app-wide state: the loaded conversation saved back after a quiet half second, and a new chat
// client for every stored API key.
#include "Quillo/app/app_state.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Quillo/chat_model/settings_keys.h"
#include "platform/foundation/log.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "settings_store/observation.h"
#include "tests/Quillo/app/app_world.h"

namespace {

using Quillo::AppState;
using Quillo::Conversation;
using Quillo::Message;
using Quillo::Role;

class AppStateTest : public ::testing::Test {
 protected:
  void SetUp() override { apptest::emptyStandardSuite(); }

  // The conversations written to the settings, in order.
  void watchWrites() {
    writes_ = std::make_shared<std::vector<Conversation>>();
    auto writes = writes_;
    observation_ = Defaults::observeChanges(
        Quillo::Keys::mainConversations(), {},
        [writes](const Defaults::KeyChange<Conversation>& change) { writes->push_back(change.newValue); });
  }
  const std::vector<Conversation>& writes() const { return *writes_; }

  // The host gives the test a main queue and a manual clock.
  ui::testing::Host host_{ui::EmptyView()};

 private:
  std::shared_ptr<std::vector<Conversation>> writes_ = std::make_shared<std::vector<Conversation>>();
  std::shared_ptr<Defaults::UserDefaultsKeyObservation> observation_;
};

Conversation conversationWith(std::vector<std::string> texts) {
  Conversation conversation;
  conversation.title = "Saved";
  for (auto& text : texts) conversation.messages.emplace_back(Role::user, std::move(text));
  return conversation;
}

TEST_F(AppStateTest, StartsWithTheStoredConversationAndSavesItBackOnceAfterHalfASecond) {
  Defaults::set(Quillo::Keys::mainConversations(), conversationWith({"hello"}));
  watchWrites();
  auto state = AppState::make();
  EXPECT_FALSE(state->isAccessibilityGranted.get());
  EXPECT_EQ(state->mainConversations.get().title, "Saved");
  ASSERT_EQ(state->mainConversations.get().messages.size(), 1u);
  EXPECT_EQ(state->mainConversations.get().messages[0].content, "hello");

  host_.advance(0.49);
  EXPECT_TRUE(writes().empty());
  host_.advance(0.01);
  ASSERT_EQ(writes().size(), 1u);
  EXPECT_EQ(writes()[0].messages[0].content, "hello");
}

TEST_F(AppStateTest, ABurstOfChangesIsWrittenOnceWithTheLastValueHalfASecondAfterTheLastChange) {
  auto state = AppState::make();
  host_.advance(0.5);  // the write-back of the loaded conversation
  watchWrites();

  for (const char* text : {"one", "two", "three"}) {
    auto conversation = state->mainConversations.get();
    conversation.messages.emplace_back(Role::user, text);
    state->mainConversations.set(conversation);
    host_.advance(0.2);
  }
  EXPECT_TRUE(writes().empty());
  host_.advance(0.29);
  EXPECT_TRUE(writes().empty());
  host_.advance(0.01);
  ASSERT_EQ(writes().size(), 1u);
  ASSERT_EQ(writes()[0].messages.size(), 3u);
  EXPECT_EQ(writes()[0].messages[2].content, "three");
  EXPECT_EQ(Defaults::get(Quillo::Keys::mainConversations()).messages.size(), 3u);
}

TEST_F(AppStateTest, ConstructionLogsTheStoredKeyOnceAndUsesIt) {
  struct Case {
    std::string storedKey;
    std::string line;
  };
  const Case cases[] = {
      {"", "store: "},
      {"sk-abcdefghijklmnop", "store: " + foundation::redactedSecret("sk-abcdefghijklmnop")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.storedKey);
    Defaults::set(Quillo::Keys::apiKey(), c.storedKey);
    foundation::LogCapture log;
    auto state = AppState::make();
    int storeLines = 0;
    for (const auto& line : log.lines()) storeLines += line.rfind("store: ", 0) == 0 ? 1 : 0;
    EXPECT_EQ(storeLines, 1);
    EXPECT_TRUE(log.contains(c.line));
    EXPECT_EQ(state->api.get()->apiKey(), c.storedKey);
  }
}

TEST_F(AppStateTest, TheWholeKeyNeverReachesTheLog) {
  const std::string key = "sk-secret-0123456789-secret";
  Defaults::set(Quillo::Keys::apiKey(), key);
  foundation::LogCapture log;
  auto state = AppState::make();
  for (const auto& line : log.lines()) EXPECT_EQ(line.find(key), std::string::npos) << line;
}

TEST_F(AppStateTest, ANewStoredKeyGivesANewClientWithAnEmptyHistoryAndKeepsTheConversation) {
  auto state = AppState::make();
  auto conversation = conversationWith({"keep me"});
  state->mainConversations.set(conversation);
  auto oldClient = state->api.get();
  oldClient->setHistoryList({Message(Role::user, "q"), Message(Role::assistant, "a")});
  int announcements = 0;
  auto watch = state->objectWillChange.sink([&] { ++announcements; });

  foundation::LogCapture log;
  Defaults::set(Quillo::Keys::apiKey(), "sk-new-key-000000");
  EXPECT_TRUE(log.contains("store: " + foundation::redactedSecret("sk-new-key-000000")));
  EXPECT_NE(state->api.get(), oldClient);
  EXPECT_EQ(state->api.get()->apiKey(), "sk-new-key-000000");
  EXPECT_TRUE(state->api.get()->historyList().empty());
  EXPECT_EQ(state->mainConversations.get(), conversation);
  EXPECT_EQ(announcements, 1);
}

TEST_F(AppStateTest, AKeyWrittenOnAnotherThreadReachesTheClientOnTheMainQueue) {
  auto state = AppState::make();
  auto before = state->api.get();
  std::thread writer([] { Defaults::set(Quillo::Keys::apiKey(), "sk-from-a-worker-1234"); });
  EXPECT_NE(state->api.get(), nullptr);  // the main thread reads while the worker writes
  writer.join();
  EXPECT_EQ(state->api.get(), before);  // not yet: the change waits on the main queue
  host_.settle();
  EXPECT_EQ(state->api.get()->apiKey(), "sk-from-a-worker-1234");
}

TEST_F(AppStateTest, AReleasedStateIsFreedAndStoresAChangeStillWaitingForItsQuietTime) {
  std::weak_ptr<AppState> weak;
  {
    auto state = AppState::make();
    weak = state;
    state->mainConversations.set(conversationWith({"last words"}));
  }
  EXPECT_TRUE(weak.expired());
  auto stored = Defaults::get(Quillo::Keys::mainConversations());
  ASSERT_EQ(stored.messages.size(), 1u);
  EXPECT_EQ(stored.messages[0].content, "last words");
}

}  // namespace
