#include "Quillo/settings_panes/inline_settings_pane.h"

#include "Quillo/settings_panes/picker_options.h"
#include "Quillo/settings_panes/prompt_settings_pane.h"
#include "platform/accessibility/element_access.h"
#include "platform/ui/views.h"

namespace Quillo {

namespace {

ui::AnyView note(const std::string& text, const ui::Color& color = ui::Color::secondaryLabelColor()) {
  using namespace ui;
  return Text(text).font(Font::system(11)).foregroundStyle(color).fixedSize(false, true);
}

}  // namespace

std::string triggerKeyName(InlineTrigger trigger) {
  return trigger == InlineTrigger::normalReturn ? "Return" : "Shift-Return";
}

void requestAccessibilityPermission() {
  // The platform shows its own prompt when the process is not trusted yet; the answer is ignored.
  (void)ax::isProcessTrustedWithPrompt();
}

InlineSettingsView::InlineSettingsView(ui::Binding<bool> isAccessibilityGranted,
                                       Defaults::Default<bool> enableInline,
                                       Defaults::Default<std::string> globalGPTKey,
                                       Defaults::Default<std::string> apiKey,
                                       Defaults::Default<InlineTrigger> inlineTrigger,
                                       Defaults::Default<Model> inlineApiModel)
    : isAccessibilityGranted_(std::move(isAccessibilityGranted)),
      enableInline_(std::move(enableInline)),
      globalGPTKey_(std::move(globalGPTKey)),
      apiKey_(std::move(apiKey)),
      inlineTrigger_(std::move(inlineTrigger)),
      inlineApiModel_(std::move(inlineApiModel)) {}

ui::AnyView InlineSettingsView::tabLabel() { return ui::Label("Inline", "text.badge.star"); }

ui::AnyView InlineSettingsView::body() const {
  using namespace ui;
  const bool isGranted = isAccessibilityGranted_.get();
  const bool hasNoKey = apiKey_->empty();  // a key of blanks counts as a key
  // The check box asks for no particular system release: every Linux desktop counts as the newest one.
  const bool isCheckBoxUsable = isGranted && !hasNoKey;

  std::vector<std::pair<std::string, std::string>> words;
  for (const auto& word : kTriggerWords) words.emplace_back(word, word);
  std::vector<std::pair<InlineTrigger, std::string>> triggers;
  for (InlineTrigger trigger : allInlineTriggers) triggers.emplace_back(trigger, triggerKeyName(trigger));

  auto accessibilityRows =
      isGranted
          ? Group(Text("✅ Accessibility granted").foregroundStyle(Color::green()))
          : Group(Text("⚠️ Accessibility not granted")
                      .foregroundStyle(Color::red())
                      .padding(Edges::bottom, 0.5),
                  note("Quillo Inline needs accessibility permission to work with text fields in other apps. "
                       "I'm working on improving the compatibility across more apps."),
                  Button("Grant Accessibility Privileges", [] { requestAccessibilityPermission(); }));

  return VStack(Form({
      Toggle("Enable Quillo Inline", enableInline_.binding()).disabled(!isCheckBoxUsable),
      Text::localized(kInlineHowToKey, {*globalGPTKey_, triggerKeyName(*inlineTrigger_)})
          .font(Font::system(11))
          .foregroundStyle(Color::secondaryLabelColor())
          .fixedSize(false, true)
          .padding(Edges::bottom, 1),
      conditional(hasNoKey, Text(kMissingAPIKeyWarning)
                                .foregroundStyle(Color::red())
                                .fixedSize(false, true)
                                .padding(Edges::bottom, 1)),
      accessibilityRows,
      Group(
          Picker<Model>("Inline API Model:", inlineApiModel_.binding(), modelOptions(selectableModels()))
              .frame(250, std::nullopt)
              .disabled(hasNoKey),
          note(
              "Select which API model should be used for Quillo Inline. Note that GPT-4 will be considerably "
              "slower.")
              .padding(Edges::bottom, 1)),
      Group(Picker<std::string>("Trigger word:", globalGPTKey_.binding(), verbatimOptions(words))
                .frame(200, std::nullopt)
                .disabled(hasNoKey),
            note("Select the trigger phrase that is used to detect when you want to invoke Quillo Inline.")),
      Group(Picker<InlineTrigger>("Trigger method:", inlineTrigger_.binding(), verbatimOptions(triggers))
                .frame(250, std::nullopt)
                .disabled(hasNoKey),
            note("Select the trigger action you need to do to send the prompt. Shift-Return works better in "
                 "messaging apps where the return key is used to send.")),
  }));
}

}  // namespace Quillo
