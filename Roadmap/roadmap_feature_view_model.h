// The state of one roadmap row, shared by the row and its vote button: the feature, its shown vote count,
// and casting the user's vote.
#pragma once

#include <cstdint>
#include <memory>

#include "Roadmap/feature_voter.h"
#include "Roadmap/roadmap_configuration.h"
#include "Roadmap/roadmap_feature.h"
#include "platform/concurrency/task.h"
#include "platform/ui/observable_object.h"

namespace Roadmap {

// Owned by its row view. `voteCount` and the vote bookkeeping change on the main thread only; the
// counter is asked on worker tasks.
class RoadmapFeatureViewModel : public ui::ObservableObject,
                                public std::enable_shared_from_this<RoadmapFeatureViewModel> {
  struct Passkey {};

 public:
  static std::shared_ptr<RoadmapFeatureViewModel> make(RoadmapFeature feature,
                                                       RoadmapConfiguration configuration);
  RoadmapFeatureViewModel(Passkey, RoadmapFeature feature, RoadmapConfiguration configuration);

  const RoadmapFeature feature;
  // The source of the voter and the style.
  const RoadmapConfiguration configuration;
  // Whether the row's vote button may vote; vote() itself does not look at it.
  const bool canVote;
  // The count shown on the vote button.
  ui::Published<std::int64_t> voteCount{this, 0};

  // Casts the user's vote; call on the main thread. A feature already in the local vote record is refused
  // with the line "already voted for this, can't vote again", and so is a second vote while one is still
  // waiting for the counter's reply (the record is written only with the reply), with its own line; a
  // refused vote returns an empty task handle. Otherwise the counter is asked on a worker task, which
  // keeps this view model alive, and back on the main thread `voteCount` becomes the counter's new count,
  // or the shown count plus one when the vote was counted but the reply did not say the count. A vote
  // that was not counted (it failed, or the feature is finished) leaves `voteCount` as it was, so the
  // number never shows a vote that does not exist. The task has finished once `voteCount` is updated.
  concurrency::Task<> vote();

  // Whether a vote is waiting for the counter's reply.
  bool isVoting() const { return isVoting_; }

  // Reads the feature's count from the voter on the calling thread (a worker: the row's appearance task)
  // and sets `voteCount` to it on the main thread. When the calling task was cancelled meanwhile (the row
  // left the view), the shown count is left alone.
  void fetchVoteCount();

 private:
  void applyVote(const VoteResult& result);

  bool isVoting_ = false;  // main thread only
};

}  // namespace Roadmap
