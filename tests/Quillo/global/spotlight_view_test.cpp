// The Global view as a person uses it: typing a query, reading, copying and hearing the answer, and the
// hands-free conversation.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <atomic>
#include <string>
#include <vector>

#include "Quillo/app/shortcut_names.h"
#include "Quillo/chat_model/clearer_error.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/global/spotlight_window_controller.h"
#include "platform/appkit/pasteboard.h"
#include "platform/ui/inspector.h"
#include "settings_store/key.h"
#include "tests/Quillo/global/global_world.h"
#include "tests/support/chat_stream.h"

namespace globaltest {
namespace {

using Quillo::SpotlightWindowController;
using ui::testing::button;
using ui::testing::Inspector;
using ui::testing::text;
using ui::testing::textField;
using ui::testing::type;
using ui::testing::ViewQuery;
using ui::testing::ViewRef;

ViewQuery symbol(std::string name) {
  return ViewQuery("symbol " + name, [name](const ui::detail::Node& node) {
    auto* image = node.primitiveAs<ui::detail::ImageSpec>();
    return image && image->source == ui::detail::ImageSpec::Source::systemSymbol && image->name == name;
  });
}

// A Global window made directly and shown, with its views.
class GlobalView : public GlobalTest {
 protected:
  void open() {
    controller_ = std::make_unique<SpotlightWindowController>();
    controller_->panel()->center();
    controller_->showWindow();
    settle();
    views_ = inspect(*controller_);
  }
  void close() {
    views_.reset();
    controller_->close();
    controller_.reset();
    settle();
  }
  Inspector& views() { return *views_; }
  ViewRef field() const {
    auto fields = views_->findAll(type("TextField"));
    if (fields.empty()) throw ui::testing::InspectionError("no field\n" + views_->dump());
    return fields.front();
  }
  std::string fieldText() const { return field().primitive<ui::detail::TextInputSpec>()->text.get(); }
  std::string placeholder() const { return field().primitive<ui::detail::TextInputSpec>()->title; }
  bool isFocused() const { return field().modifier<ui::FocusedModifier>()->isFocused(); }
  // Types the query and presses Return.
  void ask(const std::string& query) {
    views_->setText(field(), query);
    views_->submit(field());
  }
  bool hasAnswerArea() const { return views_->exists(type("ScrollView")); }
  std::string answer() const { return hasAnswerArea() ? views_->find(type("ScrollView")).text() : ""; }
  // The spinner over the microphone (conversation mode only) shows while a reply is awaited.
  bool isLoading() const { return views_->find(type("ProgressView")).opacity() == 1; }
  bool waitForAnswer(const std::string& expected) {
    return runUntil([&] { return answer() == expected; });
  }
  bool waitUntilDone() {
    return runUntil([&] { return !isLoading(); });
  }
  foundation::Size windowSize() const { return controller_->panel()->frame().size; }
  desktop::HeadlessSpeech& speech() { return desktop.speech(); }
  std::vector<std::string> spoken() const {
    std::vector<std::string> texts;
    for (const auto& utterance : const_cast<GlobalView*>(this)->speech().utterances()) texts.push_back(utterance.text);
    return texts;
  }

  std::unique_ptr<SpotlightWindowController> controller_;
  std::unique_ptr<Inspector> views_;
};

// Replies given one after another: the n-th request to the chat service gets the n-th reply.
class ReplySequence {
 public:
  explicit ReplySequence(std::vector<testsupport::ScriptedReply> replies) : replies_(std::move(replies)) {
    chatService().handle("POST", kChatPath, [this](const testsupport::RecordedRequest&) {
      const std::size_t index = received_++;
      return replies_.at(std::min(index, replies_.size() - 1));
    });
  }
  ~ReplySequence() { replyWith({"Hello", " there"}); }
  std::size_t received() const { return received_; }

