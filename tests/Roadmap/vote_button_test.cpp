#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Roadmap/roadmap_feature_view_model.h"
#include "Roadmap/roadmap_view_support.h"
#include "Roadmap/roadmap_vote_button.h"
#include "platform/foundation/log.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "tests/Roadmap/roadmap_test_support.h"
#include "tests/Roadmap/roadmap_views_test_support.h"

namespace {

using Roadmap::DynamicTypeSize;
using Roadmap::RoadmapFeature;
using Roadmap::RoadmapFeatureViewModel;
using Roadmap::RoadmapVoteButton;
using Roadmap::VoteResult;
using ui::testing::Host;

RoadmapFeature titled(std::string id, std::optional<std::string> title) {
  RoadmapFeature feature{std::move(id)};
  feature.title = std::move(title);
  return feature;
}

std::vector<std::string> attributesOf(const ui::testing::ViewRef& view) {
  std::vector<std::string> result;
  for (const auto* attribute : view.modifiersOf<Roadmap::ViewAttribute>())
    result.push_back(attribute->describe());
  return result;
}

bool hasAttribute(const ui::testing::ViewRef& view, const std::string& described) {
  const auto all = attributesOf(view);
  return std::find(all.begin(), all.end(), described) != all.end();
}

class VoteButton : public roadmaptest::DefaultsSandbox {
 protected:
  std::shared_ptr<RoadmapFeatureViewModel> model(RoadmapFeature feature, bool allowVotes = true) {
    return RoadmapFeatureViewModel::make(std::move(feature),
                                         roadmapviewstest::configurationWith(voter, allowVotes));
  }

  static ui::AnyView button(const std::shared_ptr<RoadmapFeatureViewModel>& viewModel,
                            DynamicTypeSize size = DynamicTypeSize::large, bool reduceMotion = false) {
    return ui::AnyView(RoadmapVoteButton(viewModel))
        .environment<Roadmap::DynamicTypeSizeKey>(size)
        .environment<Roadmap::AccessibilityReduceMotionKey>(reduceMotion);
  }

  static const ui::detail::StackSpec& stackOf(const Host& host, bool isAccessibilityLayout = false) {
    return *host.find(ui::testing::type(isAccessibilityLayout ? "HStack" : "VStack"))
                .primitive<ui::detail::StackSpec>();
  }
  static ui::Color fillOf(const Host& host) {
    return host.find(ui::testing::type("Color")).primitive<ui::detail::ColorSpec>()->color;
  }
  static bool hasBorder(const Host& host) { return host.exists(ui::testing::type("RoundedRectangle")); }

  const ui::Color tint = ui::Color::accentColor();
  std::shared_ptr<roadmapviewstest::ScriptedVoter> voter =
      std::make_shared<roadmapviewstest::ScriptedVoter>();
  foundation::LogCapture log;
};

TEST_F(VoteButton, CountFetchedLaterSpringsInAndZeroShowsOnlyTheIcon) {
  auto viewModel = model(titled("a", "Dark mode"));
  Host host(button(viewModel));
  EXPECT_TRUE(host.exists(ui::testing::type("Image")));
  EXPECT_FALSE(host.exists(ui::testing::text("0")));

  viewModel->voteCount.set(12);
  host.settle();
  EXPECT_TRUE(host.exists(ui::testing::text("12")));
  EXPECT_EQ(host.lastTransactionAnimation(), RoadmapVoteButton::countSpring());
  EXPECT_EQ(RoadmapVoteButton::countSpring(), ui::Animation::spring(0.45, 0.4, 0));

  // Once shown, the number stays, also for a later count of 0.
  viewModel->voteCount.set(0);
  host.settle();
  EXPECT_TRUE(host.exists(ui::testing::text("0")));
}

TEST_F(VoteButton, PositiveCountAtAppearanceIsShownAtOnce) {
  auto viewModel = model(titled("a", "Dark mode"));
  viewModel->voteCount.set(3);
  Host host(button(viewModel));
  EXPECT_TRUE(host.exists(ui::testing::text("3")));
}

TEST_F(VoteButton, HoverDrawsTheBorderAndWidensTheSpacing) {
  struct Case {
    DynamicTypeSize size;
    double spacingOutside, spacingInside;
  };
  const Case cases[] = {{DynamicTypeSize::large, 4, 6}, {DynamicTypeSize::accessibility2, 0, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.size));
    const bool isAccessibilityLayout = Roadmap::isAccessibilitySize(c.size);
    auto viewModel = model(titled("a", "Dark mode"));
    Host host(button(viewModel, c.size));
    EXPECT_EQ(stackOf(host, isAccessibilityLayout).spacing, c.spacingOutside);
    EXPECT_FALSE(hasBorder(host));

    host.hover(host.find(ui::testing::type<RoadmapVoteButton>()));
    EXPECT_EQ(stackOf(host, isAccessibilityLayout).spacing, c.spacingInside);
    EXPECT_TRUE(hasBorder(host));
    EXPECT_EQ(host.find(ui::testing::type("RoundedRectangle")).primitive<ui::detail::ShapeSpec>()->stroke,
              tint);
    EXPECT_EQ(host.lastTransactionAnimation(), ui::Animation::spring(0.4, 0.7, 0));

    host.unhover();
    EXPECT_EQ(stackOf(host, isAccessibilityLayout).spacing, c.spacingOutside);
    EXPECT_FALSE(hasBorder(host));
  }
}

