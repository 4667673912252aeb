// The roadmap's entry view: a plain scrolling list of a header, one card per feature and a footer, with a
// search field when the configuration allows searching.
#pragma once

#include <functional>

#include "Roadmap/roadmap_configuration.h"
#include "Roadmap/roadmap_view_model.h"
#include "platform/ui/observable_object.h"
#include "platform/ui/view.h"

namespace Roadmap {

class RoadmapView final : public ui::View {
 public:
  using ViewBuilder = std::function<ui::AnyView()>;

  // Header and footer are empty.
  explicit RoadmapView(RoadmapConfiguration configuration);
  // Each builder is called once, here; its view is a row of the list that scrolls with it.
  RoadmapView(RoadmapConfiguration configuration, const ViewBuilder& header, const ViewBuilder& footer);
  static RoadmapView withHeader(RoadmapConfiguration configuration, const ViewBuilder& header);
  static RoadmapView withFooter(RoadmapConfiguration configuration, const ViewBuilder& footer);

  ui::AnyView body() const override;

 private:
  // The view model is made (and the feed loaded) once, when the view is first installed; it lives as long
  // as the installed view, however often the view value is rebuilt.
  ui::StateObject<RoadmapViewModel> viewModel_;
  ui::AnyView header_;
  ui::AnyView footer_;
};

}  // namespace Roadmap
