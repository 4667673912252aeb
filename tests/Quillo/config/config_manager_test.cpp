#include "Quillo/config/config_manager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/foundation/bundle.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/url.h"
#include "tests/support/loopback_server.h"
#include "tests/support/temporary_folder.h"

namespace {

using Quillo::ConfigManager;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;
using testsupport::LoopbackServer;
using testsupport::ScriptedReply;
using testsupport::TemporaryFolder;

// A bundle whose Info.plist holds the given "CFBundleVersion" entry (written as is), or none.
class BundleWithBuild {
 public:
  explicit BundleWithBuild(std::optional<std::string> versionEntry) {
    std::ofstream info(folder_.path() / "Info.plist");
    info << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
         << "<key>CFBundleIdentifier</key><string>com.quillo.test</string>\n";
    if (versionEntry) info << "<key>CFBundleVersion</key>" << *versionEntry << "\n";
    info << "</dict>\n</plist>\n";
  }
  std::shared_ptr<foundation::Bundle> bundle() const {
    return std::make_shared<foundation::Bundle>(folder_.path());
  }

 private:
  TemporaryFolder folder_;
};

std::string build(const std::string& number) { return "<string>" + number + "</string>"; }

// Records what the manager publishes, and on which thread.
class VersionGateTest : public testing::Test {
 protected:
  // Starts a manager over a bundle whose "CFBundleVersion" entry is `versionEntry` (none when nothing).
  std::shared_ptr<ConfigManager> start(const std::string& url, std::optional<std::string> versionEntry) {
    bundles.push_back(std::make_unique<BundleWithBuild>(std::move(versionEntry)));
    manager = ConfigManager::make(url, bundles.back()->bundle());
    allowedSubscription = manager->allowedVersionPublisher().sink([this](std::int64_t value) {
      allowedVersions.push_back(value);
      if (!foundation::isMainThread()) ++deliveriesOffMain;
    });
    updateSubscription = manager->shouldUpdatePublisher().sink([this](bool value) {
      shouldUpdates.push_back(value);
      if (!foundation::isMainThread()) ++deliveriesOffMain;
    });
    return manager;
  }

  // Runs the main queue until the fetched configuration was applied (or the fetch failed), then until
  // everything queued after that has run too.
  void runUntilSettled() {
    ASSERT_TRUE(
        mainLoop.loop().runUntil([this] { return allowedVersions.size() > 1 || shouldUpdates.size() > 1; }));
    mainLoop.loop().runUntilIdle();
  }

