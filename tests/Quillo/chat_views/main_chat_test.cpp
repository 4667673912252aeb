// The native chat against a scripted chat service on 127.0.0.1: sending, streaming, failures with advice,
// clearing, deleting, sending again and copying, as a person does them.
#include "Quillo/chat_views/main_chat.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Quillo/app/app_state.h"
#include "Quillo/chat_model/clearer_error.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/chat_views/api_key_onboarding.h"
#include "Quillo/chat_views/chat_bubble.h"
#include "Quillo/chat_views/chat_view_modifiers.h"
#include "Quillo/chat_views/main_chat_input.h"
#include "platform/appkit/pasteboard.h"
#include "platform/foundation/json_text.h"
#include "platform/ui/inspector.h"
#include "platform/ui/observable_object.h"
#include "platform/ui/views.h"
#include "tests/Quillo/chat_views/chat_views_environment.h"
#include "tests/support/chat_stream.h"
#include "tests/support/loopback_server.h"

namespace {

using Quillo::AppState;
using Quillo::Conversation;
using Quillo::Message;
using Quillo::Role;
using ui::testing::button;
using ui::testing::text;
using ui::testing::textField;

constexpr const char* kKey = "sk-test-0123456789";

using testsupport::chunkLine;
using testsupport::streamedBody;

std::string errorBody(const std::string& message) {
  foundation::Json body = {{"error", {{"message", message}, {"type", "invalid_request_error"}}}};
  return body.dump();
}

// The native chat bound to the app state, as the popover and the main window show it.
class ChatHarness final : public ui::View {
 public:
  explicit ChatHarness(std::shared_ptr<AppState> state) : state_(std::move(state)) {}
  ui::AnyView body() const override {
    auto api = state_.binding<std::shared_ptr<Quillo::ChatGPTAPI>>(
        [](AppState& s) { return s.api.get(); },
        [](AppState& s, std::shared_ptr<Quillo::ChatGPTAPI> v) { s.api.set(v); });
    auto conversation =
        state_.binding<Conversation>([](AppState& s) { return s.mainConversations.get(); },
                                     [](AppState& s, Conversation v) { s.mainConversations.set(v); });
    return ui::AnyView(Quillo::MainChat(api, conversation)).environment<Quillo::TokenEncoderMakerKey>([] {
      return std::shared_ptr<GPTTokenizer::GPTEncoder>();
    });
  }

 private:
  ui::ObservedObject<AppState> state_;
};

class MainChatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    chatviewstest::emptyStandardSuite();
    Defaults::set(Quillo::Keys::apiKey(), kKey);
    Defaults::set(Quillo::Keys::useCustomAPI(), true);
    Defaults::set(Quillo::Keys::azureKey(), server.baseURL());
    Defaults::set(Quillo::Keys::apiModel(), Quillo::Model::gpt4);
    Defaults::set(Quillo::Keys::customSystemPrompt(), "Be brief.");
    state = AppState::make();
    host = std::make_unique<ui::testing::Host>(ChatHarness(state));
  }
  void TearDown() override {
    host.reset();
    state.reset();
  }

  std::vector<Message> messages() const { return state->mainConversations.get().messages; }
  std::vector<std::string> contents() const {
    std::vector<std::string> result;
    for (const auto& message : messages()) result.push_back(message.content);
    return result;
  }
  void send(const std::string& message) {
    host->type(host->find(textField("")), message);
    host->tap(button("Send"));
  }
  // Sends "Hi" and lets the reply "First second" arrive as far as its first piece; the rest waits for the
  // returned gate. Null when "First" never showed.
  std::shared_ptr<testsupport::PieceGate> sendWithReplyHeldAfterFirstPiece() {
    auto gate = std::make_shared<testsupport::PieceGate>();
    server.reply("POST", "/v1/chat/completions",
                 testsupport::ScriptedReply::inPieces(
                     {chunkLine("First"), chunkLine(" second"), "data: [DONE]\n\n"}, gate));
    send("Hi");
    gate->release(1);
    if (!host->runUntil([&] { return messages().size() == 2 && messages()[1].content == "First"; }))
      return nullptr;
    return gate;
  }
  // Waits until the reply has ended (the Send button is back).
  void waitForReply() {
    ASSERT_TRUE(host->runUntil([&] {
      host->settle();
      return host->exists(button("Send"));
    }));
  }
  void reply(std::vector<std::string> pieces) {
    server.reply("POST", "/v1/chat/completions",
                 testsupport::ScriptedReply::text(streamedBody(pieces), 200, "text/event-stream"));
  }
  // Runs the row menu entry of the row showing `shown`.
  void chooseFromMenu(const std::string& shown, const std::string& entry, std::size_t index = 0) {
    auto rows = host->findAll(ui::testing::type<Quillo::ChatBubble>());
    std::vector<ui::testing::ViewRef> matching;
    for (const auto& row : rows) {
      if (row.exists(text(shown))) matching.push_back(row);
    }
    ASSERT_GT(matching.size(), index);
    for (auto node = matching[index].parent(); node; node = node->parent()) {
      if (auto* menu = node->node().modifierAs<Quillo::ContextMenuModifier>()) {
        EXPECT_TRUE(menu->choose(entry));
        host->settle();
        return;
      }
    }
    FAIL() << "no context menu around " << shown;
  }

  // The toolbar's copy item: the button showing the symbol "doc.on.doc.fill".
  static ui::testing::ViewQuery copyItem() {
    return ui::testing::ViewQuery("copy item", [](const ui::detail::Node& node) {
      auto* image = node.primitiveAs<ui::detail::ImageSpec>();
      return image && image->name == "doc.on.doc.fill";
    });
  }
  // How opaque the invitation of the empty state is drawn, counting every opacity above it.
  double emptyStateOpacity() const {
    auto invitation = host->find(text("Type something to start talking to ChatGPT"));
    double opacity = 1;
    for (const ui::detail::Node* node = &invitation.node(); node; node = node->parent()) {
      if (auto* m = node->modifierAs<ui::OpacityModifier>()) opacity *= m->opacity;
    }
    return opacity;
  }

  testsupport::LoopbackServer server;
  std::shared_ptr<AppState> state;
  std::unique_ptr<ui::testing::Host> host;
};

