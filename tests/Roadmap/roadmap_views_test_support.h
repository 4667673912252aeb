// Shared pieces of the roadmap view tests: a scripted vote counter and a configuration around it.
#pragma once

#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Roadmap/feature_voter.h"
#include "Roadmap/roadmap_configuration.h"
#include "Roadmap/roadmap_template.h"

namespace roadmapviewstest {

// Answers counts with `count` and votes with `voteResult`; a counted vote is recorded in the local vote
// record, as the hit-counter client does. Thread-safe: one mutex guards the records.
class ScriptedVoter : public Roadmap::FeatureVoter {
 public:
  std::int64_t fetchVoteCount(const Roadmap::RoadmapFeature& feature) const override {
    std::lock_guard lock(mutex_);
    fetched_.push_back(feature.id);
    return count;
  }
  Roadmap::VoteResult submitVote(const Roadmap::RoadmapFeature& feature) const override {
    {
      std::lock_guard lock(mutex_);
      voted_.push_back(feature.id);
    }
    if (voteGate_) voteGate_->wait();
    if (voteResult.isCounted()) feature.setHasVoted(true);
    return voteResult;
  }
  // Holds every vote until releaseVotes().
  void holdVotes() { voteGate_ = voteRelease_.get_future().share(); }
  void releaseVotes() { voteRelease_.set_value(); }

  std::vector<std::string> votedIds() const {
    std::lock_guard lock(mutex_);
    return voted_;
  }
  std::vector<std::string> fetchedIds() const {
    std::lock_guard lock(mutex_);
    return fetched_;
  }

  Roadmap::VoteResult voteResult = Roadmap::VoteResult::counted(1);
  std::int64_t count = 0;

 private:
  mutable std::mutex mutex_;
  mutable std::vector<std::string> voted_;
  mutable std::vector<std::string> fetched_;
  std::promise<void> voteRelease_;
  std::optional<std::shared_future<void>> voteGate_;
};

inline Roadmap::RoadmapConfiguration configurationWith(
    std::shared_ptr<const Roadmap::FeatureVoter> voter, bool allowVotes = true, bool allowSearching = false,
    std::string feedURL = "http://127.0.0.1:1/roadmap.json") {
  return Roadmap::RoadmapConfiguration(*foundation::URL::parse(feedURL), std::move(voter),
                                       Roadmap::style(Roadmap::RoadmapTemplate::standard), false, allowVotes,
                                       allowSearching);
}

}  // namespace roadmapviewstest
