#include "web_chat_environment.h"

#include <unistd.h>

#include <atomic>
#include <string>

#include "platform/foundation/user_defaults.h"
#include "settings_store/key.h"

namespace webchattest {
namespace {

std::filesystem::path freshDirectory() {
  static std::atomic<int> counter{0};
  auto path = std::filesystem::temp_directory_path() /
              ("quillo-web-chat-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path;
}

class TemporaryStandardSuite : public ::testing::Environment {
 public:
  void SetUp() override {
    directory_ = std::make_unique<TemporaryDirectory>();
    foundation::UserDefaults::setStandard(foundation::UserDefaults::suite("standard", directory_->path()));
  }
  void TearDown() override {
    foundation::UserDefaults::setStandard(nullptr);
    directory_.reset();
  }

 private:
  std::unique_ptr<TemporaryDirectory> directory_;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new TemporaryStandardSuite);

}  // namespace

TemporaryDirectory::TemporaryDirectory() : path_(freshDirectory()) {}

TemporaryDirectory::~TemporaryDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

WebChatTest::WebChatTest() { Defaults::removeAllStoredValues(*foundation::UserDefaults::standard()); }

WebChatTest::~WebChatTest() { Defaults::removeAllStoredValues(*foundation::UserDefaults::standard()); }

}  // namespace webchattest
