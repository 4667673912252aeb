// A fresh folder under the system's temporary folder, removed with everything in it at the end.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace testsupport {

class TemporaryFolder {
 public:
  // The folder's name is the prefix followed by six random characters.
  explicit TemporaryFolder(std::string_view prefix = "quillo-test-") {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TemporaryFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace testsupport
