#include "Quillo/chat_model/settings_keys.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <thread>
#include <type_traits>

#include "platform/foundation/json_text.h"
#include "platform/foundation/user_defaults.h"
#include "tests/support/temporary_settings_suite.h"

using namespace Quillo;
using foundation::PlistValue;

namespace {

// The keys live in the standard suite and are made once per process, so every test of this program runs
// against one temporary standard suite, installed before any key is first used and emptied between tests.
const auto* const environment =
    ::testing::AddGlobalTestEnvironment(new testsupport::TemporaryStandardSuite("quillo-keys-"));

class SettingsKeys : public ::testing::Test {
 protected:
  void SetUp() override { Defaults::removeAllStoredValues(*foundation::UserDefaults::standard()); }
  foundation::UserDefaults& suite() { return *foundation::UserDefaults::standard(); }
};

// How each value type is kept: none of the app's own types is stored natively.
template <class T, class Bridge>
constexpr bool storedThrough = !Defaults::Serialization<T>::isStoredNatively &&
                               std::is_same_v<typename Defaults::Serialization<T>::Bridge, Bridge>;
static_assert(storedThrough<Message, Defaults::TopLevelCodableBridge<Message>>);
static_assert(storedThrough<Conversation, Defaults::TopLevelCodableBridge<Conversation>>);
static_assert(storedThrough<std::vector<Conversation>, Defaults::ArrayBridge<Conversation>>);
static_assert(storedThrough<Model, Defaults::RawRepresentableCodableBridge<Model>>);
static_assert(storedThrough<InlineTrigger, Defaults::RawRepresentableCodableBridge<InlineTrigger>>);
static_assert(storedThrough<FontSize, Defaults::RawRepresentableBridge<FontSize>>);
static_assert(storedThrough<ui::Color, Defaults::ColorBridge>);

}  // namespace

TEST_F(SettingsKeys, DefaultsWithNothingStored) {
  EXPECT_EQ(Defaults::get(Keys::apiKey()), "");
  EXPECT_TRUE(Defaults::get(Keys::conversations()).empty());
  EXPECT_FALSE(Defaults::get(Keys::showNative()));
  EXPECT_EQ(Defaults::get(Keys::apiModel()), Model::turbo);
  EXPECT_EQ(Defaults::get(Keys::menubarIconName()), "menubar");
  EXPECT_EQ(Defaults::get(Keys::globalApiModel()), Model::turbo);
  EXPECT_EQ(Defaults::get(Keys::inlineApiModel()), Model::turbo);
  EXPECT_TRUE(Defaults::get(Keys::showNormalApp()));
  EXPECT_FALSE(Defaults::get(Keys::isNativeGPTEnabled()));
  EXPECT_EQ(Defaults::get(Keys::inlineTrigger()), InlineTrigger::shiftReturn);
  EXPECT_EQ(Defaults::get(Keys::globalGPTKey()), "+gpt");
  EXPECT_FALSE(Defaults::get(Keys::showTokenCount()));
  EXPECT_FALSE(Defaults::get(Keys::playSoundWhenReplied()));
  EXPECT_FALSE(Defaults::get(Keys::enableMarkdown()));
  EXPECT_FALSE(Defaults::get(Keys::conversationModeEnabled()));
  EXPECT_FALSE(Defaults::get(Keys::speakGlobalOutLoud()));
  EXPECT_EQ(Defaults::get(Keys::maxLengthForSpeaking()), 200);
  EXPECT_FALSE(Defaults::get(Keys::clickedDonate()));
  EXPECT_EQ(Defaults::get(Keys::sidebarWidth()), 400.0);
  EXPECT_FALSE(Defaults::get(Keys::sidebarAlwaysShowButtons()));
  EXPECT_EQ(Defaults::get(Keys::customSystemPrompt()),
            "You're a helpful assistant named Quillo. Provide clear and thorough answers but be concise. "
            "Let's work this out in a step by step way to be sure we have the right answer.");
  EXPECT_EQ(Defaults::get(Keys::customSystemPrompt()).size(), 170u);
  EXPECT_EQ(Defaults::get(Keys::userChatColor()), ui::Color::teal());
  EXPECT_EQ(Defaults::get(Keys::assistantChatColor()), ui::Color::controlBackgroundColor());
  EXPECT_FALSE(Defaults::get(Keys::webDefaultToGPT4()));
  EXPECT_EQ(Defaults::get(Keys::fontSize()), FontSize::small);
  EXPECT_EQ(Defaults::get(Keys::azureKey()), "");
  EXPECT_FALSE(Defaults::get(Keys::useCustomAPI()));

  Conversation main = Defaults::get(Keys::mainConversations());
  EXPECT_TRUE(main.messages.empty());
  EXPECT_EQ(main.title, "");
  EXPECT_EQ(main.prompt, "You are Quillo, a large language model trained by OpenAI.");
  EXPECT_EQ(main.prompt.size(), 57u);
}

TEST_F(SettingsKeys, KeysRegisterTheirDefaultsInTheSuite) {
  Keys::maxLengthForSpeaking();
  Keys::apiModel();
  EXPECT_EQ(suite().objectForKey("maxLengthForSpeaking"), PlistValue(std::int64_t{200}));
  EXPECT_EQ(suite().objectForKey("apiModel"), PlistValue("\"gpt-3.5-turbo\""));
}