TEST_F(MainChatTest, SendingStreamsTheReplyIntoTheConversation) {
  reply({"Hel", "lo ", "there"});
  send("Hi");
  EXPECT_EQ(host->find(textField("")).primitive<ui::detail::TextInputSpec>()->text.get(), "");
  waitForReply();
  EXPECT_EQ(contents(), (std::vector<std::string>{"Hi", "Hello there"}));
  EXPECT_EQ(messages()[1].role, Role::assistant);
  EXPECT_TRUE(host->exists(text("Hello there")));

  auto requests = server.requests();
  ASSERT_EQ(requests.size(), 1u);
  auto body = foundation::parseJson(requests[0].body);
  EXPECT_EQ(body.at("model"), "gpt-4");
  EXPECT_EQ(body.at("temperature"), 0.5);
  EXPECT_EQ(body.at("messages").front().at("content"), "Be brief.");
  EXPECT_EQ(body.at("messages").back().at("content"), "Hi");
}

TEST_F(MainChatTest, TheLastMessageOfTheConversationIsKeptInView) {
  auto target = [&] {
    auto found = host->findAll(ui::testing::ViewQuery("scroll target", [](const ui::detail::Node& node) {
      return node.modifierAs<Quillo::ScrollTargetModifier>() != nullptr;
    }));
    EXPECT_EQ(found.size(), 1u);
    return found.empty() ? std::nullopt
                         : found[0].node().modifierAs<Quillo::ScrollTargetModifier>()->targetID;
  };
  EXPECT_EQ(target(), std::nullopt);
  reply({"Hello"});
  send("Hi");
  waitForReply();
  EXPECT_EQ(target(), messages().back().id.uuidString());
}

