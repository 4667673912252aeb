// How one roadmap is set up: its feed, its vote counter, its look and three switches.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Roadmap/feature_voter.h"
#include "Roadmap/roadmap_style.h"
#include "platform/foundation/text_error.h"
#include "platform/foundation/url.h"

namespace Roadmap {

// A plain value that nothing changes once it is made. Copies share one voter.
class RoadmapConfiguration {
 public:
  // Thrown when no counter namespace was given and the main bundle has no identifier to stand in for it.
  class MissingNamespace : public foundation::TextError {
   public:
    MissingNamespace() : TextError("Missing namespace") {}
  };

  // Votes are counted at the hit-counter service (a FeatureVoterCountAPI) under `counterNamespace`, used
  // as given (also when empty), or else under the main bundle's identifier. Throws MissingNamespace when
  // neither exists; the caller decides what to show instead of the roadmap.
  RoadmapConfiguration(foundation::URL roadmapJSONURL, std::optional<std::string> counterNamespace,
                       RoadmapStyle style, bool shuffledOrder, bool allowVotes, bool allowSearching);
  // Votes are read and cast through `voter`, which must not be null.
  RoadmapConfiguration(foundation::URL roadmapJSONURL, std::shared_ptr<const FeatureVoter> voter,
                       RoadmapStyle style, bool shuffledOrder, bool allowVotes, bool allowSearching);

  // The address of the feed document.
  const foundation::URL& roadmapJSONURL() const { return roadmapJSONURL_; }
  // Reads and casts the votes.
  const FeatureVoter& voter() const { return *voter_; }
  const std::shared_ptr<const FeatureVoter>& sharedVoter() const { return voter_; }
  const RoadmapStyle& style() const { return style_; }
  // The list shows the features in a random order, drawn anew at each load.
  bool shuffledOrder() const { return shuffledOrder_; }
  // Off: vote buttons show no icon and cast no vote, while counts still show.
  bool allowVotes() const { return allowVotes_; }
  // On: the list carries a search field that filters by title.
  bool allowSearching() const { return allowSearching_; }

 private:
  foundation::URL roadmapJSONURL_;
  std::shared_ptr<const FeatureVoter> voter_;
  RoadmapStyle style_;
  bool shuffledOrder_;
  bool allowVotes_;
  bool allowSearching_;
};

}  // namespace Roadmap
