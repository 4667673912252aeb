#include "Roadmap/localized_item.h"

#include "Roadmap/preferred_localization.h"

namespace Roadmap {

void from_json(const foundation::Json& json, LocalizedItem& item) {
  item.language = foundation::requiredString(json, "language");
  item.value = foundation::requiredString(json, "value");
}

void to_json(foundation::Json& json, const LocalizedItem& item) {
  json = foundation::Json::object();
  json["language"] = item.language;
  json["value"] = item.value;
}

std::optional<std::string> localizedValue(const std::optional<std::vector<LocalizedItem>>& items,
                                          const std::string& language) {
  if (!items) return std::nullopt;
  for (const auto& item : *items) {
    if (item.language == language) return item.value;
  }
  return std::nullopt;
}

std::optional<std::string> localizedValue(const std::optional<std::vector<LocalizedItem>>& items) {
  if (!items || items->empty()) return std::nullopt;
  const auto preferred = mainBundlePreferredLocalizations();
  const std::string wanted = preferred.empty() ? std::string("en") : preferred.front();
  return localizedValue(items, wanted);
}

}  // namespace Roadmap
