#include "Roadmap/roadmap_view.h"

#include <memory>
#include <utility>
#include <vector>

#include "Roadmap/roadmap_feature_view.h"
#include "Roadmap/roadmap_view_support.h"
#include "platform/ui/views.h"

namespace Roadmap {

namespace {

ui::AnyView emptyView() { return ui::EmptyView(); }

}  // namespace

RoadmapView::RoadmapView(RoadmapConfiguration configuration)
    : RoadmapView(std::move(configuration), emptyView, emptyView) {}

RoadmapView::RoadmapView(RoadmapConfiguration configuration, const ViewBuilder& header,
                         const ViewBuilder& footer)
    : viewModel_(
          [configuration = std::move(configuration)] { return RoadmapViewModel::make(configuration); }),
      header_(header()),
      footer_(footer()) {}

RoadmapView RoadmapView::withHeader(RoadmapConfiguration configuration, const ViewBuilder& header) {
  return RoadmapView(std::move(configuration), header, emptyView);
}

RoadmapView RoadmapView::withFooter(RoadmapConfiguration configuration, const ViewBuilder& footer) {
  return RoadmapView(std::move(configuration), emptyView, footer);
}

ui::AnyView RoadmapView::body() const {
  const auto viewModel = viewModel_.get();
  const RoadmapConfiguration& configuration = viewModel->configuration;
  const ui::AnyView rows = ui::ForEach(
      viewModel->filteredFeatures(), [](const RoadmapFeature& feature) { return feature.id; },
      [&configuration](const RoadmapFeature& feature) {
        // The row's own background is clear and it has no separators, so the card's cell colour is what
        // shows.
        return withAttribute(withAttribute(RoadmapFeatureView(feature, configuration), "listRowSeparator",
                                           "hidden, edges: all"),
                             "listRowBackground", "clear");
      });
  ui::AnyView list =
      withAttribute(withAttribute(ui::List({header_, rows, footer_}), "scrollContentBackground", "hidden"),
                    "listStyle", "plain");
  if (viewModel->allowSearching) {
    std::weak_ptr<RoadmapViewModel> weakModel = viewModel;
    list = list.searchable(ui::Binding<std::string>(
        [weakModel] {
          auto model = weakModel.lock();
          return model ? model->searchText.get() : std::string();
        },
        [weakModel](std::string text) {
          if (auto model = weakModel.lock()) model->searchText.set(std::move(text));
        }));
  }
  return list;
}

}  // namespace Roadmap
