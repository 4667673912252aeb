#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Roadmap/roadmap_feature_view.h"
#include "Roadmap/roadmap_vote_button.h"
#include "platform/ui/window_host.h"
#include "tests/Roadmap/roadmap_test_support.h"
#include "tests/Roadmap/roadmap_views_test_support.h"

namespace {

using Roadmap::RoadmapFeature;
using Roadmap::RoadmapFeatureView;
using Roadmap::RoadmapVoteButton;
namespace inspect = ui::testing;

class RoadmapGeometry : public roadmaptest::DefaultsSandbox {
 protected:
  std::shared_ptr<roadmapviewstest::ScriptedVoter> voter =
      std::make_shared<roadmapviewstest::ScriptedVoter>();
};

TEST_F(RoadmapGeometry, VoteButtonIsAPillSixtyFourPointsHighAndAtLeastFiftySixWide) {
  auto viewModel =
      Roadmap::RoadmapFeatureViewModel::make(RoadmapFeature{"a"}, roadmapviewstest::configurationWith(voter));
  viewModel->voteCount.set(3);
  inspect::WindowHost host(RoadmapVoteButton(viewModel), {300, 200});
  const auto frame = host.frame(inspect::type<RoadmapVoteButton>());
  EXPECT_EQ(frame.size.height, 64);
  EXPECT_GE(frame.size.width, 56);
}

TEST_F(RoadmapGeometry, RowCardTakesTheWholeWidthItIsOffered) {
  RoadmapFeature feature{"a"};
  feature.title = "Dark mode";
  inspect::WindowHost host(RoadmapFeatureView(feature, roadmapviewstest::configurationWith(voter)),
                           {400, 300});
  EXPECT_EQ(host.frame(inspect::type<RoadmapFeatureView>()).size.width, 400);
}

}  // namespace
