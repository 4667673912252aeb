// A test fixture with a manual clock and a fresh main queue for each test.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>

#include "platform/foundation/clock.h"
#include "platform/foundation/run_loop.h"

namespace testsupport {

class ManualTimeTest : public ::testing::Test {
 protected:
  std::shared_ptr<foundation::ManualClock> clock = std::make_shared<foundation::ManualClock>();
  foundation::ScopedClock clockScope{clock};
  foundation::ScopedMainRunLoop mainScope;
  foundation::RunLoop& loop = foundation::RunLoop::main();

  // Advances the clock and runs the main queue through every deadline on the way.
  std::size_t advance(foundation::Duration by) { return loop.advanceAndRun(*clock, by); }
};

}  // namespace testsupport
