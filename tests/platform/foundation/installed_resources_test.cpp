// Where programs find the application's resources: beside themselves (installed, and in the build tree,
// which is laid out as an installation), then under the install prefix, then, for test programs only, in
// the build tree.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <string>

#include "platform/foundation/bundle.h"
#include "tests/platform/foundation/temporary_folder.h"
#include "tests/support/program_run.h"

namespace foundation {
namespace {

namespace fs = std::filesystem;
using testsupport::runProgram;

const fs::path buildResources = QUILLO_RESOURCE_DIR;

// Every file below a folder, by its path inside it, with its bytes.
std::map<std::string, std::string> filesBelow(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), folder).string()] = testing::fileBytes(entry.path());
    }
  }
  return files;
}

// What the probe says when it finds the resources in `folder`.
std::string probeFinding(const fs::path& folder) {
  const std::string licence = testing::fileBytes(folder / "acknowledgements" / "cmark-gfm.txt");
  return "resources: " + folder.string() +
         "\nidentifier: " + Bundle::atPath(folder)->identifier().value_or("(none)") +
         "\nlicence of cmark-gfm: " + licence.substr(0, licence.find('\n')) + "\n";
}

TEST(InstalledResources, TheMainBundleLooksBesideTheProgramThenUnderTheInstallPrefixThenInTheBuildTree) {
  const fs::path program = fs::read_symlink("/proc/self/exe");
  const auto path = Bundle::mainResourceSearchPath();
  ASSERT_EQ(path.size(), 3u);
  EXPECT_EQ(path[0], (program.parent_path() / ".." / QUILLO_DATA_DIR / "quillo").lexically_normal());
  EXPECT_TRUE(path[1].is_absolute());
  EXPECT_EQ(path[1].filename(), "quillo");
  EXPECT_EQ(path[2], buildResources);
}

TEST(InstalledResources, TheBuildTreeHoldsTheResourcesWhereItsProgramsFindThem) {
  EXPECT_TRUE(fs::exists(buildResources / "Info.plist"));
  const auto run = runProgram({QUILLO_RESOURCE_PROBE});
  EXPECT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(run.output, probeFinding(buildResources));
}

TEST(InstalledResources, AnInstalledProgramFindsTheInstalledResourcesBesideIt) {
  testing::TemporaryFolder prefix;
  ::unsetenv("DESTDIR");
  const auto install = runProgram({QUILLO_CMAKE, "--install", QUILLO_BINARY_DIR, "--prefix",
                                   prefix.path().string(), "--component", "resources"});
  ASSERT_EQ(install.exitStatus, 0) << install.output;
  const fs::path installed = prefix.path() / QUILLO_DATA_DIR / "quillo";
  EXPECT_EQ(filesBelow(installed), filesBelow(buildResources));

  const fs::path program = prefix.path() / QUILLO_BIN_DIR / "quillo_resource_probe";
  fs::create_directories(program.parent_path());
  fs::copy_file(QUILLO_RESOURCE_PROBE, program);
  const auto run = runProgram({program.string()});
  EXPECT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(run.output, probeFinding(installed));
}

}  // namespace
}  // namespace foundation
