// Draws the README's screenshots of the application on the headless desktop with the renderer the
// application uses, in the fonts the drawing tests pin: the popover with a short conversation, the native
// chat with a Markdown reply and the settings window. Usage: quillo-screenshots [output folder, default
// docs/screenshots]
#include <unistd.h>

#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "Quillo/app/app_state.h"
#include "Quillo/chat_model/conversation.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/chat_views/main_chat.h"
#include "Quillo/config/config_manager.h"
#include "Quillo/popover/menu_container_view.h"
#include "Quillo/settings_panes/general_settings_pane.h"
#include "Quillo/settings_panes/settings_view.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/user_defaults.h"
#include "platform/render/pango_text_measurer.h"
#include "platform/render/renderer.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "platform/updater/standard_updater_controller.h"
#include "settings_store/key.h"

namespace {

const char* const reply = R"(Keep the records sorted by date and take the first ones:

```swift
var records = try load(from: url)
records.sort { $0.date > $1.date }
try save(records.prefix(10), to: url)
```

- `sort(by:)` sorts **in place** and is stable
- `prefix(_:)` gives at most that many elements

| Method | Mutates | Returns |
|:--|:-:|--:|
| `sort()` | yes | nothing |
| `sorted()` | no | a copy |
)";

std::unique_ptr<ui::testing::WindowHost> hosted(ui::AnyView view, ui::Size size) {
  return std::make_unique<ui::testing::WindowHost>(std::move(view), size,
                                                   std::make_shared<render::PangoTextMeasurer>());
}

void write(ui::testing::WindowHost& host, const std::filesystem::path& file) {
  render::Renderer().draw(host.window(), 2).writePNG(file);
  std::cout << "wrote " << file.string() << "\n";
}

void nativeChat(const std::filesystem::path& folder) {
  auto conversation = std::make_shared<Quillo::Conversation>();
  conversation->messages = {Quillo::Message(Quillo::Role::user, "How do I keep only the ten newest records?"),
                            Quillo::Message(Quillo::Role::assistant, reply)};
  ui::Binding<std::shared_ptr<Quillo::ChatGPTAPI>> api([] { return std::shared_ptr<Quillo::ChatGPTAPI>(); },
                                                       [](const std::shared_ptr<Quillo::ChatGPTAPI>&) {});
  ui::Binding<Quillo::Conversation> shown(
      [conversation] { return *conversation; },
      [conversation](const Quillo::Conversation& changed) { *conversation = changed; });
  auto host = hosted(Quillo::MainChat(api, shown), {400, 650});
  write(*host, folder / "native-chat.png");
}

void popover(const std::filesystem::path& folder) {
  Defaults::set(Quillo::Keys::showNative(), true);
  auto appState = Quillo::AppState::make();
  auto conversation = appState->mainConversations.get();
  conversation.messages = {
      Quillo::Message(Quillo::Role::user, "How do I sort an array in Swift?"),
      Quillo::Message(Quillo::Role::assistant,
                      "Call `sort()` to sort it **in place**, or `sorted()` for a sorted copy:\n\n"
                      "```swift\nvar names = [\"Zo\u00eb\", \"Ada\", \"Linus\"]\nnames.sort()\n```"),
      Quillo::Message(Quillo::Role::user, "And newest first?"),
      Quillo::Message(Quillo::Role::assistant, "Pass a comparison: `records.sort { $0.date > $1.date }`."),
  };
  appState->mainConversations.set(conversation);
  // A version gate that fetches nothing: no update notice.
  auto view = Quillo::MenuContainerView(Quillo::ConfigManager::make("not a URL"),
                                        std::make_shared<updater::StandardUpdaterController>(
                                            false, *foundation::URL::parse("https://quillo.app/download")));
  auto host = hosted(ui::AnyView(view).environmentObject(appState), {500, Quillo::kPopoverHeight});
  host->settle();
  write(*host, folder / "popover.png");
}

void settingsWindow(const std::filesystem::path& folder) {
  auto appState = Quillo::AppState::make();
  auto host = hosted(ui::AnyView(Quillo::SettingsView()).environmentObject(appState), {560, 600});
  // The pane tests the key when it appears; the test ends at once against a port nobody listens on.
  host->runUntil([] { return Quillo::GeneralSettings::keyProbesInFlight() == 0; });
  host->settle();
  write(*host, folder / "settings.png");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::filesystem::path folder = argc > 1 ? argv[1] : "docs/screenshots";
    std::filesystem::create_directories(folder);
    // The application's resources as the source tree holds them, wherever the tool was built.
    foundation::Bundle::setMainResourceDirectory(std::filesystem::path(QUILLO_SOURCE_DIR) / "resources");
    render::TextEngine::shared().pinFonts(std::filesystem::path(QUILLO_SOURCE_DIR) /
                                          "tests/platform/render/fixtures/fonts.conf");
    // The screenshots' settings live in a folder of their own, never in the user's.
    const auto settings =
        std::filesystem::temp_directory_path() / ("quillo-screenshots-" + std::to_string(::getpid()));
    foundation::UserDefaults::setStandard(foundation::UserDefaults::suite("standard", settings));
    Defaults::set(Quillo::Keys::apiKey(), std::string("sk-screenshot"));
    Defaults::set(Quillo::Keys::enableMarkdown(), true);
    Defaults::set(Quillo::Keys::useCustomAPI(), true);
    Defaults::set(Quillo::Keys::azureKey(), std::string("http://127.0.0.1:9"));
    popover(folder);
    nativeChat(folder);
    settingsWindow(folder);
    foundation::UserDefaults::setStandard(nullptr);
    std::filesystem::remove_all(settings);
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "quillo-screenshots: " << error.what() << "\n";
    return 1;
  }
}
