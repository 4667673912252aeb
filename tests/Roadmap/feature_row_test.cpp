#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "Roadmap/roadmap_feature_view.h"
#include "Roadmap/roadmap_view_support.h"
#include "Roadmap/roadmap_vote_button.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "tests/Roadmap/roadmap_test_support.h"
#include "tests/Roadmap/roadmap_views_test_support.h"

namespace {

using Roadmap::DynamicTypeSize;
using Roadmap::LocalizedItem;
using Roadmap::RoadmapFeature;
using Roadmap::RoadmapFeatureView;
using Roadmap::RoadmapVoteButton;
using ui::testing::Host;
using ui::testing::WindowHost;
namespace inspect = ui::testing;

class FeatureRow : public roadmaptest::DefaultsSandbox {
 protected:
  // A style that tints "planned" orange and everything else gray, and remembers what it was asked.
  Roadmap::RoadmapConfiguration configuration() {
    auto base = Roadmap::style(Roadmap::RoadmapTemplate::playful);
    auto asked = asked_;
    base.statusTintColor = [asked](const std::string& status) {
      asked->push_back(status);
      return status == "planned" ? ui::Color::orange() : ui::Color::gray();
    };
    return Roadmap::RoadmapConfiguration(*foundation::URL::parse("http://127.0.0.1:1/roadmap.json"), voter,
                                         base, false, true, false);
  }

  ui::AnyView row(RoadmapFeature feature, DynamicTypeSize size = DynamicTypeSize::large) {
    return ui::AnyView(RoadmapFeatureView(std::move(feature), configuration()))
        .environment<Roadmap::DynamicTypeSizeKey>(size);
  }

  // Waits for the count fetch the row started when it appeared.
  void settleFetches(Host& host, std::size_t count) {
    ASSERT_TRUE(host.runUntil([&] { return voter->fetchedIds().size() >= count; }));
    host.settle();
  }

  const std::vector<std::string>& askedStatuses() const { return *asked_; }

