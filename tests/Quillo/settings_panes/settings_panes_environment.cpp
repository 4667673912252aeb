#include "tests/Quillo/settings_panes/settings_panes_environment.h"

#include <unistd.h>

#include <filesystem>
#include <mutex>
#include <utility>

#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/settings_panes/general_settings_pane.h"
#include "platform/appkit/application.h"
#include "platform/foundation/json_text.h"
#include "platform/foundation/user_defaults.h"
#include "platform/ui/views.h"
#include "settings_store/key.h"
#include "tests/support/temporary_settings_suite.h"

namespace settingspanestest {

namespace {

// One temporary standard suite for the whole program, removed when it ends.
[[maybe_unused]] auto* const kSuite =
    ::testing::AddGlobalTestEnvironment(new testsupport::TemporaryStandardSuite("quillo-settings-panes-"));

std::string completionBody(const std::string& content) {
  foundation::Json body = {{"id", "chatcmpl-1"},
                           {"choices",
                            {{{"index", 0},
                              {"message", {{"role", "assistant"}, {"content", content}}},
                              {"finish_reason", "stop"}}}}};
  return body.dump();
}

std::string errorBody(const std::string& message) {
  foundation::Json body = {{"error", {{"message", message}, {"type", "invalid_request_error"}}}};
  return body.dump();
}

std::string modelOf(const testsupport::RecordedRequest& request) {
  const auto body = foundation::parseJsonIfValid(request.body);
  if (!body || !body->is_object() || !body->contains("model") || !(*body)["model"].is_string()) return "";
  return (*body)["model"].get<std::string>();
}

}  // namespace

void SettingsPaneTest::SetUp() {
  Defaults::removeAllStoredValues(*foundation::UserDefaults::standard());
  appkit::Application::shared().resetForTesting();
  service_ = std::make_unique<testsupport::LoopbackServer>();
  // The roadmap the About pane opens reads its feed, and counts its votes, at the same server.
  service_->reply("GET", "/roadmap.json", testsupport::ScriptedReply::json(kRoadmapFeed));
  remoteHosts_ = std::make_unique<Roadmap::ScopedRemoteHosts>(service_->baseURL(), service_->baseURL());
  auto access = access_;
  service_->handle("POST", "/v1/chat/completions", [access](const testsupport::RecordedRequest& request) {
    const std::string model = modelOf(request);
    std::lock_guard lock(access->mutex);
    if (access->heldKey && request.header("api-key") == access->heldKey->first) {
      auto reply = testsupport::ScriptedReply::inPieces({completionBody("ok")}, access->heldKey->second);
      reply.contentType = "application/json";
      return reply;
    }
    if (access->answeredModels.count(model)) return testsupport::ScriptedReply::json(completionBody("ok"));
    return testsupport::ScriptedReply::json(
        errorBody("The model `" + model + "` does not exist or you do not have access to it."), 404);
  });
  // The key test talks to the scripted service, as a user's custom endpoint would make it.
  Defaults::set(Quillo::Keys::useCustomAPI(), true);
  Defaults::set(Quillo::Keys::azureKey(), service_->baseURL());
}

void SettingsPaneTest::TearDown() {
  remoteHosts_.reset();
  service_.reset();
}

void SettingsPaneTest::answerModels(std::set<std::string> models) {
  std::lock_guard lock(access_->mutex);
  access_->answeredModels = std::move(models);
}

void SettingsPaneTest::waitForKeyProbes(ui::testing::Host& host) {
  ASSERT_TRUE(host.runUntil([] { return Quillo::GeneralSettings::keyProbesInFlight() == 0; }));
}

std::shared_ptr<testsupport::PieceGate> SettingsPaneTest::holdRepliesFor(const std::string& apiKey) {
  auto gate = std::make_shared<testsupport::PieceGate>();
  std::lock_guard lock(access_->mutex);
  access_->heldKey = std::make_pair(apiKey, gate);
  return gate;
}

std::vector<std::pair<std::string, std::string>> SettingsPaneTest::receivedKeysAndModels() const {
  std::vector<std::pair<std::string, std::string>> result;
  for (const auto& request : service_->requests()) {
    result.emplace_back(request.header("api-key").value_or(""), modelOf(request));
  }
  return result;
}

std::vector<std::string> optionTitles(const ui::testing::ViewRef& picker) {
  return picker.primitive<ui::detail::PickerSpec>()->optionTitles;
}

std::string selectedTitle(const ui::testing::ViewRef& picker) {
  const auto* spec = picker.primitive<ui::detail::PickerSpec>();
  const auto index = spec->selectedIndex();
  return index ? spec->optionTitles[*index] : std::string();
}

}  // namespace settingspanestest
