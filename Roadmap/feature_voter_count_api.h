// Counts roadmap votes at the public hit-counter service, one counter per feature.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Roadmap/feature_voter.h"
#include "Roadmap/remote_hosts.h"
#include "Roadmap/roadmap_feature_voting_count.h"

namespace Roadmap {

// The counter of a feature is read with a GET of <service>/get/<namespace>/feature<id> and incremented
// with <service>/hit/<namespace>/feature<id>; the reply is {"value": <count>}. The namespace and the id go
// into the path as they are, so one holding a character outside the unreserved URL set (letters, digits,
// "-", ".", "_", "~") makes the address invalid and no request is sent: a feed must not be able to point
// a vote at another path or another service.
class FeatureVoterCountAPI : public FeatureVoter {
 public:
  // `counterNamespace` is the name space at the service under which all of this roadmap's counters live;
  // `serviceAddress` is the service's address (the deployed service unless redirected).
  explicit FeatureVoterCountAPI(std::string counterNamespace,
                                std::string serviceAddress = voteCounterService());

  const std::string& counterNamespace() const { return namespace_; }
  const std::string& serviceAddress() const { return serviceAddress_; }

  // 0 at once, without a request, for a finished feature. A failure prints the error's printed form and
  // "Fetching voting count failed with error: " with its description, and gives 0.
  std::int64_t fetchVoteCount(const RoadmapFeature& feature) const override;

  // Nothing is sent or recorded for a finished feature. After a reply, the feature's id is appended to the
  // local vote record (also when the reply carries no count), "Successfully voted, count is now: " and the
  // reply's printed form are printed, and the vote is counted with the reply's value. A failure prints
  // "Voting failed: " with the description, records nothing and is not counted.
  VoteResult submitVote(const RoadmapFeature& feature) const override;

  // The address text of a feature's counter for an action ("get" or "hit"), as it is built.
  std::string counterURLString(std::string_view action, const RoadmapFeature& feature) const;

 private:
  // Throws JSONDataFetcher::Error (invalidURL) for an unsafe namespace or id, else as loadJSON does.
  RoadmapFeatureVotingCount loadCount(std::string_view action, const RoadmapFeature& feature) const;

  std::string namespace_;
  std::string serviceAddress_;
};

}  // namespace Roadmap
