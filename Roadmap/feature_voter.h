// The interface of a vote counter, and what casting a vote came to.
#pragma once

#include <cstdint>
#include <optional>

#include "Roadmap/roadmap_feature.h"

namespace Roadmap {

// What casting one vote came to. A vote that was not counted (it failed, or the feature is finished) is
// told apart from a counted vote whose reply did not say the new count, so a caller can leave a shown
// count alone after a failure.
class VoteResult {
 public:
  static VoteResult notCounted() { return VoteResult(false, std::nullopt); }
  static VoteResult counted(std::optional<std::int64_t> newCount) { return VoteResult(true, newCount); }

  bool isCounted() const { return isCounted_; }
  // The count the counter replied with; nothing when the vote was not counted or the reply had none.
  const std::optional<std::int64_t>& newCount() const { return newCount_; }

  bool operator==(const VoteResult&) const = default;

 private:
  VoteResult(bool isCounted, std::optional<std::int64_t> newCount)
      : isCounted_(isCounted), newCount_(newCount) {}
  bool isCounted_;
  std::optional<std::int64_t> newCount_;
};

// Reads and casts the votes of roadmap features. Both calls block the calling thread while the counter is
// asked (run them on a worker task, never on the main thread) and never throw.
class FeatureVoter {
 public:
  virtual ~FeatureVoter() = default;

  // The feature's current count; 0 when it cannot be had.
  virtual std::int64_t fetchVoteCount(const RoadmapFeature& feature) const = 0;
  // Casts one vote for the feature.
  virtual VoteResult submitVote(const RoadmapFeature& feature) const = 0;
};

}  // namespace Roadmap