  std::shared_ptr<roadmapviewstest::ScriptedVoter> voter =
      std::make_shared<roadmapviewstest::ScriptedVoter>();
  std::shared_ptr<std::vector<std::string>> asked_ = std::make_shared<std::vector<std::string>>();
};

RoadmapFeature feature(std::string id) { return RoadmapFeature{std::move(id)}; }

TEST_F(FeatureRow, TitleInTheUserLanguageElsePlainTitleElseNA) {
  roadmaptest::LocaleScope locale({{"LANG", "de_DE.UTF-8"}}, {"en", "de"});
  RoadmapFeature localized = feature("a");
  localized.title = "Dark mode";
  localized.localizedTitle = std::vector<LocalizedItem>{{"de", "Dunkelmodus"}};
  RoadmapFeature otherLanguage = feature("b");
  otherLanguage.title = "Export";
  otherLanguage.localizedTitle = std::vector<LocalizedItem>{{"fr", "Exporter"}};
  struct Case {
    RoadmapFeature feature;
    std::string shown;
  };
  const Case cases[] = {{localized, "Dunkelmodus"}, {otherLanguage, "Export"}, {feature("c"), "N/A"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    WindowHost host(row(c.feature));
    const auto title = host.find(inspect::text(c.shown));
    EXPECT_EQ(title.font(), Roadmap::style(Roadmap::RoadmapTemplate::playful).titleFont);
  }
}

TEST_F(FeatureRow, StatusBadgeIsTintedByThePlainStatus) {
  roadmaptest::LocaleScope locale({{"LANG", "de_DE.UTF-8"}}, {"en", "de"});
  RoadmapFeature planned = feature("a");
  planned.status = "planned";
  RoadmapFeature localizedOnly = feature("b");
  localizedOnly.localizedStatus = std::vector<LocalizedItem>{{"de", "geplant"}};
  struct Case {
    RoadmapFeature feature;
    std::string shown;
    std::string asked;
    ui::Color tint;
  };
  const Case cases[] = {{planned, "planned", "planned", ui::Color::orange()},
                        {localizedOnly, "geplant", "", ui::Color::gray()}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    asked_->clear();
    WindowHost host(row(c.feature));
    const auto badge = host.find(inspect::text(c.shown));
    EXPECT_EQ(badge.foregroundStyle(), c.tint);
    EXPECT_EQ(badge.font(), Roadmap::style(Roadmap::RoadmapTemplate::playful).statusFont);
    EXPECT_EQ(badge.padding(), (ui::EdgeInsets{6, 6, 6, 6}));
    ASSERT_TRUE(badge.background().has_value());
    EXPECT_EQ(badge.background()->primitive<ui::detail::ColorSpec>()->color, c.tint.opacity(0.1));
    EXPECT_EQ(badge.clipShape()->cornerRadius, 5);
    const auto borders = host.findAll(inspect::type("RoundedRectangle"));
    ASSERT_EQ(borders.size(), 1u);  // the vote button is not hovered
    EXPECT_EQ(borders[0].primitive<ui::detail::ShapeSpec>()->stroke, c.tint.opacity(0.15));
    ASSERT_FALSE(askedStatuses().empty());
    for (const auto& status : askedStatuses()) EXPECT_EQ(status, c.asked);
  }
}

TEST_F(FeatureRow, MissingDescriptionAndStatusLeaveTheirViewsOut) {
  RoadmapFeature described = feature("a");
  described.title = "Dark mode";
  described.description = "Easier on the eyes";
  {
    WindowHost host(row(described));
    const auto description = host.find(inspect::text("Easier on the eyes"));
    EXPECT_EQ(description.foregroundStyle(), ui::Color::secondary());
    EXPECT_EQ(description.font(), Roadmap::style(Roadmap::RoadmapTemplate::playful).numberFont);
  }
  WindowHost host(row(feature("b")));
  const auto column = host.find(inspect::type("VStack"));
  EXPECT_EQ(column.primitive<ui::detail::StackSpec>()->items.size(), 1u);
  EXPECT_TRUE(askedStatuses().empty());
}

TEST_F(FeatureRow, FinishedFeatureHasNoVoteButtonAndItsTitleLineEndsInASpacer) {
  struct Case {
    std::optional<bool> isFinished;
    bool hasButton;
  };
  const Case cases[] = {{true, false}, {false, true}, {std::nullopt, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.isFinished ? (*c.isFinished ? "finished" : "not finished") : "absent");
    RoadmapFeature item = feature("a");
    item.title = "Dark mode";
    item.isFinished = c.isFinished;
    for (const auto size : {DynamicTypeSize::large, DynamicTypeSize::accessibility1}) {
      WindowHost host(row(item, size));
      EXPECT_EQ(host.exists(inspect::type<RoadmapVoteButton>()), c.hasButton);
      if (Roadmap::isAccessibilitySize(size)) {
        auto titleLine = host.find(inspect::text("Dark mode"));
        while (titleLine.typeName() != "HStack") titleLine = *titleLine.parent();
        EXPECT_EQ(titleLine.exists(inspect::type("Spacer")), !c.hasButton);
      }
      // Exactly one line of the card ends in a spacer, which widens the card to the whole width offered.
      EXPECT_EQ(host.findAll(inspect::type("Spacer")).size(), 1u);
      EXPECT_EQ(host.frame(inspect::type<RoadmapFeatureView>()).width(), host.window().frame().width());
    }
  }
}

TEST_F(FeatureRow, AccessibilitySizesStackTheCardWithTheButtonOnTop) {
  RoadmapFeature item = feature("a");
  item.title = "Dark mode";
  const auto frames = [](WindowHost& host) {
    return std::tuple(host.frame(inspect::type<RoadmapFeatureView>()), host.frame(inspect::text("Dark mode")),
                      host.frame(inspect::type<RoadmapVoteButton>()));
  };
  WindowHost host(row(item, DynamicTypeSize::large), {500, 300});
  {
    // Side by side: the texts at the leading edge and the button at the trailing edge of the padded card.
    const auto [card, title, vote] = frames(host);
    EXPECT_EQ(title.minX() - card.minX(), ui::defaultPadding);
    EXPECT_EQ(card.maxX() - vote.maxX(), ui::defaultPadding);
    EXPECT_LT(title.maxX(), vote.minX());
    EXPECT_DOUBLE_EQ(vote.midY(), card.midY());
  }
  host.setRoot(row(item, DynamicTypeSize::accessibility3));
  {
    // Stacked: the button on top at the leading edge, the texts 16 points below it.
    const auto [card, title, vote] = frames(host);
    EXPECT_EQ(vote.minX() - card.minX(), ui::defaultPadding);
    EXPECT_EQ(vote.minY() - card.minY(), ui::defaultPadding);
    EXPECT_EQ(title.minX(), vote.minX());
    EXPECT_EQ(title.minY() - vote.maxY(), 16);
  }
  host.setRoot(row(item, DynamicTypeSize::large));
  {
    const auto [card, title, vote] = frames(host);
    EXPECT_LT(title.maxX(), vote.minX());
    EXPECT_DOUBLE_EQ(vote.midY(), card.midY());
  }
}

TEST_F(FeatureRow, CardIsRoundedInTheCellColour) {
  WindowHost host(row(feature("a")));
  const auto card = host.find(inspect::type<RoadmapFeatureView>());
  const auto style = Roadmap::style(Roadmap::RoadmapTemplate::playful);
  EXPECT_EQ(card.clipShape()->cornerRadius, style.radius);
  EXPECT_EQ(card.clipShape()->cornerStyle, ui::CornerStyle::continuous);
  const auto zstack = host.find(inspect::type("ZStack"));
  ASSERT_TRUE(zstack.background().has_value());
  EXPECT_EQ(zstack.background()->primitive<ui::detail::ColorSpec>()->color, style.cellColor);
}

TEST_F(FeatureRow, ReadsTheCountEachTimeItComesIntoView) {
  voter->count = 7;
  WindowHost host(row(feature("a")));
  settleFetches(host, 1);
  ASSERT_TRUE(host.runUntil([&] { return host.exists(inspect::text("7")); }));

  voter->count = 9;
  host.hide();
  host.show();
  settleFetches(host, 2);
  ASSERT_TRUE(host.runUntil([&] {
    host.settle();
    return host.exists(inspect::text("9"));
  }));
  EXPECT_EQ(voter->fetchedIds(), (std::vector<std::string>{"a", "a"}));
}

}  // namespace
