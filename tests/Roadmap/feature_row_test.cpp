#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "Roadmap/roadmap_feature_view.h"
#include "Roadmap/roadmap_view_support.h"
#include "Roadmap/roadmap_vote_button.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "tests/Roadmap/roadmap_test_support.h"
#include "tests/Roadmap/roadmap_views_test_support.h"

namespace {

using Roadmap::DynamicTypeSize;
using Roadmap::LocalizedItem;
using Roadmap::RoadmapFeature;
using Roadmap::RoadmapFeatureView;
using Roadmap::RoadmapVoteButton;
using ui::testing::Host;
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
    Host host(row(c.feature));
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
    Host host(row(c.feature));
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
    Host host(row(described));
    const auto description = host.find(inspect::text("Easier on the eyes"));
    EXPECT_EQ(description.foregroundStyle(), ui::Color::secondary());
    EXPECT_EQ(description.font(), Roadmap::style(Roadmap::RoadmapTemplate::playful).numberFont);
  }
  Host host(row(feature("b")));
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
      Host host(row(item, size));
      EXPECT_EQ(host.exists(inspect::type<RoadmapVoteButton>()), c.hasButton);
      if (Roadmap::isAccessibilitySize(size)) {
        auto titleLine = host.find(inspect::text("Dark mode"));
        while (titleLine.typeName() != "HStack") titleLine = *titleLine.parent();
        EXPECT_EQ(titleLine.exists(inspect::type("Spacer")), !c.hasButton);
      }
      // Exactly one line of the card ends in a spacer.
      EXPECT_EQ(host.findAll(inspect::type("Spacer")).size(), 1u);
    }
  }
}

TEST_F(FeatureRow, AccessibilitySizesStackTheCardWithTheButtonOnTop) {
  RoadmapFeature item = feature("a");
  item.title = "Dark mode";
  Host host(row(item, DynamicTypeSize::large));
  auto card = host.find(inspect::type("HStack"));
  EXPECT_TRUE(card.exists(inspect::type<RoadmapVoteButton>()));
  EXPECT_EQ(card.padding(), host.find(inspect::type("HStack")).padding());

  host.setRoot(row(item, DynamicTypeSize::accessibility3));
  const auto stacked = host.find(inspect::type("VStack"));
  EXPECT_EQ(stacked.primitive<ui::detail::StackSpec>()->spacing, 16);
  EXPECT_EQ(stacked.primitive<ui::detail::StackSpec>()->alignment.horizontal,
            ui::HorizontalAlignment::leading);
  const auto lines = stacked.children();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].exists(inspect::type<RoadmapVoteButton>()));
  EXPECT_TRUE(lines[1].exists(inspect::text("Dark mode")));

  host.setRoot(row(item, DynamicTypeSize::large));
  EXPECT_EQ(host.find(inspect::type("VStack")).primitive<ui::detail::StackSpec>()->spacing, 8);
}

TEST_F(FeatureRow, CardIsRoundedInTheCellColour) {
  Host host(row(feature("a")));
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
  Host host(row(feature("a")));
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
