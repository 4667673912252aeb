#include "Quillo/chat_model/conversation.h"

#include <gtest/gtest.h>

#include "platform/foundation/json_text.h"
#include "platform/foundation/text_error.h"

using namespace Quillo;

namespace {
Conversation roundTrip(const Conversation& conversation) {
  foundation::Json json = conversation;
  return foundation::parseJson(foundation::jsonText(json)).get<Conversation>();
}
}  // namespace

TEST(StoredConversation, KeepsItsIdTitlePromptAndMessageTexts) {
  Conversation written(foundation::UUID(), {Message(Role::user, "Hi"), Message(Role::assistant, "Hello!")},
                       "ChatGPT", "Be nice");
  Conversation read = roundTrip(written);
  EXPECT_EQ(read.id, written.id);
  EXPECT_EQ(read.title, "ChatGPT");
  EXPECT_EQ(read.prompt, "Be nice");
  ASSERT_EQ(read.messages.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(read.messages[i].role, written.messages[i].role);
    EXPECT_EQ(read.messages[i].content, written.messages[i].content);
    EXPECT_NE(read.messages[i].id, written.messages[i].id);
  }
  EXPECT_NE(read, written);  // every message got a new id

  Conversation empty(foundation::UUID(), {}, "", defaultConversationPrompt);
  EXPECT_EQ(roundTrip(empty), empty);
  EXPECT_EQ(std::hash<Conversation>{}(roundTrip(empty)), std::hash<Conversation>{}(empty));
}

TEST(StoredConversation, WritesTheCanonicalIdAndFourKeys) {
  auto id = foundation::UUID::parse("0f1e2d3c-4b5a-4697-8877-665544332211");
  ASSERT_TRUE(id);
  foundation::Json json = Conversation(*id, {Message(Role::user, "Hi")}, "T", "P");
  EXPECT_EQ(json, foundation::parseJson(R"({"id":"0F1E2D3C-4B5A-4697-8877-665544332211",
      "messages":[{"role":"user","content":"Hi"}],"title":"T","prompt":"P"})"));
}

TEST(StoredConversation, OrderOfMessagesMatters) {
  Message a(Role::user, "a"), b(Role::assistant, "b");
  foundation::UUID id;
  EXPECT_NE(Conversation(id, {a, b}, "", ""), Conversation(id, {b, a}, "", ""));
  EXPECT_EQ(Conversation(id, {a, b}, "t", "p"), Conversation(id, {a, b}, "t", "p"));
}

TEST(StoredConversation, IncompleteOrInvalidTextsDoNotDecode) {
  const char* const texts[] = {
      R"({"id":"0F1E2D3C-4B5A-4697-8877-665544332211","messages":[],"prompt":"P"})",
      R"({"id":"0F1E2D3C-4B5A-4697-8877-665544332211","messages":[],"title":null,"prompt":"P"})",
      R"({"messages":[],"title":"T","prompt":"P"})",
      R"({"id":"not a uuid","messages":[],"title":"T","prompt":"P"})",
      R"({"id":"0F1E2D3C-4B5A-4697-8877-665544332211","messages":[{"role":"robot","content":"x"}],"title":"T","prompt":"P"})",
      R"({"id":"0F1E2D3C-4B5A-4697-8877-665544332211","messages":{},"title":"T","prompt":"P"})",
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    EXPECT_THROW(foundation::parseJson(text).get<Conversation>(), foundation::TextError);
  }
}
