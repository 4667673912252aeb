// The "Inline" tab of the settings window: the Inline switch, the Accessibility permission, and the
// model, trigger word and trigger key that the Inline engine reads.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Quillo/chat_model/inline_trigger.h"
#include "Quillo/chat_model/model.h"
#include "platform/ui/binding.h"
#include "platform/ui/view.h"
#include "settings_store/default_binding.h"

namespace Quillo {

// The trigger words the pane offers, in order.
inline const std::vector<std::string> kTriggerWords = {"+gpt", ":gpt", "/gpt", ".gpt", "-gpt"};

// "Return" or "Shift-Return".
std::string triggerKeyName(InlineTrigger trigger);

// The localization key of the how-to line; its arguments are the trigger word (shown in straight
// quotation marks) and the trigger key's name.
inline constexpr const char* kInlineHowToKey =
    "Type \"%@\" in any text field, followed by your prompt. Press %@ and watch Quillo Inline do its magic. "
    "💫";

// Asks the system whether this process is a trusted Accessibility client, with the user prompted to
// allow it when it is not. The answer is not used: the granted state reaches the pane through AppState,
// whose flag the application's poll sets.
void requestAccessibilityPermission();

// The pane never talks to the Inline engine: it only writes settings, which the application delegate
// and the engine read.
class InlineSettingsView final : public ui::View {
 public:
  InlineSettingsView(ui::Binding<bool> isAccessibilityGranted, Defaults::Default<bool> enableInline,
                     Defaults::Default<std::string> globalGPTKey, Defaults::Default<std::string> apiKey,
                     Defaults::Default<InlineTrigger> inlineTrigger, Defaults::Default<Model> inlineApiModel);

  ui::AnyView body() const override;
  static ui::AnyView tabLabel();

 private:
  ui::Binding<bool> isAccessibilityGranted_;
  Defaults::Default<bool> enableInline_;
  Defaults::Default<std::string> globalGPTKey_;
  Defaults::Default<std::string> apiKey_;
  Defaults::Default<InlineTrigger> inlineTrigger_;
  Defaults::Default<Model> inlineApiModel_;
};

}  // namespace Quillo
