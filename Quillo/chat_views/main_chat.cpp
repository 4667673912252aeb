#include "Quillo/chat_views/main_chat.h"

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

#include "Quillo/chat_model/clearer_error.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/chat_views/api_key_onboarding.h"
#include "Quillo/chat_views/chat_bubble.h"
#include "Quillo/chat_views/chat_view_modifiers.h"
#include "Quillo/chat_views/main_chat_input.h"
#include "Quillo/chat_views/typing_indicator.h"
#include "platform/appkit/pasteboard.h"
#include "platform/concurrency/main_actor.h"
#include "platform/foundation/log.h"
#include "platform/foundation/text_error.h"
#include "platform/ui/toolbar.h"
#include "platform/ui/views.h"

namespace Quillo {

namespace {

constexpr double kReplyTemperature = 0.5;

std::string roleMark(Role role) {
  switch (role) {
    case Role::system:
      return "⚙️";
    case Role::user:
      return "👱";
    case Role::assistant:
      break;
  }
  return "🤖";
}

void appendMessage(const ui::Binding<Conversation>& conversations, Message message) {
  auto conversation = conversations.get();
  conversation.messages.push_back(std::move(message));
  conversations.set(std::move(conversation));
}

// What the reply task touches on the main thread: the conversation and the view's flag.
struct ReplyTarget {
  ui::Binding<Conversation> conversations;
  ui::State<bool> isWriting;

  // Every failure ends as assistant text after whatever part of the reply had arrived.
  void fail(const std::string& text, bool isTextFailure) const {
    if (isTextFailure) {
      if (auto advice = adviceForFailure(text)) {
        appendMessage(conversations, Message(Role::assistant, *advice));
        appendMessage(conversations, Message(Role::assistant, text));
        isWriting.set(false);
        return;
      }
    }
    foundation::log(text);
    isWriting.set(false);
    appendMessage(conversations, Message(Role::assistant, text));
  }

