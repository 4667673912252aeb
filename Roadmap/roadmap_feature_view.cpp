#include "Roadmap/roadmap_feature_view.h"

#include <utility>
#include <vector>

#include "Roadmap/localized_item.h"
#include "Roadmap/roadmap_view_model.h"  // displayTitle
#include "Roadmap/roadmap_vote_button.h"
#include "platform/ui/views.h"

namespace Roadmap {

namespace {

bool isFinished(const RoadmapFeature& feature) { return feature.isFinished.value_or(false); }

// The badge colour of the feature's plain status (never the localized text); the primary colour when the
// style carries no colour function.
ui::Color statusTint(const RoadmapStyle& style, const RoadmapFeature& feature) {
  if (!style.statusTintColor) return ui::Color::primary();
  return style.statusTintColor(feature.status.value_or(""));
}

ui::AnyView statusBadge(const std::string& text, const RoadmapStyle& style, const RoadmapFeature& feature) {
  const ui::RoundedRectangle shape(5, ui::CornerStyle::continuous);
  return ui::Text::verbatim(text)
      .padding(6)
      .background(statusTint(style, feature).opacity(0.1))
      .foregroundColor(statusTint(style, feature))
      .clipShape(shape)
      .overlay(shape.stroke(statusTint(style, feature).opacity(0.15), 1))
      .font(style.statusFont);
}

}  // namespace

std::optional<std::string> displayDescription(const RoadmapFeature& feature) {
  if (auto localized = localizedValue(feature.localizedDescription)) return localized;
  return feature.description;
}

std::optional<std::string> displayStatus(const RoadmapFeature& feature) {
  if (auto localized = localizedValue(feature.localizedStatus)) return localized;
  return feature.status;
}

RoadmapFeatureView::RoadmapFeatureView(RoadmapFeature feature, RoadmapConfiguration configuration)
    : viewModel_([feature = std::move(feature), configuration = std::move(configuration)] {
        return RoadmapFeatureViewModel::make(feature, configuration);
      }) {}

ui::AnyView RoadmapFeatureView::texts(const RoadmapFeatureViewModel& viewModel,
                                      bool isAccessibilityLayout) const {
  const auto& feature = viewModel.feature;
  const auto& style = viewModel.configuration.style();
  const ui::AnyView title = ui::Text::verbatim(displayTitle(feature)).font(style.titleFont);
  std::vector<ui::AnyView> lines;
  if (isAccessibilityLayout) {
    std::vector<ui::AnyView> titleLine{title};
    if (isFinished(feature)) titleLine.push_back(ui::Spacer());
    lines.push_back(ui::HStack(ui::VerticalAlignment::center, std::nullopt, titleLine));
  } else {
    lines.push_back(title);
  }
  if (auto description = displayDescription(feature)) {
    lines.push_back(
        ui::Text::verbatim(*description).font(style.numberFont).foregroundColor(ui::Color::secondary()));
  }
  if (auto status = displayStatus(feature)) lines.push_back(statusBadge(*status, style, feature));
  return ui::VStack(ui::HorizontalAlignment::leading, 8.0, lines);
}

ui::AnyView RoadmapFeatureView::ordinaryLayout(const RoadmapFeatureViewModel& viewModel) const {
  std::vector<ui::AnyView> items{texts(viewModel, false), ui::Spacer()};
  if (!isFinished(viewModel.feature)) items.push_back(RoadmapVoteButton(viewModel_.get()));
  return ui::HStack(ui::VerticalAlignment::center, std::nullopt, items).padding();
}

ui::AnyView RoadmapFeatureView::accessibleLayout(const RoadmapFeatureViewModel& viewModel) const {
  std::vector<ui::AnyView> items;
  if (!isFinished(viewModel.feature)) {
    items.push_back(ui::HStack(ui::VerticalAlignment::center, std::nullopt,
                               RoadmapVoteButton(viewModel_.get()), ui::Spacer()));
  }
  items.push_back(texts(viewModel, true));
  return ui::VStack(ui::HorizontalAlignment::leading, 16.0, items).padding();
}

ui::AnyView RoadmapFeatureView::body() const {
  const auto viewModel = viewModel_.get();
  const auto& style = viewModel->configuration.style();
  const ui::AnyView layout =
      isAccessibilitySize(*typeSize_) ? accessibleLayout(*viewModel) : ordinaryLayout(*viewModel);
  return ui::ZStack(ui::Alignment::center(), layout)
      .background(style.cellColor)
      .clipShape(ui::RoundedRectangle(style.radius, ui::CornerStyle::continuous))
      .task([viewModel] { viewModel->fetchVoteCount(); }, concurrency::TaskPriority::userInitiated);
}

}  // namespace Roadmap
