#include "Quillo/settings_panes/prompt_settings_pane.h"

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/settings_panes/settings_caption.h"
#include "platform/ui/views.h"

namespace Quillo {

PromptSettingsView::PromptSettingsView()
    : apiKey_(Keys::apiKey()), customSystemPrompt_(Keys::customSystemPrompt()) {}

ui::AnyView PromptSettingsView::tabLabel() { return ui::Label("Prompts", "text.book.closed"); }

void PromptSettingsView::resetSystemPrompt() const { customSystemPrompt_.set(kResetSystemPrompt); }

ui::AnyView PromptSettingsView::body() const {
  using namespace ui;
  const auto self = *this;
  auto editor = ZStack(
      AnyView(Color::controlBackgroundColor()).clipShape(RoundedRectangle(10, CornerStyle::continuous)),
      TextEditor(customSystemPrompt_.binding())
          .font(Font::body())
          .frame(std::nullopt, 100)
          .padding(4)
          .padding(Edges::top, 4));
  return VStack(Form({
      editor,
      settingsCaption(
          "Adjust the system prompt that is used to instruct Quillo across all native parts of the app."),
      Button("Reset to default", [self] { self.resetSystemPrompt(); }).buttonStyle(ButtonStyle::plain),
      conditional(apiKey_->empty(), Text(kMissingAPIKeyWarning).foregroundStyle(Color::red())),
  }));
}

}  // namespace Quillo
