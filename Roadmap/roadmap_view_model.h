// The state of one roadmap list: its features, loaded once from the feed, and the search text.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Roadmap/roadmap_configuration.h"
#include "Roadmap/roadmap_feature.h"
#include "platform/concurrency/task.h"
#include "platform/foundation/url.h"
#include "platform/ui/observable_object.h"

namespace Roadmap {

// Owned by its list view. Published fields change on the main thread only; the feed is fetched on a
// worker task.
class RoadmapViewModel : public ui::ObservableObject, public std::enable_shared_from_this<RoadmapViewModel> {
  struct Passkey {};

 public:
  // A view model with no features and an empty search text that has started loading the configuration's
  // feed.
  static std::shared_ptr<RoadmapViewModel> make(RoadmapConfiguration configuration);
  RoadmapViewModel(Passkey, RoadmapConfiguration configuration);

  // The features of the feed, in feed order or shuffled; empty until the feed arrived or when it failed.
  ui::Published<std::vector<RoadmapFeature>> features{this, {}};
  // The text in the list's search field.
  ui::Published<std::string> searchText{this, ""};
  // Whether the list shows a search field.
  const bool allowSearching;
  // Handed on to every row.
  const RoadmapConfiguration configuration;

  // Fetches the feed at `url` on a worker task, which keeps this view model alive until it ends, and sets
  // `features` on the main thread (in a fresh random order when the configuration asks for one). Returns
  // at once; the task has finished once `features` is set.
  concurrency::Task<> loadFeatures(const foundation::URL& url);

  // The features whose title text (the title in the user's language, else the plain title, else "N/A")
  // contains the search text, both lowercased, in their order; all features when the search text is empty.
  std::vector<RoadmapFeature> filteredFeatures() const;

  // The load started when the view model was made.
  const concurrency::Task<>& initialLoad() const { return initialLoad_; }

 private:
  concurrency::Task<> initialLoad_;
};

// The text under which a feature is searched and named: its title in the user's language, else its plain
// title, else "N/A".
std::string displayTitle(const RoadmapFeature& feature);

}  // namespace Roadmap
