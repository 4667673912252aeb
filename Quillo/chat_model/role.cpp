#include "Quillo/chat_model/role.h"

#include "platform/foundation/text_error.h"

namespace Quillo {

std::string rawValue(Role role) {
  switch (role) {
    case Role::system:
      return "system";
    case Role::user:
      return "user";
    case Role::assistant:
      return "assistant";
  }
  return "user";
}

std::optional<Role> fromRawValue(std::type_identity<Role>, const std::string& raw) {
  for (Role role : allRoles) {
    if (rawValue(role) == raw) return role;
  }
  return std::nullopt;
}

void to_json(foundation::Json& json, const Role& role) { json = rawValue(role); }

void from_json(const foundation::Json& json, Role& role) {
  std::string raw = foundation::stringValue(json);
  std::optional<Role> decoded = fromRawValue(std::type_identity<Role>{}, raw);
  if (!decoded) throw foundation::TextError("\"" + raw + "\" is not a role");
  role = *decoded;
}

}  // namespace Quillo