TEST_F(SettingsKeys, ValuesAreStoredInTheirDocumentedForms) {
  Defaults::set(Keys::apiModel(), Model::gpt4);
  EXPECT_EQ(suite().objectForKey("apiModel"), PlistValue("\"gpt-4\""));
  Defaults::set(Keys::inlineTrigger(), InlineTrigger::normalReturn);
  EXPECT_EQ(suite().objectForKey("inlineTrigger"), PlistValue("\"normalReturn\""));
  Defaults::set(Keys::fontSize(), FontSize::xLarge);
  EXPECT_EQ(suite().objectForKey("fontSize"), PlistValue("xLarge"));
  Defaults::set(Keys::showNative(), true);
  EXPECT_EQ(suite().objectForKey("showNative"), PlistValue(true));
  Defaults::set(Keys::maxLengthForSpeaking(), std::int64_t{80});
  EXPECT_EQ(suite().objectForKey("maxLengthForSpeaking"), PlistValue(std::int64_t{80}));
  Defaults::set(Keys::sidebarWidth(), 320.5);
  EXPECT_EQ(suite().objectForKey("sidebarWidth"), PlistValue(320.5));
  Defaults::set(Keys::globalGPTKey(), std::string("+ai"));
  EXPECT_EQ(suite().objectForKey("globalGPTKey"), PlistValue("+ai"));

  Conversation conversation(foundation::UUID(), {Message(Role::user, "Hi")}, "ChatGPT", "Be nice");
  Defaults::set(Keys::mainConversations(), conversation);
  auto stored = suite().objectForKey("mainConversations");
  ASSERT_TRUE(stored && stored->stringValue());
  EXPECT_EQ(nlohmann::json::parse(*stored->stringValue()),
            nlohmann::json::parse(foundation::jsonText(foundation::Json(conversation))));

  Defaults::set(Keys::conversations(), std::vector<Conversation>{conversation, conversation});
  auto list = suite().objectForKey("conversations");
  ASSERT_TRUE(list && list->arrayValue());
  ASSERT_EQ(list->arrayValue()->size(), 2u);
  EXPECT_NE((*list->arrayValue())[0].stringValue(), nullptr);
}

TEST_F(SettingsKeys, StoredValuesReadBack) {
  suite().setObject(PlistValue("\"gpt-4\""), "apiModel");
  EXPECT_EQ(Defaults::get(Keys::apiModel()), Model::gpt4);
  suite().setObject(PlistValue("large"), "fontSize");
  EXPECT_EQ(Defaults::get(Keys::fontSize()), FontSize::large);

  Conversation conversation(foundation::UUID(), {Message(Role::user, "Hi")}, "ChatGPT", "Be nice");
  Defaults::set(Keys::mainConversations(), conversation);
  Conversation read = Defaults::get(Keys::mainConversations());
  EXPECT_EQ(read.id, conversation.id);
  ASSERT_EQ(read.messages.size(), 1u);
  EXPECT_EQ(read.messages[0].content, "Hi");
  EXPECT_NE(read, conversation);  // the message got a new id
}

TEST_F(SettingsKeys, StoredValuesThatDoNotConvertReadAsTheDefault) {
  struct Case {
    const char* name;
    PlistValue stored;
  };
  const Case cases[] = {
      {"apiModel", PlistValue("\"gpt-5\"")},
      {"globalApiModel", PlistValue("not JSON")},
      {"inlineApiModel", PlistValue(std::int64_t{4})},
      {"fontSize", PlistValue("huge")},
      {"inlineTrigger", PlistValue("\"optionReturn\"")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    suite().setObject(c.stored, c.name);
  }
  EXPECT_EQ(Defaults::get(Keys::apiModel()), Model::turbo);
  EXPECT_EQ(Defaults::get(Keys::globalApiModel()), Model::turbo);
  EXPECT_EQ(Defaults::get(Keys::inlineApiModel()), Model::turbo);
  EXPECT_EQ(Defaults::get(Keys::fontSize()), FontSize::small);
  EXPECT_EQ(Defaults::get(Keys::inlineTrigger()), InlineTrigger::shiftReturn);
}

TEST_F(SettingsKeys, TheDefaultConversationIsMadeOncePerProcess) {
  Conversation first = Defaults::get(Keys::mainConversations());
  Conversation second = Defaults::get(Keys::mainConversations());
  EXPECT_EQ(first.id, second.id);
  EXPECT_EQ(first, second);

  // A stored text without "title" does not decode: the default conversation shows instead.
  suite().setObject(PlistValue(R"({"id":"0F1E2D3C-4B5A-4697-8877-665544332211","messages":[],"prompt":"P"})"),
                    "mainConversations");
  EXPECT_EQ(Defaults::get(Keys::mainConversations()).id, first.id);
}

TEST_F(SettingsKeys, UndecodableConversationsAreLeftOutOfTheList) {
  Conversation good(foundation::UUID(), {}, "ChatGPT", "P");
  PlistValue::Array list = {PlistValue(foundation::jsonText(foundation::Json(good))),
                            PlistValue(R"({"id":"x","messages":[],"title":"T","prompt":"P"})")};
  suite().setObject(PlistValue(list), "conversations");
  std::vector<Conversation> read = Defaults::get(Keys::conversations());
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(read[0], good);
}

TEST_F(SettingsKeys, FirstUseFromTwoThreadsMakesOneKey) {
  const Defaults::Key<std::string>* seen[2] = {};
  std::thread a([&] { seen[0] = &Keys::azureKey(); });
  std::thread b([&] { seen[1] = &Keys::azureKey(); });
  a.join();
  b.join();
  EXPECT_EQ(seen[0], seen[1]);
  EXPECT_EQ(Defaults::get(*seen[0]), "");
}
