#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Roadmap/roadmap_feature_view.h"
#include "Roadmap/roadmap_view.h"
#include "Roadmap/roadmap_view_support.h"
#include "platform/foundation/log.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "tests/Roadmap/roadmap_test_support.h"
#include "tests/Roadmap/roadmap_views_test_support.h"
#include "tests/support/loopback_server.h"

namespace {

using Roadmap::RoadmapFeatureView;
using Roadmap::RoadmapView;
using ui::testing::Host;
namespace inspect = ui::testing;

constexpr const char* kFeed =
    R"([{"id": "1", "title": "Dark mode"}, {"id": "2", "title": "Export to PDF"}, {"id": "3", "title": "Darker icons"}])";

class RoadmapList : public roadmaptest::DefaultsSandbox {
 protected:
  RoadmapList() { server.reply("GET", "/roadmap.json", testsupport::ScriptedReply::json(kFeed)); }

  Roadmap::RoadmapConfiguration configuration(bool allowSearching = false) const {
    return roadmapviewstest::configurationWith(voter, true, allowSearching, server.url("/roadmap.json"));
  }

  // The titles of the feature rows shown, in order.
  static std::vector<std::string> shownTitles(const Host& host) {
    std::vector<std::string> titles;
    for (const auto& row : host.findAll(inspect::type<RoadmapFeatureView>())) titles.push_back(row.text());
    return titles;
  }

  static bool waitForRows(Host& host, std::size_t count) {
    return host.runUntil([&] {
      host.settle();
      return host.findAll(inspect::type<RoadmapFeatureView>()).size() == count;
    });
  }

  static const Roadmap::SearchableModifier* searchField(const Host& host) {
    return host.find(inspect::type("List")).modifier<Roadmap::SearchableModifier>();
  }

  testsupport::LoopbackServer server;
  std::shared_ptr<roadmapviewstest::ScriptedVoter> voter =
      std::make_shared<roadmapviewstest::ScriptedVoter>();
};

TEST_F(RoadmapList, ShowsOneRowPerFeatureBetweenHeaderAndFooter) {
  Host host(RoadmapView(
      configuration(), [] { return ui::AnyView(ui::Text::verbatim("Roadmap")); },
      [] { return ui::AnyView(ui::Text::verbatim("Thanks for voting")); }));
  // While the feed loads only the header and footer show.
  EXPECT_TRUE(host.exists(inspect::text("Roadmap")));
  EXPECT_TRUE(host.exists(inspect::text("Thanks for voting")));

  ASSERT_TRUE(waitForRows(host, 3));
  EXPECT_EQ(shownTitles(host), (std::vector<std::string>{"Dark mode", "Export to PDF", "Darker icons"}));
  const auto rows = host.find(inspect::type("List")).children();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows.front().text(), "Roadmap");
  EXPECT_EQ(rows.back().text(), "Thanks for voting");
}

TEST_F(RoadmapList, MadeWithTheConfigurationAloneShowsOnlyTheFeatureRows) {
  struct Case {
    std::string name;
    RoadmapView view;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {"configuration only", RoadmapView(configuration()), {}},
      {"header",
       RoadmapView::withHeader(configuration(), [] { return ui::AnyView(ui::Text::verbatim("Top")); }),
       {"Top"}},
      {"footer",
       RoadmapView::withFooter(configuration(), [] { return ui::AnyView(ui::Text::verbatim("Bottom")); }),
       {"Bottom"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Host host(c.view);
    ASSERT_TRUE(waitForRows(host, 3));
    const auto texts = host.findAll(inspect::textContaining(""));
    // Each row shows its title; everything else is the header or footer.
    EXPECT_EQ(texts.size(), 3u + c.texts.size());
    for (const auto& text : c.texts) EXPECT_TRUE(host.exists(inspect::text(text)));
  }
}

TEST_F(RoadmapList, RowsHaveNoSeparatorsAndAClearBackgroundInAPlainList) {
  Host host{RoadmapView(configuration())};
  ASSERT_TRUE(waitForRows(host, 3));
  for (const auto& row : host.findAll(inspect::type<RoadmapFeatureView>())) {
    std::vector<std::string> attributes;
    for (const auto* attribute : row.modifiersOf<Roadmap::ViewAttribute>()) {
      attributes.push_back(attribute->describe());
    }
    EXPECT_NE(std::find(attributes.begin(), attributes.end(), "listRowSeparator(hidden, edges: all)"),
              attributes.end());
    EXPECT_NE(std::find(attributes.begin(), attributes.end(), "listRowBackground(clear)"), attributes.end());
  }
  std::vector<std::string> listAttributes;
  for (const auto* attribute : host.find(inspect::type("List")).modifiersOf<Roadmap::ViewAttribute>()) {
    listAttributes.push_back(attribute->describe());
  }
  EXPECT_EQ(listAttributes,
            (std::vector<std::string>{"listStyle(plain)", "scrollContentBackground(hidden)"}));
}

TEST_F(RoadmapList, SearchFieldFiltersAtEachKeystrokeOnlyWhenAllowed) {
  {
    Host host{RoadmapView(configuration(false))};
    ASSERT_TRUE(waitForRows(host, 3));
    EXPECT_EQ(searchField(host), nullptr);
  }
  Host host{RoadmapView(configuration(true))};
  ASSERT_TRUE(waitForRows(host, 3));
  ASSERT_NE(searchField(host), nullptr);
  EXPECT_EQ(searchField(host)->text.get(), "");

  struct Step {
    std::string search;
    std::vector<std::string> shown;
  };
  const Step steps[] = {
      {"D", {"Dark mode", "Export to PDF", "Darker icons"}},
      {"DA", {"Dark mode", "Darker icons"}},
      {"DAR", {"Dark mode", "Darker icons"}},
      {"DARKE", {"Darker icons"}},
      {"DARKEST", {}},
      {"", {"Dark mode", "Export to PDF", "Darker icons"}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.search);
    searchField(host)->text.set(step.search);
    host.settle();
    EXPECT_EQ(shownTitles(host), step.shown);
  }
}

TEST_F(RoadmapList, RebuildingTheViewNeitherReloadsTheFeedNorResetsTheSearch) {
  Host host{RoadmapView(configuration(true))};
  ASSERT_TRUE(waitForRows(host, 3));
  searchField(host)->text.set("pdf");
  host.settle();
  host.setRoot(RoadmapView(configuration(true)));
  host.settle();
  EXPECT_EQ(shownTitles(host), (std::vector<std::string>{"Export to PDF"}));
  EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(RoadmapList, FailedFeedShowsOnlyTheHeaderAndFooter) {
  server.reply("GET", "/roadmap.json", testsupport::ScriptedReply::text("gateway timeout", 504));
  foundation::LogCapture log;
  Host host(RoadmapView(
      configuration(), [] { return ui::AnyView(ui::Text::verbatim("Roadmap")); },
      [] { return ui::AnyView(ui::Text::verbatim("Footer")); }));
  ASSERT_TRUE(host.runUntil([&] {
    host.settle();
    return !log.lines().empty();
  }));
  host.settle();
  EXPECT_EQ(server.requests().size(), 1u);
  EXPECT_TRUE(host.exists(inspect::text("Roadmap")));
  EXPECT_TRUE(host.exists(inspect::text("Footer")));
  EXPECT_TRUE(host.findAll(inspect::type<RoadmapFeatureView>()).empty());
}

}  // namespace
