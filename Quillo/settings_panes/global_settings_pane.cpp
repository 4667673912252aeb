#include "Quillo/settings_panes/global_settings_pane.h"

#include <charconv>
#include <utility>
#include <vector>

#include "KeyboardShortcuts/recorder/recorder.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/settings_panes/prompt_settings_pane.h"
#include "platform/ui/views.h"

namespace Quillo {

namespace {

ui::AnyView caption(const std::string& text) {
  using namespace ui;
  return Text(text)
      .font(Font::system(11))
      .foregroundStyle(Color::secondary())
      .fixedSize(false, true)
      .padding(Edges::bottom, 1);
}

}  // namespace

std::optional<std::int64_t> parsedWholeNumber(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const auto last = text.find_last_not_of(" \t");
  std::string_view digits(text.data() + first, last - first + 1);
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) return std::nullopt;
  return value;
}

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

  std::vector<std::pair<Model, std::string>> models;
  for (Model model : allModels) {
    if (model != Model::turbo31) models.emplace_back(model, displayName(model));
  }
  // The field shows the stored number; text the formatter cannot read leaves the setting as it is.
  const auto maxLength = maxLengthForSpeaking_;
  Binding<std::string> maxLengthText([maxLength] { return std::to_string(maxLength.get()); },
                                     [maxLength](std::string text) {
                                       if (auto value = parsedWholeNumber(text)) maxLength.set(*value);
                                     });

  return VStack(Form({
      AnyView(KeyboardShortcuts::Recorder("Toggle Global:", KeyboardShortcuts::Name("showSpotlight")))
          .disabled(hasNoKey),
      Picker<Model>("Global API Model:", globalApiModel_.binding(), models)
          .frame(250, std::nullopt)
          .disabled(hasNoKey),
      caption("Select which API model should be used for Quillo Global. Note that GPT-4 will be considerably "
              "slower."),
      Divider(),
      Toggle("Speak Response", speakGlobalOutLoud_.binding()),
      TextField("Max Characters to speak", maxLengthText).disabled(!*speakGlobalOutLoud_),
      caption("The maximum number of characters that can be in a reply that's spoken out loud."),
      Toggle("Conversation Mode", conversationModeEnabled_.binding()),
      caption(
          "Talk with ChatGPT when Global mode is open. It will automatically start recording again after the "
          "answer has been provided."),
      conditional(hasNoKey, Text(kMissingAPIKeyWarning).foregroundStyle(Color::red())),
  }));
}

}  // namespace Quillo
