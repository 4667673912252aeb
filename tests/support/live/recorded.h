// Values that a live service hands a test from a thread of its own (its observers' calls), kept in order.
#pragma once

#include <chrono>
#include <cstddef>
#include <mutex>
#include <utility>
#include <vector>

#include "tests/support/live/live_session.h"

namespace testsupport::live {

// Thread-safe: one mutex guards the values.
template <typename Value>
class Recorded {
 public:
  void add(Value value) {
    std::lock_guard lock(mutex_);
    values_.push_back(std::move(value));
  }
  std::vector<Value> values() const {
    std::lock_guard lock(mutex_);
    return values_;
  }
  // Waits until at least `count` values have come; false when they did not within `timeout`.
  bool waitForCount(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const {
    return waitUntil([&] { return values().size() >= count; }, timeout);
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Value> values_;
};

}  // namespace testsupport::live