  // Pieces go to the reply's own message, found by id: the user may delete messages, clear the chat or
  // send again while a reply streams, so "the last message" is not a stable target. A reply whose
  // message is gone drops its further pieces.
  void show(const foundation::UUID& replyID, const std::string& soFar) const {
    auto conversation = conversations.get();
    if (conversation.messages.empty()) {
      foundation::log("no messages found.");
      return;
    }
    auto found = std::find_if(conversation.messages.begin(), conversation.messages.end(),
                              [&](const Message& message) { return message.id == replyID; });
    if (found == conversation.messages.end()) return;
    found->content = soFar;
    conversations.set(std::move(conversation));
  }
};

// The reply task's body, on a worker: the streaming call and every wait for a piece happen here; every
// change of the conversation and of the view's state hops to the main thread.
void streamReply(const std::shared_ptr<ChatGPTAPI>& client, const std::string& text, Model model,
                 const std::string& systemText, const ReplyTarget& target) {
  try {
    if (!client) throw foundation::TextError("Invalid response");
    auto stream = client->streamReply(text, model, systemText, kReplyTemperature);
    Message reply(Role::assistant, "");
    const auto replyID = reply.id;
    concurrency::MainActor::run([&] { appendMessage(target.conversations, reply); });
    std::string soFar;
    while (auto piece = stream.next()) {
      concurrency::checkCancellation();
      soFar += *piece;
      concurrency::MainActor::run([&] { target.show(replyID, soFar); });
    }
    concurrency::MainActor::run([&] { target.isWriting.set(false); });
  } catch (const foundation::TextError& failure) {
    const std::string message = failure.text();
    concurrency::MainActor::run([&] { target.fail(message, true); });
  } catch (const std::exception& failure) {
    const std::string message = failure.what();
    concurrency::MainActor::run([&] { target.fail(message, false); });
  }
}

}  // namespace

std::string conversationTranscript(const Conversation& conversation) {
  std::string text;
  for (const auto& message : conversation.messages)
    text += roleMark(message.role) + "\n" + message.content + "\n\n";
  return text;
}

MainChat::MainChat(ui::Binding<std::shared_ptr<ChatGPTAPI>> api, ui::Binding<Conversation> mainConversations)
    : api_(std::move(api)),
      mainConversations_(std::move(mainConversations)),
      apiKey_(Keys::apiKey()),
      apiModel_(Keys::apiModel()) {}

void MainChat::sendUserMessage(const std::string& text) const {
  appendMessage(mainConversations_, Message(Role::user, text));
  messageText_.set("");
  isWriting_.set(true);
  // The client, the model and the system prompt of this moment serve the whole reply.
  auto client = api_.get();
  const Model model = apiModel_.get();
  const std::string systemText = Defaults::get(Keys::customSystemPrompt());
  ReplyTarget target{mainConversations_, isWriting_};
  task_.set(concurrency::Task<void>(
      [client, text, model, systemText, target] { streamReply(client, text, model, systemText, target); }));
}

void MainChat::clearConversation() const {
  auto conversation = mainConversations_.get();
  conversation.messages.clear();
  mainConversations_.set(std::move(conversation));
}

void MainChat::clearWholeConversation() const {
  mainConversations_.set(
      Conversation(foundation::UUID::random(), {}, "ChatGPT", Defaults::get(Keys::customSystemPrompt())));
  if (auto client = api_.get()) client->setHistoryList({});
}

void MainChat::deleteMessage(const Message& message) const {
  auto conversation = mainConversations_.get();
  auto found = std::find(conversation.messages.begin(), conversation.messages.end(), message);
  if (found == conversation.messages.end()) return;
  conversation.messages.erase(found);
  mainConversations_.set(std::move(conversation));
}

void MainChat::sendAgain(const Message& message) const {
  // One reply at a time: the Stop button and the writing flag belong to the latest send.
  if (*isWriting_) return;
  sendUserMessage(message.content);
}

void MainChat::copyConversation() const { copyTranscriptToPasteboard(mainConversations_.get()); }

void copyTranscriptToPasteboard(const Conversation& conversation) {
  auto pasteboard = appkit::Pasteboard::generalPasteboard();
  pasteboard.declareTypes({appkit::pasteboardTypeString});
  pasteboard.setString(conversationTranscript(conversation), appkit::pasteboardTypeString);
}

ui::AnyView MainChat::body() const {
  using namespace ui;
  // The actions below reach the chat through one shared copy of it: a copy holds its bindings and
  // settings wrappers, and the closures are copied many times over as the views are built.
  const auto self = std::make_shared<const MainChat>(*this);
  auto conversation = mainConversations_.get();
  const std::string apiKey = apiKey_.get();

  std::vector<AnyView> toolbarItems = {
      Button([self] { self->copyConversation(); }, Image::systemName("doc.on.doc.fill"))
          .help("Copy the entire conversation to your clipboard")};
  if (!apiKey.empty() && !conversation.messages.empty()) {
    toolbarItems.push_back(Button("Clear", [self] { self->clearWholeConversation(); }).keyboardShortcut("k"));
  }

  if (apiKey.find("sk-") == std::string::npos) return ui::toolbar(APIKeyOnboard(), toolbarItems);

  std::optional<std::string> lastID;
  if (!conversation.messages.empty()) lastID = conversation.messages.back().id.uuidString();
  const bool isEmpty = conversation.messages.empty();

  // Each message shown is shared by its row's bubble and menu actions, not copied into each.
  std::vector<std::shared_ptr<const Message>> shown;
  for (auto& message : conversation.messages) {
    if (message.role != Role::system) shown.push_back(std::make_shared<const Message>(std::move(message)));
  }
  auto rows = ForEach(
      shown, [](const std::shared_ptr<const Message>& message) { return message->id; },
      [self](const std::shared_ptr<const Message>& message) {
        std::vector<MenuEntry> entries;
        if (message->role == Role::user)
          entries.push_back(MenuEntry::item("Send Again", [self, message] { self->sendAgain(*message); }));
        entries.push_back(MenuEntry::separator());
        entries.push_back(MenuEntry::item("Delete", [self, message] { self->deleteMessage(*message); }));
        return contextMenu(ChatBubble(message), std::move(entries));
      });
  auto column =
      VStack(HorizontalAlignment::center, std::nullopt, rows, conditional(*loading_, LoadingBubble()))
          .padding(Edges::vertical);

  auto scroll = scrollTarget(ScrollView(column).background(Color::controlBackgroundColor()), lastID);

  auto emptyState =
      ZStack(Color::controlBackgroundColor(),
             LinearGradient({Color::named("Assets", "emptyBG"), Color::controlBackgroundColor()},
                            UnitPoint{0, 0}, UnitPoint{1, 1}),
             VStack(Image("talk-button").resizable().frame(100, 100),
                    Text("Type something to start talking to ChatGPT")
                        .font(Font::title2().bold())
                        .foregroundStyle(Color::white())
                        .opacity(0.8)))
          .opacity(isEmpty ? 1 : 0);

  auto input = MainChatInput(
      messageText_.binding(), isWriting_.binding(), task_.binding(), messageSelected_.binding(),
      [self](const std::string& text) { self->sendUserMessage(text); }, [self] { self->clearConversation(); });

  return ui::toolbar(VStack(scroll.overlay(emptyState), input, Divider()), toolbarItems);
}

}  // namespace Quillo
