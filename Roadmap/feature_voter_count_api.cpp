#include "Roadmap/feature_voter_count_api.h"

#include <algorithm>
#include <exception>

#include "Roadmap/json_data_fetcher.h"
#include "platform/foundation/log.h"

namespace Roadmap {

namespace {

bool isUnreserved(char character) {
  return (character >= 'A' && character <= 'Z') || (character >= 'a' && character <= 'z') ||
         (character >= '0' && character <= '9') || character == '-' || character == '.' || character == '_' ||
         character == '~';
}

bool isSafePathText(std::string_view text) { return std::all_of(text.begin(), text.end(), isUnreserved); }

bool isFinished(const RoadmapFeature& feature) { return feature.isFinished.value_or(false); }

}  // namespace

FeatureVoterCountAPI::FeatureVoterCountAPI(std::string counterNamespace, std::string serviceAddress)
    : namespace_(std::move(counterNamespace)), serviceAddress_(std::move(serviceAddress)) {}

std::string FeatureVoterCountAPI::counterURLString(std::string_view action,
                                                   const RoadmapFeature& feature) const {
  std::string address = serviceAddress_;
  address += '/';
  address += action;
  address += '/';
  address += namespace_;
  address += "/feature";
  address += feature.id;
  return address;
}

RoadmapFeatureVotingCount FeatureVoterCountAPI::loadCount(std::string_view action,
                                                          const RoadmapFeature& feature) const {
  if (!isSafePathText(namespace_) || !isSafePathText(feature.id)) throw JSONDataFetcher::Error::invalidURL();
  return JSONDataFetcher::loadJSON<RoadmapFeatureVotingCount>(counterURLString(action, feature));
}

std::int64_t FeatureVoterCountAPI::fetchVoteCount(const RoadmapFeature& feature) const {
  if (isFinished(feature)) return 0;
  try {
    return loadCount("get", feature).value.value_or(0);
  } catch (const std::exception& error) {
    foundation::log(printedForm(error));
    foundation::log(std::string("Fetching voting count failed with error: ") + error.what());
    return 0;
  }
}

VoteResult FeatureVoterCountAPI::submitVote(const RoadmapFeature& feature) const {
  if (isFinished(feature)) return VoteResult::notCounted();
  RoadmapFeatureVotingCount reply;
  try {
    reply = loadCount("hit", feature);
  } catch (const std::exception& error) {
    foundation::log(std::string("Voting failed: ") + error.what());
    return VoteResult::notCounted();
  }
  feature.setHasVoted(true);
  foundation::log("Successfully voted, count is now: " + describe(reply));
  return VoteResult::counted(reply.value);
}

}  // namespace Roadmap
