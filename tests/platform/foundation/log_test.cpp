#include "platform/foundation/log.h"

#include <gtest/gtest.h>

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

TEST(Log, SecretsAreNeverShownWhole) {
  EXPECT_EQ(foundation::redactedSecret("sk-abcdefghijklmnopqrstuvwxyz1234"), "sk-…1234");
  EXPECT_EQ(foundation::redactedSecret("short"), "…");
  EXPECT_EQ(foundation::redactedSecret(""), "…");
}

}  // namespace
