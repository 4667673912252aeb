// A fresh user-defaults suite in a temporary folder of its own, removed again after the test.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "platform/foundation/user_defaults.h"

namespace Defaults::testing {

class TemporarySuite {
 public:
  TemporarySuite() {
    static std::atomic<int> counter{0};
    directory_ = std::filesystem::temp_directory_path() /
                 ("quillo-settings-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(directory_);
    std::filesystem::create_directories(directory_);
    suite_ = open();
  }
  ~TemporarySuite() {
    suite_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }

  // Another instance of the same suite (the same file).
  std::shared_ptr<foundation::UserDefaults> open() const {
    return foundation::UserDefaults::suite("settings", directory_);
  }
  const std::shared_ptr<foundation::UserDefaults>& suite() const { return suite_; }
  foundation::UserDefaults& operator*() const { return *suite_; }
  foundation::UserDefaults* operator->() const { return suite_.get(); }
  const std::filesystem::path& directory() const { return directory_; }
  void close() { suite_.reset(); }
  void reopen() { suite_ = open(); }

 private:
  std::filesystem::path directory_;
  std::shared_ptr<foundation::UserDefaults> suite_;
};

}  // namespace Defaults::testing
