// What a live test needs from the private desktop session tests/support/live_session.sh gives it: whether
// the session is there (and why not), fixture programs started inside it, and waiting for what they show.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace testsupport::live {

// Empty when this program runs inside a working live session (an X server whose window manager is up, a
// D-Bus session bus, private HOME and XDG folders); otherwise why not. Worked out once per program.
const std::string& liveSessionUnavailableReason();

// Polls `condition` until it holds or `timeout` passes, and says whether it held. Live tests wait for
// other processes (an X server, a GTK program, the accessibility bus), which no test clock can advance;
// the deadline only bounds a wait for something that normally happens within milliseconds.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// A program started inside the session for one test (a GTK window with a text field, ...); ended when the
// object goes. Its standard output and error go to a file of the session, readable with output().
class FixtureProgram {
 public:
  explicit FixtureProgram(std::vector<std::string> arguments);
  ~FixtureProgram();
  FixtureProgram(const FixtureProgram&) = delete;
  FixtureProgram& operator=(const FixtureProgram&) = delete;

  // False when the program could not be started.
  bool isStarted() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  bool isRunning();
  // Everything the program printed so far.
  std::string output() const;
  // Waits until the program has printed `text`; false when it did not within `timeout` or ended first.
  bool waitForOutput(const std::string& text, std::chrono::milliseconds timeout = std::chrono::seconds(10));

 private:
  pid_t pid_ = -1;
  bool hasEnded_ = false;
  std::string outputPath_;
};

}  // namespace testsupport::live

// The first statement of every live test: skips the test, saying why, where no live session could start,
// and outside tests/support/live_session.sh, so that no test types into or grabs the keys of a real desktop.
#define QUILLO_REQUIRE_LIVE_SESSION()                                                                     \
  do {                                                                                                    \
    if (const std::string& reason = ::testsupport::live::liveSessionUnavailableReason(); !reason.empty()) \
      GTEST_SKIP() << "No live desktop session: " << reason;                                              \
  } while (false)
