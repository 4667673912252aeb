// The two service failures that puzzle users, and the advice shown in front of their messages.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace Quillo {

// An account without access to the chosen model, and an account without a usable payment method.
enum class ClearerError { doesNotExist, exceeded };

// In the order in which failure texts are tested.
inline constexpr std::array<ClearerError, 2> allClearerErrors = {ClearerError::doesNotExist,
                                                                 ClearerError::exceeded};

// "doesNotExist", "exceeded".
std::string rawValue(ClearerError error);
std::optional<ClearerError> fromRawValue(std::type_identity<ClearerError>, const std::string& raw);

// The words that reveal the failure in the service's message.
std::string_view matchText(ClearerError error);
// The advice shown before the service's message (not localized).
std::string_view adviceText(ClearerError error);

// For the text of one of the chat client's own text failures: the advice of the first known failure whose
// match text the failure text contains, ignoring case and diacritics; nothing otherwise. Only text
// failures are looked up; network failures and cancellations never get advice.
std::optional<std::string> adviceForFailure(std::string_view failureText);

}  // namespace Quillo
