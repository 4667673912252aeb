#include "platform/foundation/bundle.h"

#include <gtest/gtest.h>

#include "platform/foundation/log.h"
#include "platform/foundation/text_error.h"
#include "tests/platform/foundation/temporary_folder.h"

namespace foundation {
namespace {

const std::filesystem::path fixtureResources =
    std::filesystem::path(QUILLO_TEST_DIR) / "fixtures" / "resources";

// Points the main bundle at a folder for one test and restores the search afterwards.
class MainBundleAt {
 public:
  explicit MainBundleAt(const std::filesystem::path& folder) { Bundle::setMainResourceDirectory(folder); }
  ~MainBundleAt() { Bundle::setMainResourceDirectory(std::nullopt); }
};

TEST(Bundle, TheApplicationBundleCarriesItsIdentityAndVersion) {
  const auto bundle = Bundle::main();
  ASSERT_TRUE(bundle->resourceDirectory());
  EXPECT_TRUE(std::filesystem::exists(*bundle->resourceDirectory() / "Info.plist"));
  EXPECT_EQ(bundle->infoString("CFBundleName"), "Quillo");
  EXPECT_EQ(bundle->shortVersion(), "1.0");
  EXPECT_EQ(bundle->buildNumber(), "1");
  ASSERT_TRUE(bundle->identifier());
  EXPECT_NE(bundle->identifier()->find('.'), std::string::npos);
}

TEST(Bundle, InfoValuesComeFromTheInfoFile) {
  MainBundleAt fixture(fixtureResources);
  const auto bundle = Bundle::main();
  EXPECT_EQ(bundle->resourceDirectory(), fixtureResources);
  EXPECT_EQ(bundle->identifier(), "com.example.fixture");
  EXPECT_EQ(bundle->shortVersion(), "2.5");
  EXPECT_EQ(bundle->buildNumber(), "42");
  EXPECT_EQ(bundle->infoValue("NumericVersion"), PlistValue(3.5));
  EXPECT_EQ(bundle->infoString("NumericVersion"), std::nullopt);  // not a string
  EXPECT_EQ(bundle->infoValue("Missing"), std::nullopt);
}

TEST(Bundle, ABundleWithoutAReadableInfoFileHasNoInfoValues) {
  testing::TemporaryFolder folder;
  auto bare = Bundle::atPath(folder.path());
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->identifier(), std::nullopt);

  testing::writeFileBytes(folder.path() / "Broken" / "Info.plist", "<plist><dict><key>x</key>");
  LogCapture capture;
  auto broken = Bundle::atPath(folder.path() / "Broken");
  EXPECT_EQ(broken->shortVersion(), std::nullopt);
  EXPECT_EQ(capture.lines().size(), 1u);
  EXPECT_EQ(Bundle::atPath(folder.path() / "absent"), nullptr);
  EXPECT_EQ(Bundle(std::nullopt).buildNumber(), std::nullopt);
}

TEST(Bundle, ResourcesAreFoundByNameAndType) {
  const auto main = Bundle::atPath(fixtureResources);
  const auto sample = main->resourceBundle("Sample");
  ASSERT_TRUE(sample);
  EXPECT_EQ(sample->resourceDirectory(), fixtureResources / "Sample.bundle");
  EXPECT_TRUE(main->resourceBundle("Sample.bundle"));
  EXPECT_EQ(main->resourceBundle("Missing"), nullptr);
  EXPECT_EQ(main->resourceBundle("../resources/Sample"), nullptr);

  struct Case {
    const char* name;
    const char* type;
    std::optional<std::filesystem::path> path;
  };
  const Case cases[] = {
      {"vocab", "bpe", fixtureResources / "Sample.bundle" / "vocab.bpe"},
      {"encoder", "json", fixtureResources / "Sample.bundle" / "encoder.json"},
      {"encoder", ".json", fixtureResources / "Sample.bundle" / "encoder.json"},
      {"encoder.json", "", fixtureResources / "Sample.bundle" / "encoder.json"},
      {"greeting", "txt", fixtureResources / "Sample.bundle" / "en.lproj" / "greeting.txt"},
      {"vocab", "json", std::nullopt},
      {"missing", "bpe", std::nullopt},
      {"", "", std::nullopt},
      {"../Info", "plist", std::nullopt},
      {"vocab", "bpe/..", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + c.type);
    EXPECT_EQ(sample->pathForResource(c.name, c.type), c.path);
  }
}

TEST(Bundle, LocalizedStringsComeFromTheDevelopmentLanguageTable) {
  const auto sample = Bundle::atPath(fixtureResources / "Sample.bundle");
  struct Case {
    const char* key;
    const char* value;
    const char* table;
    std::string text;
  };
  const Case cases[] = {
      {"record_shortcut", "", "", "Record Shortcut"},
      {"record_shortcut", "", "Localizable", "Record Shortcut"},
      {"quoted", "", "", "Say \"hi\" \\ then\nstop"},
      {"unicode", "", "", "caf\xC3\xA9 \xE2\x8C\x98"},
      {"multi\nline key", "", "", "ok"},
      {"press_shortcut", "", "", "press_shortcut"},  // missing: the key itself
      {"press_shortcut", "Press", "", "Press"},
      {"record_shortcut", "", "OtherTable", "record_shortcut"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(sample->localizedString(c.key, c.value, c.table), c.text);
  }
}

TEST(Bundle, StringTablesAcceptTheTextFormatsVariants) {
  struct Case {
    std::string bytes;
    std::map<std::string, std::string> entries;
  };
  const Case cases[] = {
      {"", {}},
      {"/* only a comment */\n// and another", {}},
      {"\"a\"=\"b\";\"c\" = \"d\" ;", {{"a", "b"}, {"c", "d"}}},
      {"bare = word;", {{"bare", "word"}}},
      {"\"same\";", {{"same", "same"}}},
      {"\"pair\" = \"\\uD83D\\uDE00\";", {{"pair", "\xF0\x9F\x98\x80"}}},
      {"\xEF\xBB\xBF\"bom\" = \"x\";", {{"bom", "x"}}},
      {std::string("\xFF\xFE\"\0a\0\"\0=\0\"\0b\0\"\0;\0", 18), {{"a", "b"}}},
      {std::string("\xFE\xFF\0\"\0a\0\"\0=\0\"\0b\0\"\0;", 18), {{"a", "b"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(parseStringsTable(c.bytes), c.entries);
  }
}

TEST(Bundle, MalformedStringTablesAreTextErrorsAndShowKeys) {
  const std::vector<std::string> malformed = {
      "\"a\" = \"b\"", "\"a\" \"b\";",       "\"unterminated", "\"a\" = ;",
      "/* open",       "\"a\" = \"\\u12\";", "= \"b\";",       std::string("\xFF\xFE\"", 3)};
  for (const auto& bytes : malformed) {
    SCOPED_TRACE(bytes);
    EXPECT_THROW(parseStringsTable(bytes), TextError);
  }
  testing::TemporaryFolder folder;
  testing::writeFileBytes(folder.path() / "en.lproj" / "Localizable.strings", "\"a\" = \"b");
  LogCapture capture;
  EXPECT_EQ(Bundle::atPath(folder.path())->localizedString("a"), "a");
  EXPECT_EQ(capture.lines().size(), 1u);
}

}  // namespace
}  // namespace foundation
