// Loads the roadmap feed: the list of planned features.
#pragma once

#include <vector>

#include "Roadmap/roadmap_feature.h"
#include "platform/foundation/url.h"

namespace Roadmap {

struct FeaturesFetcher {
  // The address of the feed document.
  foundation::URL featureJSONURL;

  // The features of the feed in document order. Never fails: a transport failure or a body that does not
  // decode prints "error: " and the description, and gives an empty list. The status is not looked at.
  // Blocks the calling thread (run it on a worker task); cancelling the task ends the request as a failure.
  std::vector<RoadmapFeature> fetch() const;
};

}  // namespace Roadmap
