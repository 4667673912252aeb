#include "Quillo/settings_panes/global_settings_pane.h"

#include <utility>
#include <vector>

#include "KeyboardShortcuts/recorder/recorder.h"
#include "Quillo/app/shortcut_names.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/settings_panes/picker_options.h"
#include "Quillo/settings_panes/prompt_settings_pane.h"
#include "Quillo/settings_panes/settings_caption.h"
#include "platform/ui/number_formatter.h"
#include "platform/ui/views.h"

namespace Quillo {

GlobalSettings::GlobalSettings()
    : globalApiModel_(Keys::globalApiModel()),
      apiKey_(Keys::apiKey()),
      speakGlobalOutLoud_(Keys::speakGlobalOutLoud()),
      maxLengthForSpeaking_(Keys::maxLengthForSpeaking()),
      conversationModeEnabled_(Keys::conversationModeEnabled()) {}

ui::AnyView GlobalSettings::tabLabel() { return ui::Label("Global", "star.bubble"); }

ui::AnyView GlobalSettings::body() const {
  using namespace ui;
  const bool hasNoKey = apiKey_->empty();  // a key of blanks counts as a key

  return VStack(Form({
      AnyView(KeyboardShortcuts::Recorder("Toggle Global:", ShortcutNames::showSpotlight)).disabled(hasNoKey),
      Picker<Model>("Global API Model:", globalApiModel_.binding(), modelOptions(selectableModels()))
          .frame(250, std::nullopt)
          .disabled(hasNoKey),
      settingsCaption(
          "Select which API model should be used for Quillo Global. Note that GPT-4 will be considerably "
          "slower."),
      Divider(),
      Toggle("Speak Response", speakGlobalOutLoud_.binding()),
      // Stored when the typing is committed and reads as a whole number; otherwise the stored number shows
      // again.
      TextField("Max Characters to speak", maxLengthForSpeaking_.binding(), NumberFormatter())
          .disabled(!*speakGlobalOutLoud_),
      settingsCaption("The maximum number of characters that can be in a reply that's spoken out loud."),
      Toggle("Conversation Mode", conversationModeEnabled_.binding()),
      settingsCaption(
          "Talk with ChatGPT when Global mode is open. It will automatically start recording again after the "
          "answer has been provided."),
      conditional(hasNoKey, Text(kMissingAPIKeyWarning).foregroundStyle(Color::red())),
  }));
}

}  // namespace Quillo