TEST_F(VoteButton, VotingWhileHoveredTurnsToTheVotedLookAndKeepsTheHoverLook) {
  voter->voteResult = VoteResult::counted(8);
  auto viewModel = model(titled("a", "Dark mode"));
  Host host(button(viewModel));
  EXPECT_EQ(fillOf(host), tint.opacity(0.1));
  EXPECT_EQ(host.find(ui::testing::type("Image")).foregroundStyle(), tint);

  host.hover(host.find(ui::testing::type<RoadmapVoteButton>()));
  host.tap(host.find(ui::testing::type("Button")));
  ASSERT_TRUE(host.runUntil([&] { return viewModel->voteCount.get() == 8; }));
  host.settle();
  EXPECT_EQ(voter->votedIds(), std::vector<std::string>{"a"});
  EXPECT_TRUE(host.exists(ui::testing::text("8")));
  EXPECT_EQ(fillOf(host), tint.opacity(1.0));
  EXPECT_EQ(host.find(ui::testing::type("Image")).foregroundStyle(), ui::Color::white());
  EXPECT_EQ(host.find(ui::testing::text("8")).foregroundStyle(), ui::Color::white());

  host.unhover();
  EXPECT_EQ(stackOf(host).spacing, 6);
  EXPECT_TRUE(hasBorder(host));
}

TEST_F(VoteButton, ClickAfterVotingIsRefusedAndChangesNothing) {
  RoadmapFeature feature = titled("a", "Dark mode");
  feature.setHasVoted(true);
  auto viewModel = model(feature);
  viewModel->voteCount.set(5);
  Host host(button(viewModel));
  EXPECT_EQ(fillOf(host), tint.opacity(1.0));
  host.tap(host.find(ui::testing::type("Button")));
  EXPECT_TRUE(voter->votedIds().empty());
  EXPECT_TRUE(log.contains("already voted for this, can't vote again"));
  EXPECT_TRUE(host.exists(ui::testing::text("5")));
  // Hovering a voted button changes nothing.
  host.hover(host.find(ui::testing::type<RoadmapVoteButton>()));
  EXPECT_FALSE(hasBorder(host));
}

TEST_F(VoteButton, TwoQuickClicksCastOneVote) {
  voter->voteResult = VoteResult::counted(6);
  voter->holdVotes();
  auto viewModel = model(titled("a", "Dark mode"));
  Host host(button(viewModel));
  host.tap(host.find(ui::testing::type("Button")));
  host.tap(host.find(ui::testing::type("Button")));
  voter->releaseVotes();
  ASSERT_TRUE(host.runUntil([&] { return viewModel->voteCount.get() == 6; }));
  host.settle();
  EXPECT_EQ(voter->votedIds(), std::vector<std::string>{"a"});
  EXPECT_TRUE(host.exists(ui::testing::text("6")));
}

TEST_F(VoteButton, FailedVoteLeavesTheCountAndTheLook) {
  voter->voteResult = VoteResult::notCounted();
  auto viewModel = model(titled("a", "Dark mode"));
  viewModel->voteCount.set(5);
  Host host(button(viewModel));
  host.tap(host.find(ui::testing::type("Button")));
  ASSERT_TRUE(host.runUntil([&] { return !viewModel->isVoting(); }));
  host.settle();
  EXPECT_TRUE(host.exists(ui::testing::text("5")));
  EXPECT_EQ(fillOf(host), tint.opacity(0.1));
}

