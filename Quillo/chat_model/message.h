// One chat message: who speaks, what is said, and an identity for lists.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "Quillo/chat_model/role.h"
#include "platform/foundation/json_text.h"
#include "platform/foundation/uuid.h"

namespace Quillo {

// The id is made fresh whenever a message is created, and also whenever one is decoded: it never reaches
// the wire or the settings store. Two messages with the same role and text are different messages.
struct Message {
  Role role = Role::user;
  std::string content;
  foundation::UUID id;

  Message() = default;  // a user message with no text (the target of decoding)
  Message(Role role, std::string content) : role(role), content(std::move(content)) {}

  bool operator==(const Message&) const = default;  // role, content, id
};

// Exactly the keys "role" and "content". Decoding requires both (role one of the three raw values,
// content a string), throws foundation::TextError otherwise, and gives the message a fresh id.
void to_json(foundation::Json& json, const Message& message);
void from_json(const foundation::Json& json, Message& message);

}  // namespace Quillo

template <>
struct std::hash<Quillo::Message> {
  std::size_t operator()(const Quillo::Message& message) const noexcept;
};
