#include "Roadmap/preferred_localization.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace Roadmap {

namespace {

// Guards the test reader; the process environment itself is only read.
std::mutex readerMutex;
EnvironmentReader testReader;

std::optional<std::string> processEnvironmentValue(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

EnvironmentReader currentReader() {
  std::lock_guard lock(readerMutex);
  if (testReader) return testReader;
  return processEnvironmentValue;
}

// "pt_BR.UTF-8@euro" -> "pt"; "C" and "POSIX" name no language.
std::string languageOfLocale(std::string_view locale) {
  const auto end = locale.find_first_of("_-.@");
  std::string language(locale.substr(0, end));
  if (language == "C" || language == "POSIX") return {};
  return language;
}

void appendLanguage(std::vector<std::string>& languages, std::string_view locale) {
  std::string language = languageOfLocale(locale);
  if (language.empty()) return;
  if (std::find(languages.begin(), languages.end(), language) != languages.end()) return;
  languages.push_back(std::move(language));
}

}  // namespace

std::vector<std::string> userPreferredLanguages(const EnvironmentReader& environment) {
  std::vector<std::string> languages;
  if (!environment) return languages;
  if (auto list = environment("LANGUAGE")) {
    std::string_view rest = *list;
    while (!rest.empty()) {
      const auto colon = rest.find(':');
      appendLanguage(languages, rest.substr(0, colon));
      if (colon == std::string_view::npos) break;
      rest.remove_prefix(colon + 1);
    }
  }
  for (std::string_view name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (auto locale = environment(name)) appendLanguage(languages, *locale);
  }
  return languages;
}

std::vector<std::string> bundleLocalizations(const foundation::Bundle& bundle) {
  std::vector<std::string> localizations{std::string(foundation::Bundle::developmentLanguage)};
  if (const auto& directory = bundle.resourceDirectory()) {
    std::error_code error;
    for (std::filesystem::directory_iterator entry(*directory, error), end; !error && entry != end;
         entry.increment(error)) {
      const auto& path = entry->path();
      if (path.extension() != ".lproj" || path.stem().empty()) continue;
      std::error_code kindError;
      if (!entry->is_directory(kindError)) continue;
      localizations.push_back(path.stem().string());
    }
  }
  std::sort(localizations.begin(), localizations.end());
  localizations.erase(std::unique(localizations.begin(), localizations.end()), localizations.end());
  return localizations;
}

std::vector<std::string> preferredLocalizations(const std::vector<std::string>& available,
                                                const std::vector<std::string>& userLanguages) {
  std::vector<std::string> result;
  for (const auto& language : userLanguages) {
    if (std::find(available.begin(), available.end(), language) == available.end()) continue;
    if (std::find(result.begin(), result.end(), language) != result.end()) continue;
    result.push_back(language);
  }
  return result;
}

std::vector<std::string> mainBundlePreferredLocalizations() {
  const auto bundle = foundation::Bundle::main();
  return preferredLocalizations(bundleLocalizations(*bundle), userPreferredLanguages(currentReader()));
}

void setEnvironmentReaderForTesting(EnvironmentReader reader) {
  std::lock_guard lock(readerMutex);
  testReader = std::move(reader);
}

}  // namespace Roadmap
