// A feature's up-vote pill: the vote icon and the count, with hovered and voted looks; clicking it votes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "Roadmap/roadmap_feature_view_model.h"
#include "Roadmap/roadmap_view_support.h"
#include "platform/ui/environment.h"
#include "platform/ui/observable_object.h"
#include "platform/ui/state.h"
#include "platform/ui/view.h"

namespace Roadmap {

// Takes the animation out of every state change made through it while the system's reduce-motion
// setting is on, so those changes take effect at once; otherwise they animate as asked.
class ReduceMotionnModifier final : public ui::ViewModifier {
 public:
  explicit ReduceMotionnModifier(bool reducedMotion) : reducedMotion(reducedMotion) {}

  ui::AnyView body(ui::AnyView content) const override;

  // Runs `change` animated with `animation`, or without animation when motion is reduced.
  void perform(const ui::Animation& animation, const std::function<void()>& change) const;

  bool reducedMotion;
};

class RoadmapVoteButton final : public ui::View {
 public:
  explicit RoadmapVoteButton(std::shared_ptr<RoadmapFeatureViewModel> viewModel)
      : viewModel_(std::move(viewModel)) {}

  ui::AnyView body() const override;

  // The spring of the count and the voted look, and the spring of the hovered look.
  static ui::Animation countSpring() { return ui::Animation::spring(0.45, 0.4, 0); }
  static ui::Animation hoverSpring() { return ui::Animation::spring(0.4, 0.7, 0); }

 private:
  ui::AnyView label() const;
  ui::AnyView icon(bool isAccessibilityLayout) const;
  ui::AnyView count(bool isAccessibilityLayout) const;
  ui::Color foreground() const;

  ui::ObservedObject<RoadmapFeatureViewModel> viewModel_;
  ui::Environment<DynamicTypeSize> typeSize_;
  ui::Environment<AccessibilityReduceMotionKey> reduceMotion_;
  ui::State<bool> isHovering_{false};
  ui::State<bool> showNumber_{false};
  ui::State<bool> hasVoted_{false};
};

// "Vote for " and the feature's title (its title in the user's language, else its plain title, else
// "N/A"), through the main bundle's string table.
std::string voteHint(const RoadmapFeature& feature);
// A vote count as shown, through the main bundle's string table.
std::string voteCountText(std::int64_t count);

}  // namespace Roadmap
