// The page that asks for the user's API key in place of the native chat: an illustration, a title, a
// key field with a Submit button, and a link to the service's article on finding a key.
#pragma once

#include <string>

#include "platform/ui/focus_state.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"
#include "settings_store/default_binding.h"

namespace Quillo {

// The service's help article on finding the secret API key.
inline constexpr const char* apiKeyHelpArticleAddress =
    "https://help.openai.com/en/articles/4936850-where-do-i-find-my-openai-api-key";

class APIKeyOnboard final : public ui::View {
 public:
  APIKeyOnboard();
  ui::AnyView body() const override;

  // Stores the field's text as the API key exactly as typed (no trimming, no check of its form).
  void submitAPIKey() const;

  // Whether the key field has keyboard focus (it takes it each time the page is shown).
  bool isFocused() const { return *isFocused_; }

 private:
  Defaults::Default<std::string> apiKey_;
  ui::State<std::string> internalAPIKey_{""};
  ui::FocusState<bool> isFocused_;
};

}  // namespace Quillo
