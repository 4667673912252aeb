// The vote counter service's reply: the counter's current value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/foundation/json_text.h"  // Json

namespace Roadmap {

struct RoadmapFeatureVotingCount {
  std::optional<std::int64_t> value{};

  bool operator==(const RoadmapFeatureVotingCount&) const = default;
};

// Decoding needs an object; an absent or null "value" leaves the value absent, other keys are ignored, and
// a "value" that is not a JSON integer (8.5, "8", true) throws TextError.
void from_json(const foundation::Json& json, RoadmapFeatureVotingCount& count);
// Writes "value" only when present.
void to_json(foundation::Json& json, const RoadmapFeatureVotingCount& count);

// The reply's printed form: "RoadmapFeatureVotingCount(value: Optional(8))" or
// "RoadmapFeatureVotingCount(value: nil)".
std::string describe(const RoadmapFeatureVotingCount& count);

}  // namespace Roadmap
