#include <gtest/gtest.h>

#include "platform/foundation/dispatch_queue.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/timer.h"

TEST(Placeholder, Builds) { foundation::ScopedMainRunLoop scope; }
