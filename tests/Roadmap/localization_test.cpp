#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Roadmap/localized_item.h"
#include "Roadmap/preferred_localization.h"
#include "tests/Roadmap/roadmap_test_support.h"

namespace {

using Roadmap::LocalizedItem;
using Roadmap::localizedValue;
using roadmaptest::LocaleScope;
using Strings = std::vector<std::string>;

Roadmap::EnvironmentReader environmentOf(std::map<std::string, std::string> variables) {
  return [variables = std::move(variables)](std::string_view name) -> std::optional<std::string> {
    const auto found = variables.find(std::string(name));
    if (found == variables.end()) return std::nullopt;
    return found->second;
  };
}

TEST(UserPreferredLanguages, ReadsLanguageListThenLocaleVariablesWithoutRegionOrEncoding) {
  struct Case {
    std::map<std::string, std::string> variables;
    Strings languages;
  };
  const Case cases[] = {
      {{}, {}},
      {{{"LANG", "de_DE.UTF-8"}}, {"de"}},
      {{{"LANG", "C.UTF-8"}}, {}},
      {{{"LANG", "POSIX"}}, {}},
      {{{"LANGUAGE", "fr_CA:pt_BR:en"}, {"LANG", "de_DE.UTF-8"}}, {"fr", "pt", "en", "de"}},
      {{{"LANGUAGE", ""}, {"LC_ALL", "sr_RS@latin"}, {"LC_MESSAGES", "it_IT"}, {"LANG", "es_ES"}},
       {"sr", "it", "es"}},
      {{{"LANGUAGE", "en_GB::en_US"}, {"LC_ALL", ""}, {"LANG", "en_US.UTF-8"}}, {"en"}},
      {{{"LC_MESSAGES", "ja_JP.eucJP"}, {"LANG", "C"}}, {"ja"}},
  };
  for (std::size_t index = 0; index < std::size(cases); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(Roadmap::userPreferredLanguages(environmentOf(cases[index].variables)), cases[index].languages);
  }
}

TEST(PreferredLocalizations, KeepsTheUsersOrderAmongTheApplicationsLocalizations) {
  EXPECT_EQ(Roadmap::preferredLocalizations({"de", "en", "fr"}, {"it", "fr", "en"}), (Strings{"fr", "en"}));
  EXPECT_EQ(Roadmap::preferredLocalizations({"de", "en"}, {"it", "es"}), Strings{});
  EXPECT_EQ(Roadmap::preferredLocalizations({"en"}, {}), Strings{});
  // Identifiers are compared exactly.
  EXPECT_EQ(Roadmap::preferredLocalizations({"de"}, {"DE"}), Strings{});
}

TEST(BundleLocalizations, AreTheLocalizationFoldersAndTheDevelopmentLanguage) {
  roadmaptest::TemporaryFolder folder;
  std::filesystem::create_directories(folder.path() / "fr.lproj");
  std::filesystem::create_directories(folder.path() / "de.lproj");
  std::filesystem::create_directories(folder.path() / "Other.bundle");
  std::ofstream(folder.path() / "it.lproj") << "a file, not a folder";
  EXPECT_EQ(Roadmap::bundleLocalizations(foundation::Bundle(folder.path())), (Strings{"de", "en", "fr"}));
  EXPECT_EQ(Roadmap::bundleLocalizations(foundation::Bundle(std::nullopt)), Strings{"en"});
}

TEST(LocalizedValue, PicksTheItemOfTheUsersPreferredLocalization) {
  const std::vector<LocalizedItem> frenchAndEnglish{{"fr", "Bonjour"}, {"en", "Hello"}};
  const std::vector<LocalizedItem> twoEnglish{{"en", "first"}, {"en", "second"}};
  const std::vector<LocalizedItem> others{{"fr", "Bonjour"}, {"es", "Hola"}};
  struct Case {
    std::string name;
    std::map<std::string, std::string> environment;
    std::optional<std::vector<LocalizedItem>> items;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {"english user", {{"LANG", "en_US.UTF-8"}}, frenchAndEnglish, "Hello"},
      {"french user", {{"LANGUAGE", "fr"}, {"LANG", "fr_FR.UTF-8"}}, frenchAndEnglish, "Bonjour"},
      {"first of two english items wins", {{"LANG", "en_GB.UTF-8"}}, twoEnglish, "first"},
      {"no item for the wanted language", {{"LANG", "en_US.UTF-8"}}, others, std::nullopt},
      {"no preferred localization means english", {}, frenchAndEnglish, "Hello"},
      {"an unsupported language means english", {{"LANG", "ja_JP.UTF-8"}}, frenchAndEnglish, "Hello"},
      {"german before french, no german item", {{"LANGUAGE", "de:fr"}}, frenchAndEnglish, std::nullopt},
      {"absent list", {{"LANG", "en_US.UTF-8"}}, std::nullopt, std::nullopt},
      {"empty list", {{"LANG", "en_US.UTF-8"}}, std::vector<LocalizedItem>{}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LocaleScope locale(c.environment, {"en", "fr", "de"});
    EXPECT_EQ(localizedValue(c.items), c.value);
  }
}

TEST(LocalizedValue, NeverFallsBackToAnotherLanguage) {
  LocaleScope locale({{"LANGUAGE", "fr:en"}}, {"fr"});
  EXPECT_EQ(localizedValue(std::vector<LocalizedItem>{{"en", "Hello"}}), std::nullopt);
}

}  // namespace

namespace {

TEST(LocalizedValue, CanBeAskedFromSeveralThreadsWhileTheEnvironmentReaderChanges) {
  LocaleScope locale({{"LANG", "fr_FR.UTF-8"}}, {"fr"});
  const std::vector<LocalizedItem> items{{"fr", "Bonjour"}, {"en", "Hello"}};
  std::atomic<bool> isDone = false;
  std::atomic<int> unexpected = 0;
  std::atomic<int> reads = 0;
  std::vector<std::thread> readers;
  for (int index = 0; index < 2; ++index) {
    readers.emplace_back([&] {
      while (!isDone) {
        const auto value = localizedValue(items);
        if (value != "Bonjour" && value != "Hello") ++unexpected;
        ++reads;
      }
    });
  }
  // Keeps changing the reader until the readers have overlapped with the changes for a while.
  for (int round = 0; round < 200 || reads < 200; ++round) {
    Roadmap::setEnvironmentReaderForTesting(environmentOf({{"LANG", round % 2 ? "en_US" : "fr_FR"}}));
  }
  isDone = true;
  for (auto& reader : readers) reader.join();
  EXPECT_EQ(unexpected, 0);
}

}  // namespace
