// The "Prompts" tab of the settings window: the system prompt of the native chat.
#pragma once

#include <string>

#include "platform/ui/view.h"
#include "settings_store/default_binding.h"

namespace Quillo {

// The two-sentence prompt that "Reset to default" writes (shorter than the setting's registered default).
inline constexpr const char* kResetSystemPrompt =
    "You're a helpful assistant named Quillo. Provide clear and thorough answers but be concise.";

// The warning the panes show while no API key is stored.
inline constexpr const char* kMissingAPIKeyWarning =
    "⚠️ You need to add your OpenAI API key to use this feature.";

class PromptSettingsView final : public ui::View {
 public:
  PromptSettingsView();

  ui::AnyView body() const override;
  static ui::AnyView tabLabel();

  // Stores the two-sentence prompt as a value of its own (the stored value is not removed).
  void resetSystemPrompt() const;

 private:
  Defaults::Default<std::string> apiKey_;
  Defaults::Default<std::string> customSystemPrompt_;
};

}  // namespace Quillo
