#include "Roadmap/features_fetcher.h"

#include <exception>
#include <string>

#include "Roadmap/json_data_fetcher.h"
#include "platform/foundation/log.h"

namespace Roadmap {

std::vector<RoadmapFeature> FeaturesFetcher::fetch() const {
  try {
    const std::string body = JSONDataFetcher::loadData(featureJSONURL);
    return decodeRoadmapFeatures(foundation::parseJson(body));
  } catch (const std::exception& error) {
    foundation::log(std::string("error: ") + error.what());
    return {};
  }
}

}  // namespace Roadmap
