#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Roadmap/roadmap_feature_view_model.h"
#include "Roadmap/roadmap_view_support.h"
#include "Roadmap/roadmap_vote_button.h"
#include "platform/foundation/log.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "tests/Roadmap/roadmap_test_support.h"
#include "tests/Roadmap/roadmap_views_test_support.h"

namespace {

using Roadmap::DynamicTypeSize;
using Roadmap::RoadmapFeature;
using Roadmap::RoadmapFeatureViewModel;
using Roadmap::RoadmapVoteButton;
using Roadmap::VoteResult;
using ui::testing::Host;
using ui::testing::WindowHost;

RoadmapFeature titled(std::string id, std::optional<std::string> title) {
  RoadmapFeature feature{std::move(id)};
  feature.title = std::move(title);
  return feature;
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

  // The frames of the pill's icon and count, as its stack placed them (both must be shown).
  static std::pair<ui::Rect, ui::Rect> iconAndCount(const WindowHost& host,
                                                    bool isAccessibilityLayout = false) {
    const auto items = host.find(ui::testing::type(isAccessibilityLayout ? "HStack" : "VStack")).children();
    return {host.frame(items.at(0)), host.frame(items.at(1))};
  }
  // The space between icon and count: below each other at ordinary sizes, beside each other at
  // accessibility sizes.
  static double gapOf(const WindowHost& host, bool isAccessibilityLayout = false) {
    const auto [icon, count] = iconAndCount(host, isAccessibilityLayout);
    return isAccessibilityLayout ? count.minX() - icon.maxX() : count.minY() - icon.maxY();
  }
  static ui::Color fillOf(const WindowHost& host) {
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
  WindowHost host(button(viewModel));
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
  WindowHost host(button(viewModel));
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
    viewModel->voteCount.set(12);
    WindowHost host(button(viewModel, c.size));
    EXPECT_EQ(gapOf(host, isAccessibilityLayout), c.spacingOutside);
    EXPECT_FALSE(hasBorder(host));

    host.hover(host.find(ui::testing::type<RoadmapVoteButton>()));
    EXPECT_EQ(gapOf(host, isAccessibilityLayout), c.spacingInside);
    ASSERT_TRUE(hasBorder(host));
    const auto border = host.find(ui::testing::type("RoundedRectangle"));
    EXPECT_EQ(border.primitive<ui::detail::ShapeSpec>()->stroke, tint);
    EXPECT_EQ(host.frame(border), host.frame(ui::testing::type<RoadmapVoteButton>()));
    EXPECT_EQ(host.lastTransactionAnimation(), ui::Animation::spring(0.4, 0.7, 0));

    host.unhover();
    EXPECT_EQ(gapOf(host, isAccessibilityLayout), c.spacingOutside);
    EXPECT_FALSE(hasBorder(host));
  }
}

TEST_F(VoteButton, VotingWhileHoveredTurnsToTheVotedLookAndKeepsTheHoverLook) {
  voter->voteResult = VoteResult::counted(8);
  auto viewModel = model(titled("a", "Dark mode"));
  WindowHost host(button(viewModel));
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
  EXPECT_EQ(gapOf(host), 6);
  EXPECT_TRUE(hasBorder(host));
}

TEST_F(VoteButton, ClickAfterVotingIsRefusedAndChangesNothing) {
  RoadmapFeature feature = titled("a", "Dark mode");
  feature.setHasVoted(true);
  auto viewModel = model(feature);
  viewModel->voteCount.set(5);
  WindowHost host(button(viewModel));
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
  WindowHost host(button(viewModel));
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
  WindowHost host(button(viewModel));
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
    WindowHost host(button(viewModel));
    EXPECT_FALSE(host.exists(ui::testing::type("Image")));
    EXPECT_TRUE(host.exists(ui::testing::text("4")));
    host.tap(host.find(ui::testing::type("Button")));
    host.hover(host.find(ui::testing::type<RoadmapVoteButton>()));
    EXPECT_FALSE(hasBorder(host));
    // The count alone fills the pill, centred in it.
    const auto pill = host.frame(ui::testing::type<RoadmapVoteButton>());
    EXPECT_DOUBLE_EQ(host.frame(ui::testing::text("4")).midY(), pill.midY());
    EXPECT_EQ(host.find(ui::testing::type<RoadmapVoteButton>()).help(), "");
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
    WindowHost host(button(model(c.feature)));
    EXPECT_EQ(host.find(ui::testing::type<RoadmapVoteButton>()).help(), c.hint);
  }
}

TEST_F(VoteButton, OrdinarySizesStackIconOverCountInAPillAndAccessibilitySizesSetThemSideBySide) {
  const auto style = Roadmap::style(Roadmap::RoadmapTemplate::standard);
  struct Case {
    DynamicTypeSize size;
    double iconSide;  // the most the icon's frame takes
    ui::Font iconFont;
  };
  const Case cases[] = {{DynamicTypeSize::large, 20, style.numberFont},
                        {DynamicTypeSize::accessibility5, 24, ui::Font::system(17, ui::FontWeight::medium)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.size));
    const bool isAccessibilityLayout = Roadmap::isAccessibilitySize(c.size);
    auto viewModel = model(titled("a", "Dark mode"));
    viewModel->voteCount.set(123456789);
    WindowHost host(button(viewModel, c.size));
    const auto pill = host.frame(ui::testing::type<RoadmapVoteButton>());
    const auto [icon, count] = iconAndCount(host, isAccessibilityLayout);
    EXPECT_LE(icon.width(), c.iconSide);
    EXPECT_LE(icon.height(), c.iconSide);
    EXPECT_EQ(host.find(ui::testing::type("Image")).font(), c.iconFont);
    EXPECT_EQ(host.find(ui::testing::text("123456789")).font(), style.numberFont);
    if (isAccessibilityLayout) {
      // Side by side, padded by the style's radius, at least 64 points high.
      EXPECT_GE(pill.height(), 64);
      EXPECT_EQ(icon.minX() - pill.minX(), style.radius);
      EXPECT_EQ(pill.maxX() - count.maxX(), style.radius);
      EXPECT_DOUBLE_EQ(icon.midY(), count.midY());
    } else {
      // One above the other, centred in a pill exactly 64 points high and at least 56 wide.
      EXPECT_EQ(pill.height(), 64);
      EXPECT_GE(pill.width(), 56);
      EXPECT_DOUBLE_EQ(icon.midX(), pill.midX());
      EXPECT_DOUBLE_EQ(count.midX(), pill.midX());
      EXPECT_LT(icon.maxY(), count.minY());
    }
  }
}

TEST_F(VoteButton, ReducedMotionChangesLooksWithoutAnimation) {
  auto viewModel = model(titled("a", "Dark mode"));
  WindowHost host(button(viewModel, DynamicTypeSize::large, true));
  host.hover(host.find(ui::testing::type<RoadmapVoteButton>()));
  EXPECT_TRUE(hasBorder(host));
  EXPECT_EQ(host.lastTransactionAnimation(), std::nullopt);
  viewModel->voteCount.set(2);
  host.settle();
  EXPECT_TRUE(host.exists(ui::testing::text("2")));
  EXPECT_EQ(host.lastTransactionAnimation(), std::nullopt);
}

}  // namespace