TEST_F(VoteButton, WithVotingOffShowsNoIconAndIgnoresClicksAndHover) {
  RoadmapFeature votedEarlier = titled("b", "Export");
  votedEarlier.setHasVoted(true);
  for (const auto& feature : {titled("a", "Dark mode"), votedEarlier}) {
    SCOPED_TRACE(feature.id);
    auto viewModel = model(feature, false);
    viewModel->voteCount.set(4);
    Host host(button(viewModel));
    EXPECT_FALSE(host.exists(ui::testing::type("Image")));
    EXPECT_TRUE(host.exists(ui::testing::text("4")));
    host.tap(host.find(ui::testing::type("Button")));
    host.hover(host.find(ui::testing::type<RoadmapVoteButton>()));
    EXPECT_FALSE(hasBorder(host));
    EXPECT_EQ(stackOf(host).spacing, 4);
    EXPECT_EQ(host.find(ui::testing::type<RoadmapVoteButton>()).help(), "");
    EXPECT_TRUE(hasAttribute(host.find(ui::testing::type<RoadmapVoteButton>()), "accessibilityHint()"));
    EXPECT_EQ(fillOf(host), tint.opacity(feature.hasVoted() ? 1.0 : 0.1));
  }
  EXPECT_TRUE(voter->votedIds().empty());
}

TEST_F(VoteButton, HintAndTooltipNameTheFeature) {
  struct Case {
    RoadmapFeature feature;
    std::string hint;
  };
  const Case cases[] = {{titled("a", "Dark mode"), "Vote for Dark mode"},
                        {titled("b", std::nullopt), "Vote for N/A"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hint);
    Host host(button(model(c.feature)));
    const auto view = host.find(ui::testing::type<RoadmapVoteButton>());
    EXPECT_EQ(view.help(), c.hint);
    EXPECT_TRUE(hasAttribute(view, "accessibilityHint(" + c.hint + ")"));
    EXPECT_TRUE(hasAttribute(view, "accessibilityShowsLargeContentViewer(true)"));
  }
}

TEST_F(VoteButton, LargeCountsShrinkFurtherAtAccessibilitySizes) {
  struct Case {
    DynamicTypeSize size;
    std::string countScale;
    std::optional<std::string> iconScale;
    ui::Font iconFont;
  };
  const auto numberFont = Roadmap::style(Roadmap::RoadmapTemplate::standard).numberFont;
  const Case cases[] = {
      {DynamicTypeSize::large, "minimumScaleFactor(0.9)", "minimumScaleFactor(0.75)", numberFont},
      {DynamicTypeSize::accessibility5, "minimumScaleFactor(0.5)", std::nullopt,
       ui::Font::system(17, ui::FontWeight::medium)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.countScale);
    auto viewModel = model(titled("a", "Dark mode"));
    viewModel->voteCount.set(123456789);
    Host host(button(viewModel, c.size));
    const auto count = host.find(ui::testing::text("123456789"));
    EXPECT_TRUE(hasAttribute(count, c.countScale));
    EXPECT_TRUE(hasAttribute(count, "lineLimit(1)"));
    EXPECT_EQ(count.font(), numberFont);
    const auto icon = host.find(ui::testing::type("Image"));
    EXPECT_EQ(icon.font(), c.iconFont);
    EXPECT_EQ(hasAttribute(icon, "minimumScaleFactor(0.75)"), c.iconScale.has_value());
  }
}

TEST_F(VoteButton, ReducedMotionChangesLooksWithoutAnimation) {
  auto viewModel = model(titled("a", "Dark mode"));
  Host host(button(viewModel, DynamicTypeSize::large, true));
  host.hover(host.find(ui::testing::type<RoadmapVoteButton>()));
  EXPECT_TRUE(hasBorder(host));
  EXPECT_EQ(host.lastTransactionAnimation(), std::nullopt);
  viewModel->voteCount.set(2);
  host.settle();
  EXPECT_TRUE(host.exists(ui::testing::text("2")));
  EXPECT_EQ(host.lastTransactionAnimation(), std::nullopt);
}

}  // namespace
