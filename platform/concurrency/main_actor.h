// Hops to the main actor: run a closure on the main queue and wait for its result.
#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <source_location>
#include <type_traits>
#include <utility>

#include "platform/foundation/run_loop.h"  // isMainThread, assertMainThread

namespace concurrency {

namespace detail {
// Runs `work` on the main queue and blocks until it has run. Rethrows what it threw; throws
// CancellationError when the main queue dropped the work without running it (a reset in tests).
void runOnMainAndWait(const std::function<void()>& work);
}  // namespace detail

struct MainActor {
  // Runs `work` on the main thread and returns its result (or rethrows its failure). On the main thread
  // it runs at once, inline, so it never waits for itself; elsewhere the caller blocks until the main
  // queue has run it. The wait is not cut short by cancellation: once posted, the work runs.
  template <class F>
  static auto run(F&& work) -> std::invoke_result_t<F&> {
    using R = std::invoke_result_t<F&>;
    if (foundation::isMainThread()) return work();
    if constexpr (std::is_void_v<R>) {
      detail::runOnMainAndWait([&] { work(); });
    } else {
      std::optional<R> result;
      detail::runOnMainAndWait([&] { result.emplace(work()); });
      return std::move(*result);
    }
  }

  // Stops the program with a diagnostic when not called on the main thread.
  static void assertIsolated(std::source_location where = std::source_location::current()) {
    foundation::assertMainThread(where);
  }
};

}  // namespace concurrency
