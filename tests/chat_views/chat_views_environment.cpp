#include "tests/chat_views/chat_views_environment.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/foundation/user_defaults.h"
#include "settings_store/key.h"

namespace chatviewstest {

namespace {

class TemporaryStandardSuite : public ::testing::Environment {
 public:
  void SetUp() override {
    directory_ = std::filesystem::temp_directory_path() / ("quillo-chat-views-" + std::to_string(::getpid()));
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
  std::filesystem::path directory_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new TemporaryStandardSuite);

}  // namespace

void emptyStandardSuite() { Defaults::removeAllStoredValues(*foundation::UserDefaults::standard()); }

}  // namespace chatviewstest
