#include "tests/Quillo/global/global_world.h"

#include <nlohmann/json.hpp>

#include <utility>

#include "KeyboardShortcuts/registry.h"
#include "Quillo/chat_model/settings_keys.h"
#include "platform/appkit/application.h"
#include "platform/appkit/event_dispatch.h"
#include "platform/appkit/key_codes.h"
#include "platform/foundation/user_defaults.h"
#include "platform/ui/hosting.h"
#include "settings_store/key.h"
#include "tests/support/chat_stream.h"
#include "tests/support/remote_services_environment.h"
#include "tests/support/temporary_settings_suite.h"

namespace globaltest {
namespace {

[[maybe_unused]] auto* const kSuite =
    ::testing::AddGlobalTestEnvironment(new testsupport::TemporaryStandardSuite("quillo-global-"));
auto* const kServices =
    static_cast<testsupport::RemoteServicesEnvironment*>(::testing::AddGlobalTestEnvironment(
        new testsupport::RemoteServicesEnvironment({{"/config.json", R"({"latestVersion": 1})"}})));

// Shortcuts no test presses by accident: Control-Option-Command with a letter.
KeyboardShortcuts::Shortcut shortcutFor(const KeyboardShortcuts::Name& name) {
  constexpr std::int64_t kModifiers = 0x1000 | 0x800 | 0x100;
  if (name.rawValue == "openChat") return KeyboardShortcuts::Shortcut(31, kModifiers);      // O
  if (name.rawValue == "showSpotlight") return KeyboardShortcuts::Shortcut(5, kModifiers);  // G
  return KeyboardShortcuts::Shortcut(1, kModifiers);                                        // S
}

}  // namespace

testsupport::LoopbackServer& chatService() { return kServices->server(); }

void replyWith(const std::vector<std::string>& pieces) {
  chatService().reply(
      "POST", kChatPath,
      testsupport::ScriptedReply::text(testsupport::streamedBody(pieces), 200, "text/event-stream"));
}

void failWith(int status, const std::string& message) {
  chatService().reply("POST", kChatPath,
                      testsupport::ScriptedReply::json(testsupport::errorBody(message), status));
}

std::shared_ptr<testsupport::PieceGate> replyGated(const std::vector<std::string>& pieces) {
  auto gate = std::make_shared<testsupport::PieceGate>();
  std::vector<std::string> lines;
  for (const auto& piece : pieces) lines.push_back(testsupport::chunkLine(piece));
  lines.push_back("data: [DONE]\n\n");
  auto reply = testsupport::ScriptedReply::inPieces(lines, gate);
  reply.contentType = "text/event-stream";
  chatService().reply("POST", kChatPath, reply);
  return gate;
}

std::string promptOf(const testsupport::RecordedRequest& request) {
  const auto body = nlohmann::json::parse(request.body);
  return body.at("messages").back().at("content").get<std::string>();
}

void GlobalTest::SetUp() {
  appkit::Application::shared().resetForTesting();
  KeyboardShortcuts::detail::resetRegistryForTesting();
  Defaults::removeAllStoredValues(*foundation::UserDefaults::standard());
  Defaults::set(Quillo::Keys::apiKey(), std::string(kAPIKey));
  Defaults::set(Quillo::Keys::useCustomAPI(), true);
  Defaults::set(Quillo::Keys::azureKey(), chatService().baseURL());
  desktop.setPermissionGranted("speechRecognition", true);
  desktop.setPermissionGranted("microphone", true);
  replyWith({"Hello", " there"});
}

void GlobalTest::TearDown() {
  appkit::Application::shared().resetForTesting();
  KeyboardShortcuts::detail::resetRegistryForTesting();
  loop.runUntilIdle();
}

std::shared_ptr<Quillo::StatusBarDelegate> GlobalTest::launch() {
  auto delegate = std::make_shared<Quillo::StatusBarDelegate>();
  appkit::Application::shared().setDelegate(delegate);
  appkit::Application::shared().finishLaunching();
  settle();
  return delegate;
}

void GlobalTest::pressHotKey(const KeyboardShortcuts::Name& name) {
  const auto shortcut = shortcutFor(name);
  if (KeyboardShortcuts::readStoredShortcut(name) != shortcut) KeyboardShortcuts::storeShortcut(shortcut, name);
  settle();
  const auto keyCode = static_cast<std::uint32_t>(shortcut.carbonKeyCode);
  const auto modifiers = static_cast<std::uint32_t>(shortcut.carbonModifiers);
  desktop.hotKeys().press(keyCode, modifiers);
  desktop.hotKeys().release(keyCode, modifiers);
  settle();
}

std::unique_ptr<ui::testing::Inspector> GlobalTest::inspect(const Quillo::SpotlightWindowController& controller) {
  auto hosting = controller.hostingView();
  if (!hosting) throw ui::testing::InspectionError("the Global window hosts no views");
  return std::make_unique<ui::testing::Inspector>(hosting->graph());
}

std::unique_ptr<ui::testing::Inspector> GlobalTest::inspect(
    const std::shared_ptr<appkit::WindowController>& controller) {
  auto spotlight = std::dynamic_pointer_cast<Quillo::SpotlightWindowController>(controller);
  if (!spotlight) throw ui::testing::InspectionError("no Global window is open");
  return inspect(*spotlight);
}

void GlobalTest::pressEscape() {
  appkit::dispatchEvent(appkit::Event::keyEvent(appkit::EventType::keyDown, appkit::KeyCode::escape,
                                                appkit::ModifierFlags(), "\x1b"));
}

std::size_t GlobalTest::windowsTitled(const std::string& title) {
  std::size_t count = 0;
  for (const auto& window : appkit::Application::shared().windows()) count += window->title() == title;
  return count;
}

}  // namespace globaltest
