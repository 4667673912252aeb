#include "Quillo/chat_model/message.h"

#include "Quillo/common/hash_combine.h"

namespace Quillo {

void to_json(foundation::Json& json, const Message& message) {
  json = foundation::Json::object();
  json["role"] = rawValue(message.role);
  json["content"] = message.content;
}

void from_json(const foundation::Json& json, Message& message) {
  Role role;
  from_json(foundation::requiredMember(json, "role"), role);
  message = Message(role, foundation::requiredString(json, "content"));
}

}  // namespace Quillo

std::size_t std::hash<Quillo::Message>::operator()(const Quillo::Message& message) const noexcept {
  std::size_t seed = 0;
  Quillo::detail::hashCombine(seed, static_cast<std::size_t>(message.role));
  Quillo::detail::hashCombine(seed, std::hash<std::string>{}(message.content));
  Quillo::detail::hashCombine(seed, std::hash<foundation::UUID>{}(message.id));
  return seed;
}
