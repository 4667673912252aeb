// The quillo program as built: every library it loads is acknowledged, and it installs with its resources.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Quillo/settings_panes/acknowledgements_view.h"
#include "tests/support/program_run.h"
#include "tests/support/temporary_folder.h"

namespace {

namespace fs = std::filesystem;
using testsupport::runProgram;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) result.push_back(line);
  return result;
}

// The libraries the program names as needed (its direct dependencies), by file name.
std::vector<std::string> neededLibraries(const std::string& program) {
  const auto run = runProgram({"readelf", "--dynamic", "--wide", program});
  if (run.exitStatus != 0) throw std::runtime_error("readelf failed: " + run.output);
  std::vector<std::string> needed;
  for (const auto& line : lines(run.output)) {
    const auto open = line.find("(NEEDED)") == std::string::npos ? std::string::npos : line.find('[');
    const auto close = line.rfind(']');
    if (open != std::string::npos && close > open) needed.push_back(line.substr(open + 1, close - open - 1));
  }
  return needed;
}

// The Debian packages that install a library of that file name.
std::set<std::string> packagesOf(const std::string& library) {
  const auto run = runProgram({"dpkg", "--search", "*/" + library});
  std::set<std::string> packages;
  if (run.exitStatus != 0) return packages;
  for (const auto& line : lines(run.output)) {
    if (line.starts_with("diversion ")) continue;
    std::istringstream owners(line.substr(0, line.find(": ")));
    for (std::string owner; std::getline(owners, owner, ',');) {
      while (owner.starts_with(' ')) owner.erase(0, 1);
      packages.insert(owner.substr(0, owner.find(':')));  // without the architecture
    }
  }
  return packages;
}

// Whether the package is the C library or the compiler's runtime (its own, the C++ library, the
// sanitizers'), which every program loads and which the system, not the application, brings.
bool isSystemRuntime(const std::string& package) {
  const auto run = runProgram({"dpkg-query", "--show", "--showformat=${source:Package}", package});
  const std::string source = run.exitStatus == 0 ? run.output : package;
  return source == "glibc" || source.starts_with("gcc-");
}

TEST(Program, EveryLibraryItLoadsIsAcknowledged) {
  std::set<std::string> acknowledged;
  for (const auto& entry : Quillo::acknowledgements())
    acknowledged.insert(entry.packages.begin(), entry.packages.end());
  ASSERT_FALSE(acknowledged.empty());

  std::set<std::string> checked;
  for (const auto& library : neededLibraries(QUILLO_PROGRAM)) {
    SCOPED_TRACE(library);
    const auto packages = packagesOf(library);
    ASSERT_FALSE(packages.empty()) << library << " comes from no Debian package";
    for (const auto& package : packages) {
      if (isSystemRuntime(package)) continue;
      checked.insert(package);
      EXPECT_TRUE(acknowledged.count(package))
          << library << " comes from " << package << ", which no acknowledgement names: add the library to "
          << "cmake/Dependencies.cmake.";
    }
  }
  EXPECT_TRUE(checked.count("libcurl4"));  // the check saw the libraries, not just the runtime
}

TEST(Program, InstallsUnderBinWithItsResourcesUnderShare) {
  testsupport::TemporaryFolder prefix;
  ::unsetenv("DESTDIR");
  const auto install =
      runProgram({QUILLO_CMAKE, "--install", QUILLO_BINARY_DIR, "--prefix", prefix.path().string()});
  ASSERT_EQ(install.exitStatus, 0) << install.output;
  const fs::path program = prefix.path() / QUILLO_BIN_DIR / "quillo";
  struct stat info {};
  ASSERT_EQ(::stat(program.c_str(), &info), 0);
  EXPECT_TRUE(info.st_mode & S_IXUSR);
  EXPECT_EQ(fs::file_size(program), fs::file_size(QUILLO_PROGRAM));
  const fs::path resources = prefix.path() / QUILLO_DATA_DIR / "quillo";
  EXPECT_TRUE(fs::exists(resources / "Info.plist"));
  const auto bundle = foundation::Bundle::atPath(resources);
  ASSERT_TRUE(bundle);
  EXPECT_EQ(Quillo::acknowledgements(*bundle).size(), Quillo::acknowledgements().size());
}

}  // namespace
