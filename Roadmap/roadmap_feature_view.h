// One row of the roadmap list: a rounded card with the feature's title, description, status badge and
// vote button, which reads the feature's vote count each time it comes into view.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "Roadmap/roadmap_configuration.h"
#include "Roadmap/roadmap_feature.h"
#include "Roadmap/roadmap_feature_view_model.h"
#include "Roadmap/roadmap_view_support.h"
#include "platform/ui/environment.h"
#include "platform/ui/observable_object.h"
#include "platform/ui/view.h"

namespace Roadmap {

class RoadmapFeatureView final : public ui::View {
 public:
  // The row's view model is made from the feature and the list's configuration once per row identity.
  RoadmapFeatureView(RoadmapFeature feature, RoadmapConfiguration configuration);

  ui::AnyView body() const override;

 private:
  ui::AnyView ordinaryLayout(const RoadmapFeatureViewModel& viewModel) const;
  ui::AnyView accessibleLayout(const RoadmapFeatureViewModel& viewModel) const;
  ui::AnyView texts(const RoadmapFeatureViewModel& viewModel, bool isAccessibilityLayout) const;

  ui::Environment<DynamicTypeSize> typeSize_;
  ui::StateObject<RoadmapFeatureViewModel> viewModel_;
};

// The feature's description in the user's language, else its plain description, else nothing.
std::optional<std::string> displayDescription(const RoadmapFeature& feature);
// The feature's status in the user's language, else its plain status, else nothing.
std::optional<std::string> displayStatus(const RoadmapFeature& feature);

}  // namespace Roadmap
