#include "Quillo/inline/ax_enabler_service.h"

#include <gtest/gtest.h>

#include "headless_world.h"
#include "platform/appkit/workspace.h"

namespace Quillo {
namespace {

using desktop::AccessibilityCall;
using desktop::AccessibleElement;
using foundation::durationFromSeconds;

appkit::RunningApplication app(std::optional<std::string> bundleIdentifier) {
  return appkit::RunningApplication(1, std::move(bundleIdentifier), "App");
}

TEST(AXEnablerFamilies, RecognisesApplicationsByExactBundleIdentifier) {
  struct Case {
    std::optional<std::string> bundleIdentifier;
    bool chrome, chromium, electron;
  };
  const Case cases[] = {
      {"com.google.Chrome", true, true, false},
      {"com.google.Chrome.canary", true, true, false},
      {"com.google.Chrome.beta", true, true, false},
      {"com.google.Chrome.dev", true, true, false},
      {"com.microsoft.VSCode", false, true, false},
      {"com.microsoft.VSCodeInsiders", false, true, false},
      {"com.brave.Browser", false, true, false},
      {"com.brave.Browser.beta", false, true, false},
      {"com.brave.Browser.nightly", false, true, false},
      {"company.thebrowser.Browser", false, true, false},
      {"com.microsoft.edgemac", false, true, false},
      {"com.microsoft.edgemac.Beta", false, true, false},
      {"com.microsoft.edgemac.Dev", false, true, false},
      {"com.microsoft.edgemac.Canary", false, true, false},
      {"notion.id", false, false, true},
      {"md.obsidian", false, false, true},
      {"com.tinyspeck.slackmacgap", false, false, true},
      {"com.hnc.Discord", false, false, true},
      {"com.1password.1password", false, false, true},
      {"org.whispersystems.signal-desktop", false, false, true},
      {"org.whispersystems.signal-desktop-beta", false, false, true},
      {"com.microsoft.teams", false, false, true},
      {"desktop.WhatsApp", false, false, true},
      {"com.google.chrome", false, false, false},
      {"Notion.id", false, false, false},
      {"com.apple.TextEdit", false, false, false},
      {"", false, false, false},
      {std::nullopt, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bundleIdentifier.value_or("<nil>"));
    EXPECT_EQ(AXEnablerService::isChromeApp(app(c.bundleIdentifier)), c.chrome);
    EXPECT_EQ(AXEnablerService::isChromiumApp(app(c.bundleIdentifier)), c.chromium);
    EXPECT_EQ(AXEnablerService::isElectronApp(app(c.bundleIdentifier)), c.electron);
  }
}

class AXEnablerServiceTest : public ::testing::Test {
 protected:
  // Launches an application whose own element answers role reads, or never does.
  appkit::RunningApplication launch(const std::string& bundleIdentifier, bool answers) {
    const int pid = world.desktop.launchApplication(bundleIdentifier, "App").processIdentifier;
    if (!answers) {
      AccessibleElement element;
      element.role = "AXApplication";
      element.failingAttributes["AXRole"] = -25204;
      world.accessibility().setApplicationElement(pid, element);
    }
    return *appkit::Workspace::shared().runningApplication(pid);
  }

  std::vector<AccessibilityCall> callsTo(int pid) {
    std::vector<AccessibilityCall> calls;
    for (const auto& call : world.desktop.accessibility().calls()) {
      if (call.processIdentifier == pid) calls.push_back(call);
    }
    return calls;
  }

  void advance(double seconds) {
    world.mainLoop.loop().advanceAndRun(*world.clock, durationFromSeconds(seconds));
  }

