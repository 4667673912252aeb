// What every settings-pane test shares: a temporary standard settings suite (the settings keys are made
// once per process against it), emptied before each test, a fresh application window list, and a scripted
// server on 127.0.0.1: the chat service the key test talks to through the custom-endpoint settings, and
// the maker's host with the roadmap feed.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Roadmap/remote_hosts.h"
#include "platform/ui/inspector.h"
#include "tests/support/loopback_server.h"

namespace settingspanestest {

// The roadmap feed the scripted server gives.
inline constexpr const char* kRoadmapFeed =
    R"([{"id": "1", "title": "Dark mode", "status": "Planned"}, {"id": "2", "title": "Export to PDF"}])";

// Which models the scripted service answers; every other model gets a failure status.
struct ServiceAccess {
  std::mutex mutex;  // guards answeredModels: the test writes it, the server's threads read it
  std::set<std::string> answeredModels;
  // When set, replies to requests with this "api-key" wait until the gate lets them go.
  std::optional<std::pair<std::string, std::shared_ptr<testsupport::PieceGate>>> heldKey;
};

class SettingsPaneTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Sets which models answer (default: none answer).
  void answerModels(std::set<std::string> models);
  // Holds the replies to requests made with `apiKey` until the returned gate is opened.
  std::shared_ptr<testsupport::PieceGate> holdRepliesFor(const std::string& apiKey);
  // Runs the main queue until every key probe sent so far has been applied.
  static void waitForKeyProbes(ui::testing::Host& host);
  // The "api-key" headers and models of the requests the service received, in order of arrival.
  std::vector<std::pair<std::string, std::string>> receivedKeysAndModels() const;

  std::unique_ptr<testsupport::LoopbackServer> service_;
  std::unique_ptr<Roadmap::ScopedRemoteHosts> remoteHosts_;
  std::shared_ptr<ServiceAccess> access_ = std::make_shared<ServiceAccess>();
};

// The option titles of a picker and the title of its selected option (empty when none is selected).
std::vector<std::string> optionTitles(const ui::testing::ViewRef& picker);
std::string selectedTitle(const ui::testing::ViewRef& picker);

}  // namespace settingspanestest
