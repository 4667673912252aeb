// The key that sends an Inline prompt.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <type_traits>

#include "platform/foundation/json_text.h"

namespace Quillo {

// Return without modifiers, or Return with exactly Shift.
enum class InlineTrigger { normalReturn, shiftReturn };

inline constexpr std::array<InlineTrigger, 2> allInlineTriggers = {InlineTrigger::normalReturn,
                                                                   InlineTrigger::shiftReturn};

// "normalReturn", "shiftReturn"; also the identity in lists.
std::string rawValue(InlineTrigger trigger);
std::optional<InlineTrigger> fromRawValue(std::type_identity<InlineTrigger>, const std::string& raw);

// Coded as its raw value; as a setting it is stored as the JSON text of the raw value.
void to_json(foundation::Json& json, const InlineTrigger& trigger);
void from_json(const foundation::Json& json, InlineTrigger& trigger);

}  // namespace Quillo