  inline_test::HeadlessWorld world;
  AXEnablerService service;
};

TEST_F(AXEnablerServiceTest, ActivatingAnApplicationOutsideTheFamiliesDoesNothing) {
  service.activate();
  const auto other = launch("com.apple.TextEdit", false);
  ASSERT_TRUE(other.activate());
  advance(10);
  EXPECT_TRUE(world.log.lines().empty());
  EXPECT_TRUE(callsTo(other.processIdentifier()).empty());
}

TEST_F(AXEnablerServiceTest, ElectronApplicationThatAnswersIsEnabledOnce) {
  service.activate();
  const auto slack = launch("com.tinyspeck.slackmacgap", true);
  slack.activate();
  advance(10);
  EXPECT_EQ(world.log.lines(),
            std::vector<std::string>{"AXEnablerService: enabled AX on com.tinyspeck.slackmacgap"});
  EXPECT_EQ(callsTo(slack.processIdentifier()),
            (std::vector<AccessibilityCall>{
                {slack.processIdentifier(), 0, AccessibilityCall::Kind::write, "AXManualAccessibility"},
                {slack.processIdentifier(), 0, AccessibilityCall::Kind::read, "AXRole"}}));
  const auto element = world.accessibility().applicationElement(slack.processIdentifier());
  EXPECT_EQ(element.otherAttributes.at("AXManualAccessibility"), desktop::AccessibleValue(true));
}

TEST_F(AXEnablerServiceTest, ElectronApplicationThatNeverAnswersIsTriedTenTimesHalfASecondApart) {
  service.activate();
  const auto notion = launch("notion.id", false);
  notion.activate();
  const std::string failure = "AXEnablerService: failed to enable AX on notion.id";

  world.mainLoop.loop().runUntilIdle();
  EXPECT_EQ(world.log.lines().size(), 1u);  // the first try, at once
  for (int attempt = 2; attempt <= 10; ++attempt) {
    advance(0.49);
    EXPECT_EQ(world.log.lines().size(), static_cast<std::size_t>(attempt - 1));
    advance(0.01);
    EXPECT_EQ(world.log.lines().size(), static_cast<std::size_t>(attempt));
  }
  advance(60);
  EXPECT_EQ(world.log.lines(), std::vector<std::string>(10, failure));
  EXPECT_EQ(world.mainLoop.loop().pendingCount(), 0u);
}

TEST_F(AXEnablerServiceTest, RetriesStopAtTheFirstSuccess) {
  service.activate();
  const auto obsidian = launch("md.obsidian", false);
  obsidian.activate();
  world.mainLoop.loop().runUntilIdle();
  advance(1.0);  // tries at 0.5 and 1.0 fail
  world.accessibility().updateElement(obsidian.processIdentifier(), 0,
                                      [](AccessibleElement& e) { e.failingAttributes.clear(); });
  advance(10);
  EXPECT_EQ(world.log.lines(),
            (std::vector<std::string>{"AXEnablerService: failed to enable AX on md.obsidian",
                                      "AXEnablerService: failed to enable AX on md.obsidian",
                                      "AXEnablerService: failed to enable AX on md.obsidian",
                                      "AXEnablerService: enabled AX on md.obsidian"}));
}

TEST_F(AXEnablerServiceTest, ChromiumBrowserIsOnlyAskedForItsRole) {
  service.activate();
  const auto brave = launch("com.brave.Browser", true);
  brave.activate();
  advance(10);
  EXPECT_EQ(callsTo(brave.processIdentifier()),
            (std::vector<AccessibilityCall>{
                {brave.processIdentifier(), 0, AccessibilityCall::Kind::read, "AXRole"}}));
  EXPECT_EQ(world.log.lines(), std::vector<std::string>{"AXEnablerService: enabled AX on com.brave.Browser"});
}

TEST_F(AXEnablerServiceTest, FirstActivationEnablesTheFrontmostApplicationAndASecondDoesNothing) {
  const auto chrome = launch("com.google.Chrome", true);
  world.desktop.setFrontmostApplication(chrome.processIdentifier());
  EXPECT_FALSE(service.isActive());
  service.activate();
  EXPECT_TRUE(service.isActive());
  EXPECT_EQ(world.log.lines(), std::vector<std::string>{"AXEnablerService: enabled AX on com.google.Chrome"});
  service.activate();
  advance(10);
  EXPECT_EQ(world.log.lines().size(), 1u);
  EXPECT_EQ(callsTo(chrome.processIdentifier()).size(), 1u);
}

TEST_F(AXEnablerServiceTest, InactiveServiceIgnoresActivations) {
  const auto slack = launch("com.tinyspeck.slackmacgap", true);
  slack.activate();
  advance(10);
  EXPECT_TRUE(world.log.lines().empty());
}

TEST_F(AXEnablerServiceTest, EachActivationStartsItsOwnChainOfTries) {
  service.activate();
  const auto teams = launch("com.microsoft.teams", false);
  const auto other = launch("com.apple.TextEdit", true);
  teams.activate();
  world.mainLoop.loop().runUntilIdle();
  advance(1.0);  // three tries so far
  other.activate();
  teams.activate();
  world.mainLoop.loop().runUntilIdle();  // a fourth try, the new chain's first
  EXPECT_EQ(world.log.lines().size(), 4u);
  advance(10);
  EXPECT_EQ(world.log.lines().size(), 20u);
}

TEST_F(AXEnablerServiceTest, NotificationWithoutAnApplicationDoesNothing) {
  service.activate();
  appkit::Workspace::shared().notificationCenter().post(
      appkit::Workspace::didActivateApplicationNotification);
  appkit::Workspace::shared().notificationCenter().post(appkit::Workspace::didActivateApplicationNotification,
                                                        nullptr, {{"NSWorkspaceApplicationKey", 42}});
  advance(10);
  EXPECT_TRUE(world.log.lines().empty());
}

TEST(AXEnablerRetry, RunsTheActionUpToTheMaximumOnTheClock) {
  inline_test::HeadlessWorld world;
  int runs = 0;
  AXEnablerService::retry(3, 2.0, 0, [&] {
    ++runs;
    return false;
  });
  EXPECT_EQ(runs, 1);
  world.mainLoop.loop().advanceAndRun(*world.clock, durationFromSeconds(1.99));
  EXPECT_EQ(runs, 1);
  world.mainLoop.loop().advanceAndRun(*world.clock, durationFromSeconds(0.01));
  EXPECT_EQ(runs, 2);
  world.mainLoop.loop().advanceAndRun(*world.clock, durationFromSeconds(100));
  EXPECT_EQ(runs, 3);
}

}  // namespace
}  // namespace Quillo
