#include "tests/Quillo/app/app_world.h"

#include <utility>

#include "Quillo/chat_model/settings_keys.h"
#include "platform/foundation/user_defaults.h"
#include "platform/ui/hosting.h"
#include "settings_store/key.h"
#include "tests/support/chat_stream.h"
#include "tests/support/remote_services_environment.h"
#include "tests/support/temporary_settings_suite.h"

namespace apptest {
namespace {

[[maybe_unused]] auto* const kSuite =
    ::testing::AddGlobalTestEnvironment(new testsupport::TemporaryStandardSuite("quillo-app-"));
auto* const kServices = static_cast<testsupport::RemoteServicesEnvironment*>(
    ::testing::AddGlobalTestEnvironment(new testsupport::RemoteServicesEnvironment(
        {{"/config.json", R"({"latestVersion": 1})"}, {"/roadmap.json", kRoadmapFeed}})));

}  // namespace

testsupport::LoopbackServer& remoteServices() { return kServices->server(); }

void emptyStandardSuite() { Defaults::removeAllStoredValues(*foundation::UserDefaults::standard()); }

void replyWith(const std::vector<std::string>& pieces) {
  remoteServices().reply(
      "POST", "/v1/chat/completions",
      testsupport::ScriptedReply::text(testsupport::streamedBody(pieces), 200, "text/event-stream"));
}

LaunchedApplication::LaunchedApplication() : scenes(app.body()) {
  scenes.install();
  appkit::Application::shared().finishLaunching();
}

LaunchedApplication::~LaunchedApplication() { appkit::Application::shared().resetForTesting(); }

void freshApplicationPointedAtServices() {
  appkit::Application::shared().resetForTesting();
  emptyStandardSuite();
  Defaults::set(Quillo::Keys::apiKey(), std::string(kAPIKey));
  Defaults::set(Quillo::Keys::useCustomAPI(), true);
  Defaults::set(Quillo::Keys::azureKey(), remoteServices().baseURL());
}

void AppTest::SetUp() {
  freshApplicationPointedAtServices();
  replyWith({"Hello", " there"});
}

void AppTest::TearDown() {
  appkit::Application::shared().resetForTesting();
  loop.runUntilIdle();
}

void AppTest::advanceSeconds(double seconds) { advance(foundation::durationFromSeconds(seconds)); }

bool AppTest::runUntil(const std::function<bool()>& isDone) { return loop.runUntil(isDone); }

std::shared_ptr<appkit::StyledWindow> AppTest::windowTitled(const std::string& title) {
  for (const auto& window : appkit::Application::shared().windows()) {
    if (window->title() == title) return window;
  }
  return nullptr;
}

std::size_t AppTest::windowsTitled(const std::string& title) {
  std::size_t count = 0;
  for (const auto& window : appkit::Application::shared().windows()) count += window->title() == title;
  return count;
}

std::unique_ptr<ui::testing::Inspector> AppTest::inspect(
    const std::shared_ptr<appkit::StyledWindow>& window) {
  auto hosting = window ? std::dynamic_pointer_cast<ui::HostingView>(window->contentView()) : nullptr;
  if (!hosting) throw ui::testing::InspectionError("no hosted views in the window");
  return std::make_unique<ui::testing::Inspector>(hosting->graph());
}

std::unique_ptr<ui::testing::Inspector> AppTest::inspectPopover(const Quillo::StatusBarDelegate& delegate) {
  auto controller =
      std::dynamic_pointer_cast<ui::HostingController>(delegate.popover->contentViewController());
  if (!controller) throw ui::testing::InspectionError("the popover hosts no views");
  return std::make_unique<ui::testing::Inspector>(controller->graph());
}

void AppTest::clickStatusItem() {
  auto items = desktop.statusBar().items();
  ASSERT_EQ(items.size(), 1u);
  desktop.statusBar().click(items.front().number);
  settle();
}

ui::testing::ViewQuery symbol(std::string name) {
  return ui::testing::ViewQuery("symbol " + name, [name](const ui::detail::Node& node) {
    auto* image = node.primitiveAs<ui::detail::ImageSpec>();
    return image && image->source == ui::detail::ImageSpec::Source::systemSymbol && image->name == name;
  });
}

}  // namespace apptest
