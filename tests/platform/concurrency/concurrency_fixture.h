// A manual clock, a fresh main queue and helpers to wait for conditions for each test.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "tests/support/manual_time_test.h"

using ConcurrencyTest = testsupport::ManualTimeTest;

// A one-way signal between threads: a test blocks on it instead of sleeping. wait() gives up after a
// safety limit (only a broken implementation reaches it) and says so.
class Signal {
 public:
  void notify() {
    std::lock_guard lock(mutex_);
    isSet_ = true;
    changed_.notify_all();
  }
  bool wait() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(30), [&] { return isSet_; });
  }
  bool isSet() {
    std::lock_guard lock(mutex_);
    return isSet_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool isSet_ = false;
};
