#include "Roadmap/roadmap_feature_view_model.h"

#include <exception>
#include <string>
#include <utility>

#include "platform/concurrency/main_actor.h"
#include "platform/foundation/log.h"

namespace Roadmap {

std::shared_ptr<RoadmapFeatureViewModel> RoadmapFeatureViewModel::make(RoadmapFeature feature,
                                                                       RoadmapConfiguration configuration) {
  return std::make_shared<RoadmapFeatureViewModel>(Passkey{}, std::move(feature), std::move(configuration));
}

RoadmapFeatureViewModel::RoadmapFeatureViewModel(Passkey, RoadmapFeature feature,
                                                 RoadmapConfiguration configuration)
    : feature(std::move(feature)),
      configuration(std::move(configuration)),
      canVote(this->configuration.allowVotes()) {}

concurrency::Task<> RoadmapFeatureViewModel::vote() {
  concurrency::MainActor::assertIsolated();
  if (feature.hasVoted()) {
    foundation::log("already voted for this, can't vote again");
    return {};
  }
  if (isVoting_) {
    foundation::log("a vote for this is already under way, can't vote again");
    return {};
  }
  isVoting_ = true;
  return concurrency::Task<>([self = shared_from_this()] {
    VoteResult result = VoteResult::notCounted();
    try {
      result = self->configuration.voter().submitVote(self->feature);
    } catch (const std::exception& error) {
      // A voter of another kind may throw; its failure is an uncounted vote like any other.
      foundation::log(std::string("Voting failed: ") + error.what());
    }
    concurrency::MainActor::run([&] { self->applyVote(result); });
  });
}

void RoadmapFeatureViewModel::applyVote(const VoteResult& result) {
  isVoting_ = false;
  if (!result.isCounted()) return;
  voteCount.set(result.newCount() ? *result.newCount() : voteCount.get() + 1);
}

void RoadmapFeatureViewModel::fetchVoteCount() {
  std::int64_t count = 0;
  try {
    count = configuration.voter().fetchVoteCount(feature);
  } catch (const std::exception& error) {
    foundation::log(std::string("Fetching voting count failed with error: ") + error.what());
  }
  if (concurrency::isCancelled()) return;
  auto self = shared_from_this();
  concurrency::MainActor::run([&] { self->voteCount.set(count); });
}

}  // namespace Roadmap
