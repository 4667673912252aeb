// Pictures of the application's views drawn with the pinned fonts, compared with their goldens: chat
// bubbles, a Markdown reply, tables in two themes, the popover with a short conversation, the settings
// window's General tab and a roadmap row.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "MarkdownRender/views/asset_image_provider.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "MarkdownRender/views/markdown_view.h"
#include "Quillo/app/app_state.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/chat_views/chat_bubble.h"
#include "Quillo/chat_views/glint_code_syntax_highlighter.h"
#include "Quillo/config/config_manager.h"
#include "Quillo/popover/menu_container_view.h"
#include "Quillo/settings_panes/general_settings_pane.h"
#include "Quillo/settings_panes/settings_view.h"
#include "Roadmap/roadmap_feature_view.h"
#include "Roadmap/roadmap_template.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/user_defaults.h"
#include "platform/render/pango_text_measurer.h"
#include "platform/render/renderer.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "platform/updater/standard_updater_controller.h"
#include "settings_store/key.h"
#include "tests/platform/render/snapshot.h"
#include "tests/support/loopback_server.h"

namespace {

using Quillo::Message;
using Quillo::Role;
using ui::testing::WindowHost;

const std::string fixtures = std::string(QUILLO_TEST_DIR) + "/fixtures";

std::string fixture(const std::string& name) {
  std::ifstream file(fixtures + "/" + name);
  std::stringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

std::unique_ptr<WindowHost> hosted(ui::AnyView view, ui::Size size,
                                   ui::ColorScheme scheme = ui::ColorScheme::light) {
  return std::make_unique<WindowHost>(std::move(view), size, std::make_shared<render::PangoTextMeasurer>(),
                                      scheme);
}

render::Canvas drawn(WindowHost& host) { return render::Renderer().draw(host.window()); }

// The view at the top of a window of `size`, at its natural height as in the scrolling chat (offered the
// whole window, blocks that scroll sideways would take all the height they are offered).
std::unique_ptr<WindowHost> atTop(ui::AnyView view, ui::Size size,
                                  ui::ColorScheme scheme = ui::ColorScheme::light) {
  return hosted(view.fixedSize(false, true).frame(size.width, size.height, ui::Alignment::top()), size,
                scheme);
}

// Bubbles get no token counter: the captions stay empty and nothing reads the vocabulary.
ui::AnyView bubble(const Message& message) {
  return ui::AnyView(Quillo::ChatBubble(message)).environment<Quillo::TokenEncoderMakerKey>([] {
    return std::shared_ptr<GPTTokenizer::GPTEncoder>();
  });
}

// Replies' pictures come from the fixtures' bundle instead of the network.
ui::AnyView withFixturePictures(ui::AnyView view) {
  auto bundle = foundation::Bundle::atPath(fixtures + "/bundle");
  return MarkdownRender::imageProvider(
      view, MarkdownRender::AnyImageProvider(
                MarkdownRender::AssetImageProvider(MarkdownRender::defaultAssetName, bundle)));
}

class AppSnapshots : public ::testing::Test {
 protected:
  void SetUp() override { Defaults::removeAllStoredValues(*foundation::UserDefaults::standard()); }
};

TEST_F(AppSnapshots, AUserAndAnAssistantBubbleInPlainText) {
  auto view = ui::VStack(ui::HorizontalAlignment::center, 0,
                         bubble(Message(Role::user, "How do I sort an array in Swift?")),
                         bubble(Message(Role::assistant,
                                        "Call sort() to sort the array in place, or sorted() to get a sorted "
                                        "copy and keep the original as it is.")));
  auto host = atTop(view, {400, 220});
  EXPECT_TRUE(rendertest::matchesSnapshot(drawn(*host), "bubbles-plain"));
}

TEST_F(AppSnapshots, AnAssistantBubbleWithMarkdownInLightAndDark) {
  Defaults::set(Quillo::Keys::enableMarkdown(), true);
  for (auto scheme : {ui::ColorScheme::light, ui::ColorScheme::dark}) {
    const bool isDark = scheme == ui::ColorScheme::dark;
    SCOPED_TRACE(isDark ? "dark" : "light");
    auto view = withFixturePictures(bubble(Message(Role::assistant, fixture("reply.md"))));
    auto host = atTop(view, {400, 560}, scheme);
    EXPECT_TRUE(
        rendertest::matchesSnapshot(drawn(*host), isDark ? "bubble-markdown-dark" : "bubble-markdown-light"));
  }
}

TEST_F(AppSnapshots, AMarkdownReplyWithTheApplicationsCodeColoursInLightAndDark) {
  for (auto scheme : {ui::ColorScheme::light, ui::ColorScheme::dark}) {
    const bool isDark = scheme == ui::ColorScheme::dark;
    SCOPED_TRACE(isDark ? "dark" : "light");
    auto reply = MarkdownRender::codeSyntaxHighlighter(
        ui::AnyView(MarkdownRender::Markdown(fixture("reply.md"))),
        std::make_shared<Quillo::GlintCodeSyntaxHighlighter>(
            Quillo::GlintCodeSyntaxHighlighter::forColorScheme(scheme)));
    auto host = atTop(withFixturePictures(ui::AnyView(reply).padding(12)), {400, 480}, scheme);
    EXPECT_TRUE(
        rendertest::matchesSnapshot(drawn(*host), isDark ? "markdown-reply-dark" : "markdown-reply-light"));
  }
}

TEST_F(AppSnapshots, ATableInTheStandardAndTheDynamicColourThemes) {
  const std::string table =
      "| Method | Mutates | Returns |\n|:--|:-:|--:|\n"
      "| `sort()` | yes | nothing |\n| `sorted()` | no | a *copy* |\n"
      "| `sort(by:)` | yes | nothing |\n| `reverse()` | **yes** | nothing |\n";
  auto view = ui::VStack(ui::HorizontalAlignment::leading, 12, ui::AnyView(MarkdownRender::Markdown(table)),
                         MarkdownRender::theme(ui::AnyView(MarkdownRender::Markdown(table)),
                                               MarkdownRender::Theme::dynamicColorTheme()))
                  .padding(12);
  auto host = atTop(view, {360, 330});
  EXPECT_TRUE(rendertest::matchesSnapshot(drawn(*host), "table-themes"));
}

TEST_F(AppSnapshots, ThePopoverWithAShortConversation) {
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-snapshot"));
  Defaults::set(Quillo::Keys::enableMarkdown(), true);
  Defaults::set(Quillo::Keys::showNative(), true);
  auto appState = Quillo::AppState::make();
  auto conversation = appState->mainConversations.get();
  conversation.messages = {
      Message(Role::user, "How do I sort an array in Swift?"),
      Message(Role::assistant,
              "Call `sort()` to sort it **in place**, or `sorted()` for a sorted copy:\n\n"
              "```swift\nvar names = [\"Zo\u00eb\", \"Ada\"]\nnames.sort()\n```"),
      Message(Role::user, "And newest first?"),
      Message(Role::assistant, "Pass a comparison: `records.sort { $0.date > $1.date }`."),
  };
  appState->mainConversations.set(conversation);
  // A version gate that fetches nothing: no update notice.
  auto popover = Quillo::MenuContainerView(Quillo::ConfigManager::make("not a URL"),
                                           std::make_shared<updater::StandardUpdaterController>(
                                               true, *foundation::URL::parse("https://quillo.app/download")));
  auto host = hosted(ui::AnyView(popover).environmentObject(appState), {500, Quillo::kPopoverHeight});
  host->settle();
  EXPECT_TRUE(rendertest::matchesSnapshot(drawn(*host), "popover"));
}

TEST_F(AppSnapshots, TheSettingsWindowsGeneralTab) {
  // The key test on appearance talks to a service on this machine that knows no key.
  testsupport::LoopbackServer service;
  Defaults::set(Quillo::Keys::useCustomAPI(), true);
  Defaults::set(Quillo::Keys::azureKey(), service.baseURL());
  auto appState = Quillo::AppState::make();
  auto host = hosted(ui::AnyView(Quillo::SettingsView()).environmentObject(appState), {560, 600});
  ASSERT_TRUE(host->runUntil([] { return Quillo::GeneralSettings::keyProbesInFlight() == 0; }));
  host->settle();
  EXPECT_TRUE(rendertest::matchesSnapshot(drawn(*host), "settings-general"));
}

class FixedCount final : public Roadmap::FeatureVoter {
 public:
  std::int64_t fetchVoteCount(const Roadmap::RoadmapFeature&) const override { return 42; }
  Roadmap::VoteResult submitVote(const Roadmap::RoadmapFeature&) const override {
    return Roadmap::VoteResult::notCounted();
  }
};

TEST_F(AppSnapshots, ARoadmapRow) {
  Roadmap::RoadmapFeature feature{"dark-mode-icons"};
  feature.title = "Menu-bar icons for dark mode";
  feature.status = "planned";
  feature.description = "Icons that stay legible on a dark menu bar, in three styles to choose from.";
  Roadmap::RoadmapConfiguration configuration(
      *foundation::URL::parse("http://127.0.0.1:1/roadmap.json"), std::make_shared<FixedCount>(),
      Roadmap::style(Roadmap::RoadmapTemplate::standard), false, true, false);
  auto host = atTop(ui::AnyView(Roadmap::RoadmapFeatureView(feature, configuration)).padding(16), {420, 180});
  ASSERT_TRUE(host->runUntil([&] { return host->exists(ui::testing::text("42")); }));
  host->settle();
  EXPECT_TRUE(rendertest::matchesSnapshot(drawn(*host), "roadmap-row"));
}

}  // namespace
