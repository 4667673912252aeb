#include "Roadmap/roadmap_feature_voting_count.h"

#include <fmt/format.h>

#include "platform/foundation/text_error.h"

namespace Roadmap {

void from_json(const foundation::Json& json, RoadmapFeatureVotingCount& count) {
  if (!json.is_object()) throw foundation::TextError("Expected a vote count object.");
  count.value = foundation::optionalInteger(json, "value");
}

void to_json(foundation::Json& json, const RoadmapFeatureVotingCount& count) {
  json = foundation::Json::object();
  if (count.value) json["value"] = *count.value;
}

std::string describe(const RoadmapFeatureVotingCount& count) {
  if (!count.value) return "RoadmapFeatureVotingCount(value: nil)";
  return fmt::format("RoadmapFeatureVotingCount(value: Optional({}))", *count.value);
}

}  // namespace Roadmap