TEST_F(MainChatTest, FailuresBecomeAssistantMessagesWithAdviceForKnownOnes) {
  struct Case {
    std::string serviceMessage;
    std::vector<std::string> added;
  };
  const auto advice = *Quillo::adviceForFailure("You exceeded your current quota");
  const Case cases[] = {
      {"You exceeded your current quota", {advice, "You exceeded your current quota"}},
      {"Something else broke", {"Something else broke"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.serviceMessage);
    state->mainConversations.set(Conversation());
    server.reply("POST", "/v1/chat/completions",
                 testsupport::ScriptedReply::json(errorBody(c.serviceMessage), 429));
    send("Hi");
    waitForReply();
    auto expected = std::vector<std::string>{"Hi"};
    expected.insert(expected.end(), c.added.begin(), c.added.end());
    EXPECT_EQ(contents(), expected);
  }
}

TEST_F(MainChatTest, ANetworkFailureAddsItsDescription) {
  Defaults::set(Quillo::Keys::azureKey(),
                "http://127.0.0.1:" + std::to_string(testsupport::unusedLoopbackPort()));
  send("Hi");
  waitForReply();
  ASSERT_EQ(messages().size(), 2u);
  EXPECT_EQ(messages()[1].role, Role::assistant);
  EXPECT_FALSE(messages()[1].content.empty());
}

TEST_F(MainChatTest, AFailureMidStreamKeepsThePartialReplyFollowedByTheFailure) {
  auto streamed = testsupport::ScriptedReply::text(streamedBody({"Part", "ial"}), 200, "text/event-stream");
  streamed.pieces = {chunkLine("Part"), chunkLine("ial")};
  streamed.dropsConnection = true;
  server.reply("POST", "/v1/chat/completions", streamed);
  send("Hi");
  waitForReply();
  ASSERT_EQ(messages().size(), 3u);
  EXPECT_EQ(messages()[1].content, "Partial");
  EXPECT_EQ(messages()[2].role, Role::assistant);
}

TEST_F(MainChatTest, StopEndsTheReplyAndKeepsWhatArrived) {
  const auto gate = sendWithReplyHeldAfterFirstPiece();
  ASSERT_TRUE(gate);
  host->tap(button("Stop"));
  waitForReply();
  gate->open();
  EXPECT_EQ(messages()[1].content, "First");
}

TEST_F(MainChatTest, TheClearCommandKeepsTheClientsHistoryAndTheToolbarClearEmptiesIt) {
  reply({"Answer"});
  send("Question");
  waitForReply();
  state->api.get()->waitUntilRepliesEnd();
  EXPECT_EQ(state->api.get()->historyList().size(), 2u);

  send("/clear");  // Send sends it as a message; Return runs the command
  waitForReply();
  host->type(host->find(textField("")), "/clear");
  auto* input = host->find(ui::testing::type<Quillo::MainChatInput>()).node().instance();
  static_cast<const Quillo::MainChatInput*>(input)->submitMessage();
  host->settle();
  EXPECT_TRUE(messages().empty());
  EXPECT_FALSE(state->api.get()->historyList().empty());

  reply({"Again"});
  send("More");
  waitForReply();
  EXPECT_TRUE(host->pressKey("k", ui::EventModifiers::command));
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(state->mainConversations.get().title, "ChatGPT");
  EXPECT_EQ(state->mainConversations.get().prompt, "Be brief.");
  EXPECT_TRUE(state->api.get()->historyList().empty());
}

TEST_F(MainChatTest, DeleteRemovesOnlyTheChosenOfTwoEqualMessages) {
  Conversation conversation;
  conversation.messages = {Message(Role::assistant, "same"), Message(Role::assistant, "same")};
  const auto secondID = conversation.messages[1].id;
  state->mainConversations.set(conversation);
  host->settle();
  chooseFromMenu("same", "Delete", 0);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0].id, secondID);
}

TEST_F(MainChatTest, SendAgainEmptiesTheInputAndAppendsTheTextWithANewReply) {
  reply({"One"});
  send("Hello");
  waitForReply();
  host->type(host->find(textField("")), "draft");
  reply({"Two"});
  chooseFromMenu("Hello", "Send Again");
  waitForReply();
  EXPECT_EQ(contents(), (std::vector<std::string>{"Hello", "One", "Hello", "Two"}));
  EXPECT_EQ(host->find(textField("")).primitive<ui::detail::TextInputSpec>()->text.get(), "");
}

TEST_F(MainChatTest, PiecesOfAReplyWhoseMessageWasDeletedAreDropped) {
  const auto gate = sendWithReplyHeldAfterFirstPiece();
  ASSERT_TRUE(gate);
  chooseFromMenu("First", "Delete");
  gate->open();
  waitForReply();
  EXPECT_EQ(contents(), std::vector<std::string>{"Hi"});
}

TEST_F(MainChatTest, CopyingPutsEveryMessageWithItsRoleMarkOnThePasteboard) {
  Conversation conversation;
  conversation.messages = {Message(Role::system, "rules"), Message(Role::user, "q"),
                           Message(Role::assistant, "a")};
  state->mainConversations.set(conversation);
  host->settle();
  EXPECT_FALSE(host->exists(text("rules")));
  host->tap(host->find(copyItem()));
  EXPECT_EQ(appkit::Pasteboard::generalPasteboard().stringForType(appkit::pasteboardTypeString),
            "⚙️\nrules\n\n👱\nq\n\n🤖\na\n\n");
}

TEST_F(MainChatTest, OnlySystemMessagesShowNoRowsAndNoEmptyState) {
  Conversation conversation;
  conversation.messages = {Message(Role::system, "rules")};
  state->mainConversations.set(conversation);
  host->settle();
  EXPECT_TRUE(host->findAll(ui::testing::type<Quillo::ChatBubble>()).empty());
  EXPECT_EQ(emptyStateOpacity(), 0);
  state->mainConversations.set(Conversation());
  host->settle();
  EXPECT_DOUBLE_EQ(emptyStateOpacity(), 0.8);
}

TEST_F(MainChatTest, TheKeyDecidesBetweenOnboardingAndChat) {
  struct Case {
    std::string key;
    bool showsChat;
  };
  const Case cases[] = {
      {"sk-abc", true}, {"my-sk-key", true}, {"SK-ABC", false}, {"", false}, {"plain", false}};
  Conversation conversation;
  conversation.messages = {Message(Role::user, "q")};
  state->mainConversations.set(conversation);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    Defaults::set(Quillo::Keys::apiKey(), c.key);
    host->settle();
    EXPECT_EQ(host->exists(ui::testing::type<Quillo::APIKeyOnboard>()), !c.showsChat);
    EXPECT_TRUE(host->exists(copyItem()));
    EXPECT_EQ(host->exists(button("Clear")), !c.key.empty());
  }
}

}  // namespace
