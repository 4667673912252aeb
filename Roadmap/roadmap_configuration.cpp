#include "Roadmap/roadmap_configuration.h"

#include <stdexcept>
#include <utility>

#include "Roadmap/feature_voter_count_api.h"
#include "platform/foundation/bundle.h"

namespace Roadmap {

namespace {

std::shared_ptr<const FeatureVoter> countAPIVoter(std::optional<std::string> counterNamespace) {
  if (!counterNamespace) counterNamespace = foundation::Bundle::main()->identifier();
  if (!counterNamespace) throw RoadmapConfiguration::MissingNamespace();
  return std::make_shared<FeatureVoterCountAPI>(std::move(*counterNamespace));
}

}  // namespace

RoadmapConfiguration::RoadmapConfiguration(foundation::URL roadmapJSONURL,
                                           std::optional<std::string> counterNamespace, RoadmapStyle style,
                                           bool shuffledOrder, bool allowVotes, bool allowSearching)
    : RoadmapConfiguration(std::move(roadmapJSONURL), countAPIVoter(std::move(counterNamespace)),
                           std::move(style), shuffledOrder, allowVotes, allowSearching) {}

RoadmapConfiguration::RoadmapConfiguration(foundation::URL roadmapJSONURL,
                                           std::shared_ptr<const FeatureVoter> voter, RoadmapStyle style,
                                           bool shuffledOrder, bool allowVotes, bool allowSearching)
    : roadmapJSONURL_(std::move(roadmapJSONURL)),
      voter_(std::move(voter)),
      style_(std::move(style)),
      shuffledOrder_(shuffledOrder),
      allowVotes_(allowVotes),
      allowSearching_(allowSearching) {
  if (!voter_) throw std::invalid_argument("a roadmap configuration needs a voter");
}

}  // namespace Roadmap
