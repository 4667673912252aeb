// The native chat: the shared conversation as a scrolling column of bubbles, the input bar below, and
// toolbar items to copy or clear the conversation. Replies stream in piece by piece through the chat
// client; without a usable API key the onboarding page is shown in place of the chat.
#pragma once

#include <memory>
#include <string>

#include "Quillo/chat_client/chat_gpt_api.h"
#include "Quillo/chat_model/conversation.h"
#include "Quillo/chat_model/message.h"
#include "Quillo/chat_model/model.h"
#include "platform/concurrency/task.h"
#include "platform/ui/binding.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"
#include "settings_store/default_binding.h"

namespace Quillo {

class MainChat final : public ui::View {
 public:
  // Bindings to the app state's client and conversation; both are read afresh at every use, so a client
  // replaced after a key change is used from the next send on.
  MainChat(ui::Binding<std::shared_ptr<ChatGPTAPI>> api, ui::Binding<Conversation> mainConversations);

  ui::AnyView body() const override;

  // Appends the text as the user's message, empties the input, marks a reply in progress and starts the
  // task that streams the reply into the conversation (kept in `task`; an earlier handle is replaced).
  void sendUserMessage(const std::string& text) const;
  // "/clear": empties the conversation's messages; the client keeps its history.
  void clearConversation() const;
  // The toolbar's Clear: a new conversation titled "ChatGPT" with the current system prompt, and the
  // client's history emptied.
  void clearWholeConversation() const;
  // Removes the first message equal to `message` (role, text and id).
  void deleteMessage(const Message& message) const;
  // Sends the message's text again as a new message; refused while a reply is arriving.
  void sendAgain(const Message& message) const;
  // Puts the whole conversation on the general pasteboard, each message as its role mark, a line feed,
  // its text and two line feeds.
  void copyConversation() const;

 private:
  ui::Binding<std::shared_ptr<ChatGPTAPI>> api_;
  ui::Binding<Conversation> mainConversations_;
  ui::State<std::string> messageText_{""};
  Defaults::Default<std::string> apiKey_;
  ui::State<bool> isWriting_{false};
  ui::State<concurrency::Task<void>> task_;
  Defaults::Default<Model> apiModel_;
  ui::State<bool> loading_{false};
  ui::State<bool> messageSelected_{false};
};

// The text that copying a conversation puts on the pasteboard.
std::string conversationTranscript(const Conversation& conversation);
// Declares the string type on the general pasteboard (no owner) and puts the transcript there; an empty
// conversation puts the empty text.
void copyTranscriptToPasteboard(const Conversation& conversation);

}  // namespace Quillo
