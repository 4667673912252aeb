// One stored chat thread: its identity, its messages, a title and a prompt text.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "Quillo/chat_model/message.h"
#include "platform/foundation/json_text.h"
#include "platform/foundation/uuid.h"

namespace Quillo {

struct Conversation {
  foundation::UUID id;
  std::vector<Message> messages;  // oldest first
  std::string title;
  std::string prompt;  // stored with the thread, not sent

  Conversation() = default;  // a new id, nothing else (the target of decoding)
  Conversation(foundation::UUID id, std::vector<Message> messages, std::string title, std::string prompt)
      : id(id), messages(std::move(messages)), title(std::move(title)), prompt(std::move(prompt)) {}

  bool operator==(const Conversation&) const = default;  // id, messages, title, prompt
};

// The prompt of the conversation a first start shows.
inline constexpr const char* defaultConversationPrompt =
    "You are Quillo, a large language model trained by OpenAI.";

// The keys "id" (canonical upper-case UUID text), "messages", "title" and "prompt", all required on
// decoding; other keys are ignored. The conversation keeps its id; every message gets a fresh one.
// Decoding failures throw foundation::TextError.
void to_json(foundation::Json& json, const Conversation& conversation);
void from_json(const foundation::Json& json, Conversation& conversation);

}  // namespace Quillo

template <>
struct std::hash<Quillo::Conversation> {
  std::size_t operator()(const Quillo::Conversation& conversation) const noexcept;
};
