#include "Roadmap/roadmap_view_model.h"

#include <algorithm>
#include <random>
#include <utility>

#include "Roadmap/features_fetcher.h"
#include "Roadmap/localized_item.h"
#include "platform/concurrency/main_actor.h"
#include "platform/foundation/unicode.h"

namespace Roadmap {

std::string displayTitle(const RoadmapFeature& feature) {
  if (auto localized = localizedValue(feature.localizedTitle)) return *localized;
  if (feature.title) return *feature.title;
  return "N/A";
}

std::shared_ptr<RoadmapViewModel> RoadmapViewModel::make(RoadmapConfiguration configuration) {
  auto viewModel = std::make_shared<RoadmapViewModel>(Passkey{}, std::move(configuration));
  viewModel->initialLoad_ = viewModel->loadFeatures(viewModel->configuration.roadmapJSONURL());
  return viewModel;
}

RoadmapViewModel::RoadmapViewModel(Passkey, RoadmapConfiguration configuration)
    : allowSearching(configuration.allowSearching()), configuration(std::move(configuration)) {}

concurrency::Task<> RoadmapViewModel::loadFeatures(const foundation::URL& url) {
  return concurrency::Task<>([self = shared_from_this(), fetcher = FeaturesFetcher{url}] {
    std::vector<RoadmapFeature> loaded = fetcher.fetch();
    if (self->configuration.shuffledOrder()) {
      std::random_device source;
      std::mt19937_64 generator(source());
      std::shuffle(loaded.begin(), loaded.end(), generator);
    }
    concurrency::MainActor::run([&] { self->features.set(std::move(loaded)); });
  });
}

std::vector<RoadmapFeature> RoadmapViewModel::filteredFeatures() const {
  std::vector<RoadmapFeature> all = features.get();
  const std::string search = searchText.get();
  if (search.empty()) return all;
  const std::string wanted = foundation::lowercased(search);
  std::vector<RoadmapFeature> kept;
  for (auto& feature : all) {
    if (foundation::lowercased(displayTitle(feature)).find(wanted) != std::string::npos) {
      kept.push_back(std::move(feature));
    }
  }
  return kept;
}

}  // namespace Roadmap
