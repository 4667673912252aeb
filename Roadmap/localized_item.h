// One text of a roadmap feature in one language, and the lookup of the text in the user's language.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/json_text.h"  // Json

namespace Roadmap {

struct LocalizedItem {
  // A localization identifier such as "en", compared by exact, case-sensitive equality.
  std::string language;
  std::string value;

  bool operator==(const LocalizedItem&) const = default;
};

// Decoding needs an object with the string members "language" and "value" (other members are ignored);
// anything else throws TextError.
void from_json(const foundation::Json& json, LocalizedItem& item);
void to_json(foundation::Json& json, const LocalizedItem& item);

// The value of the first item whose language is the user's preferred localization (the first of the main
// bundle's preferred localizations, "en" when there is none); nothing when the list is absent or empty or
// no item has that language. Never falls back to another language. Usable from any thread.
std::optional<std::string> localizedValue(const std::optional<std::vector<LocalizedItem>>& items);

// The same lookup for a given wanted language.
std::optional<std::string> localizedValue(const std::optional<std::vector<LocalizedItem>>& items,
                                          const std::string& language);

}  // namespace Roadmap
