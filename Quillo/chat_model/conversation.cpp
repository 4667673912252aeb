#include "Quillo/chat_model/conversation.h"

#include "Quillo/common/hash_combine.h"
#include "platform/foundation/text_error.h"

namespace Quillo {

void to_json(foundation::Json& json, const Conversation& conversation) {
  json = foundation::Json::object();
  json["id"] = conversation.id.uuidString();
  foundation::Json messages = foundation::Json::array();
  for (const Message& message : conversation.messages) {
    foundation::Json element;
    to_json(element, message);
    messages.push_back(std::move(element));
  }
  json["messages"] = std::move(messages);
  json["title"] = conversation.title;
  json["prompt"] = conversation.prompt;
}

void from_json(const foundation::Json& json, Conversation& conversation) {
  std::string idText = foundation::requiredString(json, "id");
  std::optional<foundation::UUID> id = foundation::UUID::parse(idText);
  if (!id) throw foundation::TextError("\"" + idText + "\" is not a UUID");
  const foundation::Json& list = foundation::requiredMember(json, "messages");
  if (!list.is_array()) throw foundation::TextError("\"messages\" is not a list");
  std::vector<Message> messages;
  messages.reserve(list.size());
  for (const auto& element : list) {
    Message message;
    from_json(element, message);
    messages.push_back(std::move(message));
  }
  conversation = Conversation(*id, std::move(messages), foundation::requiredString(json, "title"),
                              foundation::requiredString(json, "prompt"));
}

}  // namespace Quillo

std::size_t std::hash<Quillo::Conversation>::operator()(
    const Quillo::Conversation& conversation) const noexcept {
  using Quillo::detail::hashCombine;
  std::size_t seed = 0;
  hashCombine(seed, std::hash<foundation::UUID>{}(conversation.id));
  hashCombine(seed, conversation.messages.size());
  for (const Quillo::Message& message : conversation.messages) {
    hashCombine(seed, std::hash<std::string>{}(Quillo::rawValue(message.role)));
    hashCombine(seed, std::hash<std::string>{}(message.content));
    hashCombine(seed, std::hash<foundation::UUID>{}(message.id));
  }
  hashCombine(seed, std::hash<std::string>{}(conversation.title));
  hashCombine(seed, std::hash<std::string>{}(conversation.prompt));
  return seed;
}
