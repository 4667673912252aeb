#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <unordered_set>

#include "Quillo/chat_model/chat_completion_records.h"
#include "Quillo/chat_model/message.h"
#include "Quillo/chat_model/model.h"
#include "Quillo/chat_model/role.h"
#include "platform/foundation/json_text.h"
#include "platform/foundation/text_error.h"

using namespace Quillo;

TEST(ChatMessage, DecodingGivesAFreshIdEachTime) {
  const std::string text = R"({"role": "user", "content": "Hi"})";
  foundation::Json json = foundation::parseJson(text);
  Message first = json.get<Message>();
  Message second = json.get<Message>();
  EXPECT_EQ(first.role, Role::user);
  EXPECT_EQ(first.content, "Hi");
  EXPECT_EQ(second.content, "Hi");
  EXPECT_NE(first.id, second.id);
  EXPECT_NE(first, second);
}

TEST(ChatMessage, EqualityAndHashIncludeTheId) {
  Message a(Role::assistant, "same");
  Message b(Role::assistant, "same");
  EXPECT_NE(a, b);
  Message copy = a;
  EXPECT_EQ(copy, a);
  EXPECT_EQ(std::hash<Message>{}(copy), std::hash<Message>{}(a));
  std::unordered_set<Message> set = {a, b, copy};
  EXPECT_EQ(set.size(), 2u);
}

TEST(ChatMessage, EncodesExactlyRoleAndContent) {
  foundation::Json json = Message(Role::system, "Be brief");
  EXPECT_EQ(foundation::jsonText(json), R"({"role":"system","content":"Be brief"})");
}

TEST(ChatMessage, RolesAndModelsComeFromTheirRawValues) {
  EXPECT_EQ(fromRawValue(std::type_identity<Role>{}, "assistant"), Role::assistant);
  EXPECT_EQ(fromRawValue(std::type_identity<Role>{}, "Assistant"), std::nullopt);
  const char* const wireNames[] = {
      "gpt-3.5-turbo", "gpt-3.5-turbo-0301", "gpt-3.5-turbo-1106", "gpt-3.5-turbo-16k",
      "gpt-4",         "gpt-4-1106-preview", "gpt-4-0125-preview"};
  const char* const displayNames[] = {
      "GPT-3.5-turbo", "GPT-3.5-turbo-0301", "GPT-3.5-turbo-1106",  "GPT-3.5 16k",
      "GPT-4",         "GPT-4 Turbo",        "GPT-4 (0125 Preview)"};
  for (std::size_t i = 0; i < allModels.size(); ++i) {
    SCOPED_TRACE(wireNames[i]);
    EXPECT_EQ(rawValue(allModels[i]), wireNames[i]);
    EXPECT_EQ(displayName(allModels[i]), displayNames[i]);
    EXPECT_EQ(fromRawValue(std::type_identity<Model>{}, wireNames[i]), allModels[i]);
  }
  EXPECT_EQ(fromRawValue(std::type_identity<Model>{}, "gpt-5"), std::nullopt);
  EXPECT_EQ(foundation::parseJson(R"("gpt-4")").get<Model>(), Model::gpt4);
  EXPECT_THROW(foundation::parseJson(R"("gpt-5")").get<Model>(), foundation::TextError);
}

