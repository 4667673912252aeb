#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Roadmap/roadmap_feature_view.h"
#include "Roadmap/roadmap_view.h"
#include "Roadmap/roadmap_view_support.h"
#include "platform/appkit/key_codes.h"
#include "platform/appkit/search_field.h"
#include "platform/foundation/log.h"
#include "platform/ui/inspector.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "tests/Roadmap/roadmap_test_support.h"
#include "tests/Roadmap/roadmap_views_test_support.h"
#include "tests/support/loopback_server.h"

namespace {

using Roadmap::RoadmapFeatureView;
using Roadmap::RoadmapView;
using ui::testing::Host;
using ui::testing::WindowHost;
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

  // The search field over the list, when there is one.
  static std::shared_ptr<appkit::SearchField> searchField(const WindowHost& host) {
    for (auto view = host.find(inspect::type("List")).parent(); view; view = view->parent()) {
      if (view->node().modifierAs<ui::SearchableModifier>()) {
        return std::dynamic_pointer_cast<appkit::SearchField>(host.platformView(*view));
      }
    }
    return nullptr;
  }
  // Clicks into the search field and replaces its text by typing, as a person does.
  static void search(WindowHost& host, const std::string& text) {
    const auto field = searchField(host);
    const auto area = field->convertRectToView(field->bounds(), nullptr);
    host.click(ui::Point{area.minX() + 10, area.midY()});
    while (!field->stringValue().empty()) host.press(appkit::KeyCode::deleteBackward);
    host.typeText(text);
  }

  testsupport::LoopbackServer server;
  std::shared_ptr<roadmapviewstest::ScriptedVoter> voter =
      std::make_shared<roadmapviewstest::ScriptedVoter>();
};

TEST_F(RoadmapList, ShowsOneRowPerFeatureBetweenHeaderAndFooter) {
  WindowHost host(RoadmapView(
      configuration(), [] { return ui::AnyView(ui::Text::verbatim("Roadmap")); },
      [] { return ui::AnyView(ui::Text::verbatim("Thanks for voting")); }));
  // While the feed loads only the header and footer show.
  EXPECT_TRUE(host.exists(inspect::text("Roadmap")));
  EXPECT_TRUE(host.exists(inspect::text("Thanks for voting")));

  ASSERT_TRUE(waitForRows(host, 3));
  EXPECT_EQ(shownTitles(host), (std::vector<std::string>{"Dark mode", "Export to PDF", "Darker icons"}));
  // Top to bottom: the header, the cards in feed order, the footer, each row following the one above.
  std::vector<ui::Rect> rows{host.frame(inspect::text("Roadmap"))};
  for (const auto& card : host.findAll(inspect::type<RoadmapFeatureView>())) rows.push_back(host.frame(card));
  rows.push_back(host.frame(inspect::text("Thanks for voting")));
  for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_GE(rows[i].minY(), rows[i - 1].maxY());
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
    WindowHost host(c.view);
    ASSERT_TRUE(waitForRows(host, 3));
    const auto texts = host.findAll(inspect::textContaining(""));
    // Each row shows its title; everything else is the header or footer.
    EXPECT_EQ(texts.size(), 3u + c.texts.size());
    for (const auto& text : c.texts) EXPECT_TRUE(host.exists(inspect::text(text)));
  }
}

TEST_F(RoadmapList, CardsFillTheListsWidthOneRightBelowTheOther) {
  WindowHost host{RoadmapView(configuration()), {600, 600}};
  ASSERT_TRUE(waitForRows(host, 3));
  const auto list = host.frame(inspect::type("List"));
  const auto cards = host.findAll(inspect::type<RoadmapFeatureView>());
  for (std::size_t i = 0; i < cards.size(); ++i) {
    SCOPED_TRACE(i);
    const auto card = host.frame(cards[i]);
    EXPECT_EQ(card.minX(), list.minX());
    EXPECT_EQ(card.width(), list.width());
    // No separator lies between the rows.
    if (i > 0) EXPECT_EQ(card.minY(), host.frame(cards[i - 1]).maxY());
  }
}

TEST_F(RoadmapList, APersonTypesIntoTheSearchFieldAndTheRowsFilterAtEachKeystroke) {
  {
    WindowHost host{RoadmapView(configuration(false)), {600, 600}};
    ASSERT_TRUE(waitForRows(host, 3));
    EXPECT_EQ(searchField(host), nullptr);
  }
  WindowHost host{RoadmapView(configuration(true)), {600, 600}};
  ASSERT_TRUE(waitForRows(host, 3));
  const auto field = searchField(host);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field->stringValue(), "");
  // The field sits above the list.
  EXPECT_LE(field->convertRectToView(field->bounds(), nullptr).maxY(),
            host.frame(inspect::type("List")).minY());

  host.click(ui::Point{field->convertRectToView(field->bounds(), nullptr).minX() + 10,
                       field->convertRectToView(field->bounds(), nullptr).midY()});
  EXPECT_EQ(host.firstResponder(), field);
  struct Step {
    std::string typed;
    std::vector<std::string> shown;
  };
  const Step steps[] = {
      {"D", {"Dark mode", "Export to PDF", "Darker icons"}},
      {"A", {"Dark mode", "Darker icons"}},
      {"R", {"Dark mode", "Darker icons"}},
      {"KE", {"Darker icons"}},
      {"ST", {}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.typed);
    host.typeText(step.typed);
    EXPECT_EQ(shownTitles(host), step.shown);
  }
  // The clear button at the field's end brings every row back, in order.
  const auto area = field->convertRectToView(field->bounds(), nullptr);
  host.click(ui::Point{area.maxX() - 4, area.midY()});
  EXPECT_EQ(field->stringValue(), "");
  EXPECT_EQ(shownTitles(host), (std::vector<std::string>{"Dark mode", "Export to PDF", "Darker icons"}));
}

TEST_F(RoadmapList, RebuildingTheViewNeitherReloadsTheFeedNorResetsTheSearch) {
  WindowHost host{RoadmapView(configuration(true)), {600, 600}};
  ASSERT_TRUE(waitForRows(host, 3));
  search(host, "pdf");
  host.setRoot(RoadmapView(configuration(true)));
  host.settle();
  EXPECT_EQ(shownTitles(host), (std::vector<std::string>{"Export to PDF"}));
  EXPECT_EQ(searchField(host)->stringValue(), "pdf");
  EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(RoadmapList, FailedFeedShowsOnlyTheHeaderAndFooter) {
  server.reply("GET", "/roadmap.json", testsupport::ScriptedReply::text("gateway timeout", 504));
  foundation::LogCapture log;
  WindowHost host(RoadmapView(
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
