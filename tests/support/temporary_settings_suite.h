// A test program whose settings live in the standard suite runs against one temporary standard suite,
// installed before the first test and removed when the program ends, so nothing reaches the user's own
// settings. Install it once per program:
//   const auto* const environment =
//       ::testing::AddGlobalTestEnvironment(new testsupport::TemporaryStandardSuite("quillo-<name>-"));
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/foundation/user_defaults.h"

namespace testsupport {

class TemporaryStandardSuite : public ::testing::Environment {
 public:
  // The suite's folder is the prefix followed by the process id, under the system's temporary folder.
  explicit TemporaryStandardSuite(std::string_view prefix) : prefix_(prefix) {}

  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() / (prefix_ + std::to_string(::getpid()));
    std::filesystem::remove_all(directory_);
    std::filesystem::create_directories(directory_);
    foundation::UserDefaults::setStandard(foundation::UserDefaults::suite("standard", directory_));
  }
  void TearDown() override {
    foundation::UserDefaults::setStandard(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }

 private:
  std::string prefix_;
  std::filesystem::path directory_;
};

}  // namespace testsupport
