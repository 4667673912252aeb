// The other applications as the window manager lists them, the frontmost one, bringing one forward, and
// hearing when another comes forward.
#include "platform/desktop/x11/global_input/x11_applications.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/live/live_session.h"
#include "tests/support/live/recorded.h"

namespace {

using desktop::RunningApplication;
using testsupport::live::FixtureProgram;
using testsupport::live::Recorded;
using testsupport::live::waitUntil;

TEST(X11Applications, ListsTheApplicationsWithWindowsAndFollowsTheFrontmostOne) {
  QUILLO_REQUIRE_LIVE_SESSION();
  desktop::x11::X11Applications applications;
  Recorded<int> activations;
  applications.addActivationObserver(
      [&](const RunningApplication& application) { activations.add(application.processIdentifier); });
  FixtureProgram first({QUILLO_FIXTURE_TEXT_EDITOR});
  ASSERT_TRUE(first.waitForOutput("ready"));
  ASSERT_TRUE(waitUntil([&] { return applications.frontmostApplication().has_value(); }));
  EXPECT_EQ(applications.frontmostApplication()->processIdentifier, first.pid());
  EXPECT_EQ(applications.frontmostApplication()->localizedName, "Text_editor");
  FixtureProgram second({QUILLO_FIXTURE_TEXT_EDITOR});
  ASSERT_TRUE(second.waitForOutput("ready"));
  ASSERT_TRUE(waitUntil([&] { return applications.applications().size() == 2; }));
  EXPECT_TRUE(applications.application(first.pid()));
  EXPECT_FALSE(applications.application(::getpid()));

  ASSERT_TRUE(
      waitUntil([&] { return applications.frontmostApplication()->processIdentifier == second.pid(); }));
  EXPECT_TRUE(applications.activateApplication(first.pid()));
  ASSERT_TRUE(
      waitUntil([&] { return applications.frontmostApplication()->processIdentifier == first.pid(); }));
  EXPECT_FALSE(applications.activateApplication(::getpid()));

  ASSERT_TRUE(activations.waitForCount(3));
  EXPECT_EQ(activations.values(), (std::vector<int>{first.pid(), second.pid(), first.pid()}));
}

TEST(X11Applications, WindowsClosingWhileTheyAreListedNeverEndTheProgram) {
  QUILLO_REQUIRE_LIVE_SESSION();
  desktop::x11::X11Applications applications;
  for (int round = 0; round < 3; ++round) {
    std::optional<FixtureProgram> editor;
    editor.emplace(std::vector<std::string>{QUILLO_FIXTURE_TEXT_EDITOR});
    ASSERT_TRUE(editor->waitForOutput("ready"));
    std::atomic<bool> isListing{true};
    std::thread lister([&] {
      while (isListing) applications.applications();
    });
    // Ending the editor closes its window while the other thread reads the windows' properties.
    editor.reset();
    isListing = false;
    lister.join();
  }
  EXPECT_TRUE(waitUntil([&] { return applications.applications().empty(); }));
}

}  // namespace
