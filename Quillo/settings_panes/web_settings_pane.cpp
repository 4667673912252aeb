#include "Quillo/settings_panes/web_settings_pane.h"

#include <string>
#include <utility>

#include "Quillo/settings_panes/settings_caption.h"
#include "platform/ui/views.h"

namespace Quillo {

namespace {

// Captions here keep to a narrow column beside the toggles.
ui::AnyView caption(const std::string& text) { return settingsCaption(text).frame(250, std::nullopt); }

}  // namespace

WebSettings::WebSettings(ui::AppStorage<bool> useCustomUserAgent, Defaults::Default<bool> webDefaultToGPT4)
    : useCustomUserAgent_(std::move(useCustomUserAgent)), webDefaultToGPT4_(std::move(webDefaultToGPT4)) {}

ui::AnyView WebSettings::tabLabel() { return ui::Label("Web", "safari"); }

ui::AnyView WebSettings::body() const {
  using namespace ui;
  return Form({Group(
      Toggle("Use Custom User Agent", useCustomUserAgent_.binding()),
      caption("Enable this setting if you are having issues logging into the web version of ChatGPT."),
      Toggle("Default to GPT-4", webDefaultToGPT4_.binding()),
      caption("Automatically select GPT-4 from the model picker when the page loads. This requires a ChatGPT "
              "Plus subscription"))});
}

}  // namespace Quillo