  foundation::ScopedMainRunLoop mainLoop;
  LoopbackServer server;
  foundation::LogCapture log;
  std::vector<std::unique_ptr<BundleWithBuild>> bundles;  // kept until the end: bundles read Info lazily
  std::shared_ptr<ConfigManager> manager;
  concurrency::AnyCancellable allowedSubscription;
  concurrency::AnyCancellable updateSubscription;
  std::vector<std::int64_t> allowedVersions;
  std::vector<bool> shouldUpdates;
  int deliveriesOffMain = 0;
};

TEST_F(VersionGateTest, StartsWithNoAllowedVersionAndNoUpdate) {
  server.reply("GET", "/config.json", ScriptedReply::json(R"({"latestVersion": 35})"));
  start(server.url("/config.json"), build("34"));
  EXPECT_EQ(allowedVersions, std::vector<std::int64_t>{0});
  EXPECT_EQ(shouldUpdates, std::vector<bool>{false});
  runUntilSettled();
}

TEST_F(VersionGateTest, RaisesShouldUpdateOnlyWhenTheLatestVersionIsAboveTheBuildNumber) {
  struct Case {
    std::string buildNumber;
    std::string document;
    std::int64_t allowedVersion;
    bool shouldUpdate;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"34", R"({"latestVersion": 35})", 35, true, {"34", "User is using an older version of the app"}},
      {"35", R"({"latestVersion": 35})", 35, false, {"35", "User is up to date"}},
      {"36", R"({"latestVersion": 35})", 35, false, {"36", "User is up to date"}},
      {"1",
       R"({"latestVersion": 40, "message": "ignored", "nested": {"latestVersion": "x"}})",
       40,
       true,
       {"1", "User is using an older version of the app"}},
      {"7", R"({"latestVersion": 0})", 0, false, {"7", "User is up to date"}},
      {"+12", R"({"latestVersion": 13})", 13, true, {"12", "User is using an older version of the app"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.buildNumber + " against " + c.document);
    foundation::LogCapture caseLog;
    allowedVersions.clear();
    shouldUpdates.clear();
    server.reply("GET", "/config.json", ScriptedReply::json(c.document));
    start(server.url("/config.json"), build(c.buildNumber));
    ASSERT_TRUE(mainLoop.loop().runUntil([this] { return allowedVersions.size() > 1; }));
    mainLoop.loop().runUntilIdle();
    EXPECT_EQ(manager->allowedVersion(), c.allowedVersion);
    EXPECT_EQ(manager->shouldUpdate(), c.shouldUpdate);
    EXPECT_EQ(shouldUpdates, (c.shouldUpdate ? std::vector<bool>{false, true} : std::vector<bool>{false}));
    EXPECT_EQ(caseLog.lines(), c.lines);
  }
  EXPECT_EQ(deliveriesOffMain, 0);
}

TEST_F(VersionGateTest, AnyFailureKeepsShouldUpdateFalseAndPrintsOneErrorLine) {
  struct Case {
    std::string name;
    std::optional<ScriptedReply> reply;  // nothing: the connection is refused
    std::string description;
  };
  const Case cases[] = {
      {"an HTML error page with status 500",
       ScriptedReply::text("<html><body>Internal Server Error</body></html>", 500, "text/html"),
       "not valid JSON"},
      {"a string version", ScriptedReply::json(R"({"latestVersion": "35"})"), "latestVersion"},
      {"a fractional version", ScriptedReply::json(R"({"latestVersion": 35.5})"), "latestVersion"},
      {"a null version", ScriptedReply::json(R"({"latestVersion": null})"), "latestVersion"},
      {"no version", ScriptedReply::json(R"({"version": 35})"), "latestVersion"},
      {"an array", ScriptedReply::json(R"([35])"), "Expected an object"},
      {"an empty body", ScriptedReply::text(""), "not valid JSON"},
      {"a refused connection", std::nullopt, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    foundation::LogCapture caseLog;
    allowedVersions.clear();
    shouldUpdates.clear();
    std::string url =
        "http://127.0.0.1:" + std::to_string(testsupport::unusedLoopbackPort()) + "/config.json";
    if (c.reply) {
      server.reply("GET", "/config.json", *c.reply);
      url = server.url("/config.json");
    }
    start(url, build("1"));
    ASSERT_TRUE(mainLoop.loop().runUntil([this] { return shouldUpdates.size() > 1; }));
    mainLoop.loop().runUntilIdle();
    EXPECT_EQ(shouldUpdates, (std::vector<bool>{false, false}));
    EXPECT_FALSE(manager->shouldUpdate());
    EXPECT_EQ(manager->allowedVersion(), 0);
    EXPECT_EQ(allowedVersions, std::vector<std::int64_t>{0});
    ASSERT_EQ(caseLog.lines().size(), 1u);
    EXPECT_THAT(caseLog.lines()[0], StartsWith("error: "));
    EXPECT_GT(caseLog.lines()[0].size(), std::string("error: ").size());
    EXPECT_THAT(caseLog.lines()[0], HasSubstr(c.description));
  }
  EXPECT_EQ(deliveriesOffMain, 0);
}

TEST_F(VersionGateTest, WithoutAWholeBuildNumberNothingIsComparedOrPrinted) {
  const std::optional<std::string> entries[] = {std::nullopt,
                                                build(""),
                                                build("1.2"),
                                                build("abc"),
                                                build(" 5"),
                                                build("5 "),
                                                build("-"),
                                                "<integer>5</integer>",
                                                build("99999999999999999999")};
  for (const auto& entry : entries) {
    SCOPED_TRACE(entry.value_or("(no entry)"));
    foundation::LogCapture caseLog;
    allowedVersions.clear();
    server.reply("GET", "/config.json", ScriptedReply::json(R"({"latestVersion": 35})"));
    start(server.url("/config.json"), entry);
    ASSERT_TRUE(mainLoop.loop().runUntil([this] { return allowedVersions.size() > 1; }));
    mainLoop.loop().runUntilIdle();
    EXPECT_EQ(manager->allowedVersion(), 35);
    EXPECT_FALSE(manager->shouldUpdate());
    EXPECT_TRUE(caseLog.lines().empty());
  }
}

TEST_F(VersionGateTest, AnInvalidAddressSendsNothingAndChangesNothing) {
  start("https://example invalid/config.json", build("1"));
  mainLoop.loop().runUntilIdle();
  EXPECT_EQ(manager->allowedVersion(), 0);
  EXPECT_FALSE(manager->shouldUpdate());
  EXPECT_TRUE(log.lines().empty());
}

TEST(ConfigFetch, DeliversTheBodyWhateverTheStatusAndTheFailureOtherwise) {
  LoopbackServer server;
  server.reply("GET", "/config.json", ScriptedReply::json(R"({"latestVersion": 3})", 404));
  std::promise<Quillo::ConfigFetchResult> delivered;
  ConfigManager::fetchConfig(server.url("/config.json"),
                             [&delivered](Quillo::ConfigFetchResult result) { delivered.set_value(result); });
  auto future = delivered.get_future();
  ASSERT_EQ(future.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  EXPECT_EQ(future.get().bodyBytes(), R"({"latestVersion": 3})");
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].method, "GET");

  std::promise<Quillo::ConfigFetchResult> failed;
  ConfigManager::fetchConfig("http://127.0.0.1:" + std::to_string(testsupport::unusedLoopbackPort()) + "/c",
                             [&failed](Quillo::ConfigFetchResult result) { failed.set_value(result); });
  auto failure = failed.get_future();
  ASSERT_EQ(failure.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  const auto result = failure.get();
  EXPECT_FALSE(result.bodyBytes());
  EXPECT_FALSE(result.failureDescription().empty());
}

TEST(ConfigFetch, AnInvalidAddressNeverCallsTheCompletion) {
  bool called = false;
  ConfigManager::fetchConfig("", [&called](Quillo::ConfigFetchResult) { called = true; });
  ConfigManager::fetchConfig("http://a b/config.json",
                             [&called](Quillo::ConfigFetchResult) { called = true; });
  EXPECT_FALSE(called);
}

TEST(WholeDecimalNumber, ReadsSignedDigitsWithin64Bits) {
  EXPECT_EQ(Quillo::wholeDecimalNumber("35"), 35);
  EXPECT_EQ(Quillo::wholeDecimalNumber("007"), 7);
  EXPECT_EQ(Quillo::wholeDecimalNumber("-3"), -3);
  EXPECT_EQ(Quillo::wholeDecimalNumber("+3"), 3);
  EXPECT_EQ(Quillo::wholeDecimalNumber("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(Quillo::wholeDecimalNumber("-9223372036854775808"), INT64_MIN);
  for (const char* text : {"", "+", "-", "1.0", "1e3", " 1", "1 ", "0x10", "9223372036854775808", "١٢"}) {
    EXPECT_EQ(Quillo::wholeDecimalNumber(text), std::nullopt) << text;
  }
}

TEST(RemoteConfiguration, IsTheConfigDocumentOnTheProductHost) {
  EXPECT_EQ(Roadmap::remoteConfigurationURLString(), std::string(Roadmap::kProductWebHost) + "/config.json");
  EXPECT_TRUE(foundation::URL::parse(Roadmap::remoteConfigurationURLString()));
}

}  // namespace
