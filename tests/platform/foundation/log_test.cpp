#include "platform/foundation/log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <thread>

namespace {

TEST(Log, CaptureReceivesLinesFromSeveralThreadsWhole) {
  foundation::LogCapture capture;
  std::thread other([] {
    for (int i = 0; i < 100; ++i) foundation::log("from other thread");
  });
  for (int i = 0; i < 100; ++i) foundation::log("from main thread");
  other.join();
  const auto lines = capture.lines();
  ASSERT_EQ(lines.size(), 200u);
  for (const auto& line : lines) EXPECT_TRUE(line == "from other thread" || line == "from main thread");
}

TEST(Log, NestedCaptureRestoresThePreviousOne) {
  foundation::LogCapture outer;
  {
    foundation::LogCapture inner;
    foundation::log("inner");
    EXPECT_TRUE(inner.contains("inner"));
  }
  foundation::log("outer");
  EXPECT_EQ(outer.lines(), std::vector<std::string>{"outer"});
}

TEST(Log, TextReadFromOtherApplicationsGoesOnlyToATerminal) {
  foundation::LogCapture terminal;
  foundation::logReadText("typed elsewhere");
  EXPECT_EQ(terminal.lines(), std::vector<std::string>{"typed elsewhere"});

  foundation::LogCapture journal(foundation::LogCapture::Output::notTerminal);
  foundation::logReadText("typed elsewhere");
  foundation::log("plain");
  EXPECT_EQ(journal.lines(), std::vector<std::string>{"plain"});
}

TEST(Log, UncapturedTextReadFromOtherApplicationsIsNotWrittenToAFile) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fflush(stdout);
  const int savedStdout = ::dup(::fileno(stdout));
  ::dup2(::fileno(file), ::fileno(stdout));
  foundation::logReadText("typed elsewhere");
  foundation::log("plain");
  std::fflush(stdout);
  ::dup2(savedStdout, ::fileno(stdout));
  ::close(savedStdout);
  std::rewind(file);
  char buffer[256] = {};
  const std::size_t read = std::fread(buffer, 1, sizeof buffer - 1, file);
  std::fclose(file);
  EXPECT_EQ(std::string(buffer, read), "plain\n");
}

TEST(Log, SecretsAreNeverShownWhole) {
  EXPECT_EQ(foundation::redactedSecret("sk-abcdefghijklmnopqrstuvwxyz1234"), "sk-…1234");
  EXPECT_EQ(foundation::redactedSecret("short"), "…");
  EXPECT_EQ(foundation::redactedSecret(""), "…");
}

}  // namespace
