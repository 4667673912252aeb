// Which of the application's localizations the user prefers, read from the locale environment.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/bundle.h"

namespace Roadmap {

// Reads one environment variable; nothing when it is unset.
using EnvironmentReader = std::function<std::optional<std::string>(std::string_view name)>;

// The user's languages in order of preference: the colon-separated list in LANGUAGE, then LC_ALL,
// LC_MESSAGES and LANG, each reduced to its language ("pt_BR.UTF-8@euro" gives "pt"). Empty entries and
// the locales "C" and "POSIX" name no language; a language named twice keeps its first place.
std::vector<std::string> userPreferredLanguages(const EnvironmentReader& environment);

// The localizations a bundle holds: the names of its "<name>.lproj" folders and its development language,
// sorted and without repeats.
std::vector<std::string> bundleLocalizations(const foundation::Bundle& bundle);

// The available localizations that the user names, in the user's order of preference (exact,
// case-sensitive comparison); empty when the user names none of them.
std::vector<std::string> preferredLocalizations(const std::vector<std::string>& available,
                                                const std::vector<std::string>& userLanguages);

// The main bundle's localizations in the user's order of preference, read from the process environment
// (or from the reader installed for tests).
std::vector<std::string> mainBundlePreferredLocalizations();

// For tests: reads the locale environment through `reader` instead of the process environment; null
// restores the process environment. Thread-safe.
void setEnvironmentReaderForTesting(EnvironmentReader reader);

}  // namespace Roadmap
