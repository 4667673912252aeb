// One planned feature of the roadmap feed, its JSON form, and whether this user has voted for it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Roadmap/localized_item.h"
#include "platform/foundation/json_text.h"  // Json

namespace Roadmap {

// The user-defaults key of the local vote record: an array of the ids voted for, in the order of voting.
inline constexpr std::string_view kRoadmapVotesKey = "roadmap_votes";

// Identified by `id`: two features are the same row when their ids are equal.
struct RoadmapFeature {
  // The row's identity, the name of its vote counter and its entry in the local vote record.
  std::string id;
  std::optional<std::string> title{};
  // Free status text for the row's badge.
  std::optional<std::string> status{};
  std::optional<std::string> description{};
  std::optional<std::vector<LocalizedItem>> localizedTitle{};
  std::optional<std::vector<LocalizedItem>> localizedStatus{};
  std::optional<std::vector<LocalizedItem>> localizedDescription{};
  // True marks a finished feature: no vote button, and its count is neither read nor incremented.
  std::optional<bool> isFinished{};

  bool operator==(const RoadmapFeature&) const = default;

  // Whether the local vote record in the standard user defaults holds this feature's id. A record that is
  // not an array of strings only (a stray number, a plain string) counts as no votes at all.
  bool hasVoted() const;
  // Setting true appends the id to the local record (again, when it is already there) and stores the
  // whole array; a record of the wrong shape is replaced by one holding only this id. The record only
  // grows: false changes nothing. Concurrent calls are serialised, so no vote is lost.
  void setHasVoted(bool voted) const;
};

// Decoding needs an object whose "id" is a string; the other keys are optional (null counts as absent)
// but must have their own kind when present: "title", "status" and "description" strings, the localized
// keys arrays of localized items, "isFinished" a Boolean. Unknown keys are ignored. Anything else throws
// TextError.
void from_json(const foundation::Json& json, RoadmapFeature& feature);
// Writes "id" and each present field, in declaration order.
void to_json(foundation::Json& json, const RoadmapFeature& feature);

// The features of a feed document, in document order. All or nothing: a top level that is not an array,
// or one feature that does not decode, throws TextError naming the fault.
std::vector<RoadmapFeature> decodeRoadmapFeatures(const foundation::Json& json);

}  // namespace Roadmap
