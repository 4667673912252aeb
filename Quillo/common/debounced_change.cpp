#include "Quillo/common/debounced_change.h"

#include "platform/foundation/clock.h"
#include "platform/foundation/run_loop.h"

namespace Quillo {

std::shared_ptr<PendingDebouncedRun> PendingDebouncedRun::schedule(double seconds,
                                                                   std::function<void()> run) {
  auto pending = std::make_shared<PendingDebouncedRun>();
  // durationFromSeconds maps negative and NaN times to zero and caps huge ones; the deadline is capped
  // again so that adding the delay to the current time cannot overflow.
  const auto delay = foundation::durationFromSeconds(seconds);
  const auto now = foundation::currentClock()->now();
  const auto room = foundation::TimePoint::max() - now;
  const auto deadline = delay > room ? foundation::TimePoint::max() : now + delay;
  foundation::RunLoop::main().asyncAt(deadline, [pending, run = std::move(run)] {
    if (!pending->isCancelled()) run();
  });
  return pending;
}

}  // namespace Quillo