 private:
  std::vector<testsupport::ScriptedReply> replies_;
  std::atomic<std::size_t> received_{0};
};

testsupport::ScriptedReply streamed(const std::vector<std::string>& pieces) {
  return testsupport::ScriptedReply::text(testsupport::streamedBody(pieces), 200, "text/event-stream");
}

testsupport::ScriptedReply gated(const std::vector<std::string>& pieces,
                                 const std::shared_ptr<testsupport::PieceGate>& gate) {
  std::vector<std::string> lines;
  for (const auto& piece : pieces) lines.push_back(testsupport::chunkLine(piece));
  lines.push_back("data: [DONE]\n\n");
  auto reply = testsupport::ScriptedReply::inPieces(lines, gate);
  reply.contentType = "text/event-stream";
  return reply;
}

TEST_F(GlobalView, IsTheBarAloneUntilTheFirstPieceWithTextArrives) {
  auto gate = replyGated({"", "Hel", "lo"});
  open();
  EXPECT_EQ(windowSize(), foundation::Size(650, 60));
  EXPECT_EQ(placeholder(), "Type your prompt");
  EXPECT_FALSE(views().exists(symbol("mic.fill")));  // conversation mode is off
  EXPECT_FALSE(views().exists(type("ProgressView")));
  ask("Hi");
  gate->release();
  ASSERT_TRUE(gate->waitUntilWritten(1));
  settle();
  EXPECT_FALSE(hasAnswerArea());
  gate->release();
  ASSERT_TRUE(waitForAnswer("Hel")) << views().dump();
  EXPECT_EQ(windowSize().width, 650);
  EXPECT_GT(windowSize().height, 60);
  gate->open();
  ASSERT_TRUE(waitForAnswer("Hello"));
  EXPECT_EQ(fieldText(), "Hi");  // the query stays in the field
  EXPECT_TRUE(log.contains("send query"));
}

TEST_F(GlobalView, ReturnOnAnEmptyFieldSendsAnEmptyPrompt) {
  ReplySequence replies({streamed({"Ask me anything"})});
  open();
  ask("");
  ASSERT_TRUE(waitForAnswer("Ask me anything"));
  const auto requests = chatService().requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(promptOf(requests.back()), "");
  const auto body = nlohmann::json::parse(requests.back().body);
  EXPECT_EQ(body.at("messages").front().at("content"), "You're a helpful assistant");
  EXPECT_EQ(body.at("temperature"), 0.5);
}

TEST_F(GlobalView, ShortAnswersAreSpokenAndOnlyThoseShorterThanTheLimit) {
  Defaults::set(Quillo::Keys::speakGlobalOutLoud(), true);
  Defaults::set(Quillo::Keys::maxLengthForSpeaking(), std::int64_t{200});
  Defaults::set(Quillo::Keys::conversationModeEnabled(), true);  // shows when the reply is done
  // "é" written as e and a combining accent: two code points, one character as a user counts them.
  auto answerOf = [](int characters) {
    std::string text;
    for (int i = 0; i < characters; ++i) text += "e\u0301";
    return text;
  };
  struct Case {
    int characters;
    bool isSpoken;
  };
  for (const Case c : {Case{199, true}, Case{200, false}}) {
    SCOPED_TRACE(c.characters);
    const std::string answer = answerOf(c.characters);
    replyWith({answer});
    const std::size_t before = spoken().size();
    open();
    ask("Accents, please");
    ASSERT_TRUE(waitForAnswer(answer));
    ASSERT_TRUE(waitUntilDone());
    const auto now = spoken();
    EXPECT_EQ(std::vector<std::string>(now.begin() + static_cast<std::ptrdiff_t>(before), now.end()),
              c.isSpoken ? std::vector<std::string>{answer} : std::vector<std::string>{});
    close();
    while (speech().finishUtterance()) {
    }
  }
}

TEST_F(GlobalView, AFailureShowsItsAdviceAndTextInPlaceOfTheAnswer) {
  Defaults::set(Quillo::Keys::speakGlobalOutLoud(), true);
  Defaults::set(Quillo::Keys::conversationModeEnabled(), true);
  const std::string noQuota = "You exceeded your current quota, please check your plan and billing details.";
  const std::string noModel = "The model `gpt-4` does not exist or you do not have access to it.";
  const std::string badKey = "Incorrect API key provided.";
  struct Case {
    int status;
    std::string message;
    std::string shown;
  };
  const Case cases[] = {
      {429, noQuota, std::string(Quillo::adviceText(Quillo::ClearerError::exceeded)) + noQuota},
      {404, noModel, std::string(Quillo::adviceText(Quillo::ClearerError::doesNotExist)) + noModel},
      {401, badKey, badKey},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    failWith(c.status, c.message);
    open();
    ask("Hello?");
    ASSERT_TRUE(waitForAnswer(c.shown)) << answer();
    ASSERT_TRUE(waitUntilDone());
    EXPECT_TRUE(spoken().empty());  // a failure is never spoken
    close();
  }
}

TEST_F(GlobalView, AReplyCutOffMidwayLeavesOnlyTheFailureText) {
  auto gate = std::make_shared<testsupport::PieceGate>();
  auto reply = testsupport::ScriptedReply::inPieces({testsupport::chunkLine("Half an ans")}, gate);
  reply.contentType = "text/event-stream";
  reply.dropsConnection = true;
  chatService().reply("POST", kChatPath, reply);
  Defaults::set(Quillo::Keys::conversationModeEnabled(), true);
  open();
  ask("Tell me everything");
  gate->release();
  ASSERT_TRUE(waitForAnswer("Half an ans"));
  ASSERT_TRUE(waitUntilDone());
  EXPECT_TRUE(hasAnswerArea());
  EXPECT_EQ(answer().find("Half an ans"), std::string::npos) << answer();
  EXPECT_FALSE(answer().empty());
}

TEST_F(GlobalView, TheFieldHasTheFocusBackOneSecondAfterReturn) {
  open();
  ASSERT_TRUE(isFocused());
  ask("Hi");
  EXPECT_FALSE(isFocused());
  advanceSeconds(0.9);
  EXPECT_FALSE(isFocused());
  advanceSeconds(0.1);
  EXPECT_TRUE(isFocused());
  ASSERT_TRUE(waitForAnswer("Hello there"));
}

TEST_F(GlobalView, CopyPutsTheAnswerOnThePasteboardAndSaysCopiedForTwoSeconds) {
  open();
  ask("Hi");
  ASSERT_TRUE(waitForAnswer("Hello there"));
  auto copy = views().find(button("Copy"));
  EXPECT_EQ(copy.opacity(), 0);  // invisible until the pointer is over the answer
  views().hover(views().find(type("ScrollView")));
  EXPECT_EQ(views().find(button("Copy")).opacity(), 1);
  views().tap(views().find(button("Copy")));
  EXPECT_EQ(desktop.pasteboard().string(appkit::pasteboardTypeString), "Hello there");
  EXPECT_TRUE(views().exists(text("Copied")));
  EXPECT_FALSE(views().exists(button("Copy")));
  advanceSeconds(1.9);
  EXPECT_TRUE(views().exists(text("Copied")));
  advanceSeconds(0.1);
  EXPECT_TRUE(views().exists(button("Copy")));
  views().unhover();
  EXPECT_EQ(views().find(button("Copy")).opacity(), 0);
}

TEST_F(GlobalView, ReturnWhileAReplyStreamsShowsOnlyTheSecondReply) {
  Defaults::set(Quillo::Keys::conversationModeEnabled(), true);
  auto first = std::make_shared<testsupport::PieceGate>();
  auto second = std::make_shared<testsupport::PieceGate>();
  ReplySequence replies({gated({"First", " reply"}, first), gated({"Second"}, second)});
  open();
  ask("One");
  first->release();
  ASSERT_TRUE(waitForAnswer("First"));
  ask("Two");
  ASSERT_TRUE(runUntil([&] { return replies.received() == 2; }));
  EXPECT_FALSE(hasAnswerArea());
  // The first reply goes on arriving and ends; it writes nothing and the wait is not over.
  first->open();
  ASSERT_TRUE(first->waitUntilWritten(3));
  settle();
  EXPECT_FALSE(hasAnswerArea());
  EXPECT_TRUE(isLoading());
  second->open();
  ASSERT_TRUE(waitForAnswer("Second"));
  ASSERT_TRUE(waitUntilDone());
  EXPECT_EQ(answer(), "Second");
}

TEST_F(GlobalView, ClosingTheWindowCancelsAStreamingReply) {
  Defaults::set(Quillo::Keys::speakGlobalOutLoud(), true);
  Defaults::set(Quillo::Keys::conversationModeEnabled(), true);
  auto delegate = launch();
  auto gate = replyGated({"Hello", " there"});
  pressHotKey(Quillo::ShortcutNames::showSpotlight);
  {
    auto views = inspect(delegate->spotlightWindowController);
    auto field = views->find(textField("Type your prompt"));
    views->tap(views->find(symbol("mic.fill")));  // in conversation
    ASSERT_TRUE(speech().isRecognizing());
    views->setText(field, "Hi");
    views->submit(field);
    EXPECT_FALSE(speech().isRecognizing());  // sending stops the recording
    gate->release();
    ASSERT_TRUE(runUntil([&] { return views->exists(text("Hello")); }));
  }
  pressHotKey(Quillo::ShortcutNames::showSpotlight);  // closes
  ASSERT_FALSE(delegate->spotlightWindowController);
  pressHotKey(Quillo::ShortcutNames::showSpotlight);  // a fresh window
  gate->open();
  ASSERT_TRUE(gate->waitUntilWritten(3));
  settle();
  advanceSeconds(2);
  EXPECT_TRUE(spoken().empty());
  EXPECT_FALSE(speech().isRecognizing());
  auto views = inspect(delegate->spotlightWindowController);
  EXPECT_FALSE(views->exists(type("ScrollView")));
}

TEST_F(GlobalView, EscapeWithoutALaunchedDelegateDoesNothing) {
  open();
  ASSERT_TRUE(controller_->panel()->isKeyWindow());
  pressEscape();
  settle();
  EXPECT_TRUE(controller_->panel()->isVisible());
  EXPECT_FALSE(controller_->panel()->isClosed());
}

// The hands-free conversation, step by step.
class Conversation : public GlobalView {
 protected:
  void SetUp() override {
    GlobalView::SetUp();
    Defaults::set(Quillo::Keys::conversationModeEnabled(), true);
    Defaults::set(Quillo::Keys::speakGlobalOutLoud(), true);
  }
  void enterConversation() {
    views().tap(views().find(symbol("mic.fill")));
    settle();
  }
  // Says something: the recogniser reports it, the 0.1 s and 1.0 s waits run out, the query is sent.
  void say(const std::string& words) {
    ASSERT_TRUE(speech().recognize(words, false));
    settle();
    advanceSeconds(0.1);
    EXPECT_EQ(fieldText(), words);
    advanceSeconds(0.9);
  }
  ui::Color microphoneColor() { return views().find(symbol("mic.fill")).foregroundStyle(); }
};

TEST_F(Conversation, TheMicrophoneStartsListeningAndShowsWhatIsHeard) {
  open();
  EXPECT_EQ(microphoneColor(), ui::Color::secondary());
  EXPECT_EQ(placeholder(), "Type your prompt");
  EXPECT_FALSE(isLoading());
  enterConversation();
  EXPECT_TRUE(speech().isRecognizing());
  EXPECT_EQ(microphoneColor(), ui::Color::teal());
  EXPECT_EQ(placeholder(), "Say your prompt");

  const std::size_t before = chatService().requests().size();
  ASSERT_TRUE(speech().recognize("what is", false));
  settle();
  advanceSeconds(0.05);
  ASSERT_TRUE(speech().recognize("what is the time", false));
  settle();
  advanceSeconds(0.09);
  EXPECT_EQ(fieldText(), "");  // still changing
  advanceSeconds(0.01);
  EXPECT_EQ(fieldText(), "what is the time");
  advanceSeconds(0.8);
  EXPECT_EQ(chatService().requests().size(), before);  // not sent before a second of quiet
  advanceSeconds(0.1);
  EXPECT_FALSE(speech().isRecognizing());  // sending stops the recording
  ASSERT_TRUE(runUntil([&] { return chatService().requests().size() == before + 1; }));
  EXPECT_EQ(promptOf(chatService().requests().back()), "what is the time");

  // The microphone button leaves the conversation.
  ASSERT_TRUE(waitUntilDone());
  enterConversation();
  EXPECT_EQ(microphoneColor(), ui::Color::secondary());
  EXPECT_EQ(placeholder(), "Type your prompt");
  EXPECT_FALSE(speech().isRecognizing());
}

TEST_F(Conversation, ASpokenAnswerIsFollowedByListeningOnceSpeakingHasFinished) {
  open();
  enterConversation();
  say("hello");
  ASSERT_TRUE(waitForAnswer("Hello there"));
  ASSERT_TRUE(waitUntilDone());
  EXPECT_EQ(spoken(), std::vector<std::string>{"Hello there"});
  EXPECT_FALSE(speech().isRecognizing());
  ASSERT_TRUE(speech().finishUtterance());
  settle();
  EXPECT_TRUE(speech().isRecognizing());
  EXPECT_EQ(fieldText(), "");
}

TEST_F(Conversation, AnAnswerNotSpokenIsFollowedByListeningAtOnce) {
  Defaults::set(Quillo::Keys::speakGlobalOutLoud(), false);
  open();
  enterConversation();
  say("hello");
  ASSERT_TRUE(waitForAnswer("Hello there"));
  ASSERT_TRUE(waitUntilDone());
  settle();
  EXPECT_TRUE(spoken().empty());
  EXPECT_TRUE(speech().isRecognizing());
  EXPECT_EQ(fieldText(), "");
}

TEST_F(Conversation, AFailedReplyDoesNotListenAgain) {
  failWith(401, "Incorrect API key provided.");
  open();
  enterConversation();
  say("hello");
  ASSERT_TRUE(waitForAnswer("Incorrect API key provided."));
  ASSERT_TRUE(waitUntilDone());
  advanceSeconds(2);
  EXPECT_FALSE(speech().isRecognizing());
  EXPECT_EQ(microphoneColor(), ui::Color::teal());  // still in the conversation
  EXPECT_EQ(fieldText(), "hello");
}

TEST_F(Conversation, ClosingTheWindowStopsTheRecording) {
  open();
  enterConversation();
  ASSERT_TRUE(speech().isRecognizing());
  close();
  EXPECT_FALSE(speech().isRecognizing());
}

}  // namespace
}  // namespace globaltest
