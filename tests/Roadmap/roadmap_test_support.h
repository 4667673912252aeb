// Shared pieces of the roadmap tests: a temporary folder, a sandboxed standard user-defaults suite and a
// fixed locale environment.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "Roadmap/preferred_localization.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/user_defaults.h"
#include "tests/support/temporary_folder.h"

namespace roadmaptest {

using testsupport::TemporaryFolder;

// Every test that touches the vote record runs against a fresh standard suite in a temporary folder, so
// nothing reaches the user's own settings.
class DefaultsSandbox : public testing::Test {
 protected:
  DefaultsSandbox() {
    foundation::UserDefaults::setStandard(foundation::UserDefaults::suite("roadmap-test", folder.path()));
  }
  ~DefaultsSandbox() override { foundation::UserDefaults::setStandard(nullptr); }

  std::shared_ptr<foundation::UserDefaults> defaults() const { return foundation::UserDefaults::standard(); }

  TemporaryFolder folder;
};

// While alive, the locale environment is the given variables only, and the main bundle is a resource
// folder holding "<name>.lproj" for each given localization.
class LocaleScope {
 public:
  LocaleScope(std::map<std::string, std::string> variables,
              std::initializer_list<std::string> localizations) {
    for (const auto& localization : localizations) {
      std::filesystem::create_directories(folder_.path() / (localization + ".lproj"));
    }
    foundation::Bundle::setMainResourceDirectory(folder_.path());
    Roadmap::setEnvironmentReaderForTesting(
        [variables = std::move(variables)](std::string_view name) -> std::optional<std::string> {
          const auto found = variables.find(std::string(name));
          if (found == variables.end()) return std::nullopt;
          return found->second;
        });
  }
  ~LocaleScope() {
    Roadmap::setEnvironmentReaderForTesting(nullptr);
    foundation::Bundle::setMainResourceDirectory(std::nullopt);
  }
  LocaleScope(const LocaleScope&) = delete;
  LocaleScope& operator=(const LocaleScope&) = delete;

 private:
  TemporaryFolder folder_;
};

}  // namespace roadmaptest
