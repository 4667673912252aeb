// The private session every live test runs in: its own display with a window manager, its own session bus
// and folders, and fixture programs that end with the test.
#include "tests/support/live/live_session.h"

#include <signal.h>

#include <cstdlib>
#include <string>

namespace {

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

TEST(LiveSession, GivesTheTestAPrivateDisplayBusAndFolders) {
  QUILLO_REQUIRE_LIVE_SESSION();
  const std::string session = environmentValue("QUILLO_LIVE_SESSION");
  ASSERT_FALSE(session.empty());
  EXPECT_FALSE(environmentValue("DISPLAY").empty());
  EXPECT_FALSE(environmentValue("DBUS_SESSION_BUS_ADDRESS").empty());
  for (const char* folder : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
    EXPECT_EQ(environmentValue(folder).rfind(session + "/", 0), 0u) << folder;
}

TEST(LiveSession, StartsAFixtureProgramAndEndsItWithTheTest) {
  QUILLO_REQUIRE_LIVE_SESSION();
  pid_t pid = -1;
  {
    testsupport::live::FixtureProgram program({"sh", "-c", "echo ready; exec sleep 60"});
    ASSERT_TRUE(program.isStarted());
    EXPECT_TRUE(program.waitForOutput("ready"));
    EXPECT_TRUE(program.isRunning());
    pid = program.pid();
  }
  EXPECT_NE(::kill(pid, 0), 0);
}

TEST(LiveSession, WaitingForOutputEndsWhenTheProgramEnds) {
  QUILLO_REQUIRE_LIVE_SESSION();
  testsupport::live::FixtureProgram program({"sh", "-c", "echo other"});
  EXPECT_FALSE(program.waitForOutput("never printed", std::chrono::seconds(30)));
  EXPECT_EQ(program.output(), "other\n");
}

}  // namespace
