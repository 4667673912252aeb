#include "Quillo/chat_model/clearer_error.h"

#include "platform/foundation/unicode.h"

namespace Quillo {

std::string rawValue(ClearerError error) {
  return error == ClearerError::doesNotExist ? "doesNotExist" : "exceeded";
}

std::optional<ClearerError> fromRawValue(std::type_identity<ClearerError>, const std::string& raw) {
  for (ClearerError error : allClearerErrors) {
    if (rawValue(error) == raw) return error;
  }
  return std::nullopt;
}

std::string_view matchText(ClearerError error) {
  switch (error) {
    case ClearerError::doesNotExist:
      return "does not exist or you do not";
    case ClearerError::exceeded:
      return "exceeded your current";
  }
  return {};
}

std::string_view adviceText(ClearerError error) {
  switch (error) {
    case ClearerError::doesNotExist:
      return "You do not have access to the model you have selected. To access GPT4 models your account "
             "needs "
             "to have a valid payment method linked, and you need to use at least $1 with GPT3.5. Check this "
             "page for more information: "
             "https://help.openai.com/en/articles/7102672-how-can-i-access-gpt-4.";
    case ClearerError::exceeded:
      return "Could not process your request. Make sure you have linked a valid payment method to your "
             "OpenAI "
             "account. Double check that you entered your API key correctly. The native features, including "
             "inline, require you to have access to the OpenAI API with a credit card linked to it.";
  }
  return {};
}

std::optional<std::string> adviceForFailure(std::string_view failureText) {
  for (ClearerError error : allClearerErrors) {
    if (foundation::containsIgnoringCaseAndDiacritics(failureText, matchText(error))) {
      return std::string(adviceText(error));
    }
  }
  return std::nullopt;
}

}  // namespace Quillo
