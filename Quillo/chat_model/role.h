// Who speaks in a chat message.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <type_traits>

#include "platform/foundation/json_text.h"

namespace Quillo {

enum class Role { system, user, assistant };

inline constexpr std::array<Role, 3> allRoles = {Role::system, Role::user, Role::assistant};

// "system", "user", "assistant".
std::string rawValue(Role role);
// The role of a raw value, or nothing for any other text.
std::optional<Role> fromRawValue(std::type_identity<Role>, const std::string& raw);

// Coded as its raw value; decoding any other value throws foundation::TextError.
void to_json(foundation::Json& json, const Role& role);
void from_json(const foundation::Json& json, Role& role);

}  // namespace Quillo