TEST(ChatRecords, DecodesRepliesOrRejectsThemWhole) {
  struct Case {
    const char* name;
    const char* json;
    bool decodes;
  };
  const Case completions[] = {
      {"full reply",
       R"({"id":"x","choices":[{"index":0,"finish_reason":"stop","message":{"role":"assistant","content":"Hello"}}],
           "usage":{"prompt_tokens":5,"completion_tokens":1,"total_tokens":6}})",
       true},
      {"usage absent", R"({"choices":[{"message":{"role":"assistant","content":"Hello"}}]})", true},
      {"usage null", R"({"choices":[],"usage":null})", true},
      {"finish_reason null", R"({"choices":[{"finish_reason":null,"message":{"role":"user","content":""}}]})",
       true},
      {"empty choices", R"({"choices":[]})", true},
      {"no choices", R"({"usage":{}})", false},
      {"choices null", R"({"choices":null})", false},
      {"bad role", R"({"choices":[{"message":{"role":"tool","content":"x"}}]})", false},
      {"bad role in second choice",
       R"({"choices":[{"message":{"role":"user","content":"x"}},{"message":{"role":"bot","content":"y"}}]})",
       false},
      {"content not a string", R"({"choices":[{"message":{"role":"user","content":7}}]})", false},
      {"usage of the wrong kind", R"({"choices":[],"usage":{"total_tokens":"6"}})", false},
      {"not JSON", R"({"choices":[)", false},
      {"not an object", R"([1,2])", false},
  };
  for (const auto& c : completions) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(decodedRecordIfValid<CompletionResponse>(c.json).has_value(), c.decodes);
  }
  const Case chunks[] = {
      {"content", R"({"choices":[{"delta":{"content":"Hel"},"finish_reason":null}]})", true},
      {"only role", R"({"choices":[{"delta":{"role":"assistant"}}]})", true},
      {"free role text", R"({"choices":[{"delta":{"role":"whoever"}}]})", true},
      {"empty choices", R"({"choices":[]})", true},
      {"no delta", R"({"choices":[{"finish_reason":"stop"}]})", false},
      {"end marker", "[DONE]", false},
  };
  for (const auto& c : chunks) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(decodedRecordIfValid<StreamCompletionResponse>(c.json).has_value(), c.decodes);
  }
  const Case errors[] = {
      {"message and type", R"({"error":{"message":"No key","type":"invalid_request_error","code":null}})",
       true},
      {"without type", R"({"error":{"message":"No key"}})", true},
      {"type null", R"({"error":{"message":"No key","type":null}})", true},
      {"without message", R"({"error":{"type":"x"}})", false},
      {"without error", R"({"message":"No key"})", false},
  };
  for (const auto& c : errors) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(decodedRecordIfValid<ErrorRootResponse>(c.json).has_value(), c.decodes);
  }
}

TEST(ChatRecords, DecodedRepliesCarryTheirValues) {
  auto reply = decodedRecord<CompletionResponse>(
      R"({"choices":[{"finish_reason":"stop","message":{"role":"assistant","content":"Hello"}}],
          "usage":{"prompt_tokens":5,"total_tokens":null}})");
  ASSERT_EQ(reply.choices.size(), 1u);
  EXPECT_EQ(reply.choices[0].finishReason, "stop");
  EXPECT_EQ(reply.choices[0].message.role, Role::assistant);
  EXPECT_EQ(reply.choices[0].message.content, "Hello");
  ASSERT_TRUE(reply.usage.has_value());
  EXPECT_EQ(reply.usage->promptTokens, 5);
  EXPECT_EQ(reply.usage->completionTokens, std::nullopt);
  EXPECT_EQ(reply.usage->totalTokens, std::nullopt);

  auto onlyRole = decodedRecord<StreamCompletionResponse>(R"({"choices":[{"delta":{"role":"assistant"}}]})");
  EXPECT_EQ(onlyRole.choices[0].delta.content, std::nullopt);
  EXPECT_EQ(onlyRole.choices[0].delta.role, "assistant");
  auto empty = decodedRecord<StreamCompletionResponse>(R"({"choices":[{"delta":{"content":""}}]})");
  EXPECT_EQ(empty.choices[0].delta.content, "");

  auto error = decodedRecord<ErrorRootResponse>(R"({"error":{"message":"Incorrect API key"}})");
  EXPECT_EQ(error.error.message, "Incorrect API key");
  EXPECT_EQ(error.error.type, std::nullopt);
}

TEST(ChatRecords, EncodesTheRequestBody) {
  Request request{Model::gpt4, 0.5, {Message(Role::system, "Be brief"), Message(Role::user, "Hi")}, true};
  // The order of keys carries no meaning: compare as unordered JSON.
  nlohmann::json json = nlohmann::json::parse(encodedRequest(request));
  EXPECT_EQ(json, nlohmann::json::parse(R"({"model":"gpt-4","temperature":0.5,"stream":true,
      "messages":[{"role":"system","content":"Be brief"},{"role":"user","content":"Hi"}]})"));

  Request back = decodedRecord<Request>(encodedRequest(request));
  EXPECT_EQ(back.model, Model::gpt4);
  EXPECT_EQ(back.temperature, 0.5);
  EXPECT_TRUE(back.stream);
  ASSERT_EQ(back.messages.size(), 2u);
  EXPECT_EQ(back.messages[1].content, "Hi");
}

TEST(ChatRecords, RefusesToEncodeATemperatureThatIsNotFinite) {
  for (double temperature :
       {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
    SCOPED_TRACE(temperature);
    Request request{Model::turbo, temperature, {Message(Role::user, "Hi")}, false};
    EXPECT_THROW(encodedRequest(request), foundation::TextError);
  }
}
