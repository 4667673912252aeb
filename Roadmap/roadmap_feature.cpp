#include "Roadmap/roadmap_feature.h"

#include <fmt/format.h>

#include <algorithm>
#include <mutex>

#include "platform/foundation/text_error.h"
#include "platform/foundation/user_defaults.h"

namespace Roadmap {

namespace {

using foundation::Json;
using foundation::TextError;

std::string kindName(const Json& value) {
  if (value.is_null()) return "null";
  if (value.is_boolean()) return "a Boolean";
  if (value.is_number()) return "a number";
  if (value.is_string()) return "a string";
  if (value.is_array()) return "an array";
  return "an object";
}

std::optional<std::vector<LocalizedItem>> optionalLocalizedItems(const Json& object, std::string_view key) {
  const Json* member = foundation::optionalMember(object, key);
  if (member == nullptr) return std::nullopt;
  if (!member->is_array()) {
    throw TextError(fmt::format("Member \"{}\": Expected an array but found {}.", key, kindName(*member)));
  }
  std::vector<LocalizedItem> items;
  items.reserve(member->size());
  for (std::size_t index = 0; index < member->size(); ++index) {
    try {
      items.push_back((*member)[index].get<LocalizedItem>());
    } catch (const TextError& error) {
      throw TextError(fmt::format("Member \"{}\", item {}: {}", key, index, error.text()));
    }
  }
  return items;
}

// The ids of the local vote record, or nothing when the stored value is missing or of the wrong shape.
std::optional<std::vector<std::string>> storedVotes(const foundation::UserDefaults& defaults) {
  const auto array = defaults.arrayForKey(kRoadmapVotesKey);
  if (!array) return std::nullopt;
  std::vector<std::string> ids;
  ids.reserve(array->size());
  for (const auto& element : *array) {
    const std::string* id = element.stringValue();
    if (id == nullptr) return std::nullopt;
    ids.push_back(*id);
  }
  return ids;
}

// Serialises the read, append and store of the vote record: two votes finishing at once on different
// tasks would otherwise both read the old array and one id would be lost.
std::mutex voteRecordMutex;

}  // namespace

void from_json(const Json& json, RoadmapFeature& feature) {
  if (!json.is_object())
    throw TextError(fmt::format("Expected a feature object but found {}.", kindName(json)));
  feature.id = foundation::requiredString(json, "id");
  feature.title = foundation::optionalString(json, "title");
  feature.status = foundation::optionalString(json, "status");
  feature.description = foundation::optionalString(json, "description");
  feature.localizedTitle = optionalLocalizedItems(json, "localizedTitle");
  feature.localizedStatus = optionalLocalizedItems(json, "localizedStatus");
  feature.localizedDescription = optionalLocalizedItems(json, "localizedDescription");
  feature.isFinished = foundation::optionalBool(json, "isFinished");
}

void to_json(Json& json, const RoadmapFeature& feature) {
  json = Json::object();
  json["id"] = feature.id;
  if (feature.title) json["title"] = *feature.title;
  if (feature.status) json["status"] = *feature.status;
  if (feature.description) json["description"] = *feature.description;
  if (feature.localizedTitle) json["localizedTitle"] = *feature.localizedTitle;
  if (feature.localizedStatus) json["localizedStatus"] = *feature.localizedStatus;
  if (feature.localizedDescription) json["localizedDescription"] = *feature.localizedDescription;
  if (feature.isFinished) json["isFinished"] = *feature.isFinished;
}

std::vector<RoadmapFeature> decodeRoadmapFeatures(const Json& json) {
  if (!json.is_array()) {
    throw TextError(fmt::format("Expected an array of features but found {}.", kindName(json)));
  }
  std::vector<RoadmapFeature> features;
  features.reserve(json.size());
  for (std::size_t index = 0; index < json.size(); ++index) {
    try {
      features.push_back(json[index].get<RoadmapFeature>());
    } catch (const TextError& error) {
      throw TextError(fmt::format("Feature {}: {}", index, error.text()));
    }
  }
  return features;
}

bool RoadmapFeature::hasVoted() const {
  const auto ids = storedVotes(*foundation::UserDefaults::standard());
  return ids && std::find(ids->begin(), ids->end(), id) != ids->end();
}

void RoadmapFeature::setHasVoted(bool voted) const {
  if (!voted) return;
  const auto defaults = foundation::UserDefaults::standard();
  std::lock_guard lock(voteRecordMutex);
  auto ids = storedVotes(*defaults).value_or(std::vector<std::string>{});
  ids.push_back(id);
  foundation::PlistValue::Array array(ids.begin(), ids.end());
  defaults->setObject(foundation::PlistValue(std::move(array)), kRoadmapVotesKey);
}

}  // namespace Roadmap
