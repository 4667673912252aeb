#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "Roadmap/feature_voter_count_api.h"
#include "Roadmap/roadmap_configuration.h"
#include "Roadmap/roadmap_style.h"
#include "Roadmap/roadmap_template.h"
#include "platform/foundation/bundle.h"
#include "tests/Roadmap/roadmap_test_support.h"

namespace {

using Roadmap::RoadmapConfiguration;
using Roadmap::RoadmapStyle;
using Roadmap::RoadmapTemplate;

foundation::URL feedURL() { return *foundation::URL::parse("https://example.com/roadmap.json"); }

std::string symbolName(const ui::Image& image) {
  auto spec = std::dynamic_pointer_cast<const ui::detail::ImageSpec>(image.spec());
  if (!spec || spec->source != ui::detail::ImageSpec::Source::systemSymbol) return "not a system symbol";
  return spec->name;
}

// The namespace under which a configuration counts its votes at the hit-counter service.
std::optional<std::string> countedNamespace(const RoadmapConfiguration& configuration) {
  auto voter = std::dynamic_pointer_cast<const Roadmap::FeatureVoterCountAPI>(configuration.sharedVoter());
  if (!voter) return std::nullopt;
  return voter->counterNamespace();
}

// While alive, the main bundle is a folder whose Info values are the given XML property list body.
class MainBundleScope {
 public:
  explicit MainBundleScope(const std::string& infoEntries) {
    std::ofstream(folder_.path() / "Info.plist")
        << R"(<?xml version="1.0" encoding="UTF-8"?><plist version="1.0"><dict>)" << infoEntries
        << "</dict></plist>";
    foundation::Bundle::setMainResourceDirectory(folder_.path());
  }
  ~MainBundleScope() { foundation::Bundle::setMainResourceDirectory(std::nullopt); }
  MainBundleScope(const MainBundleScope&) = delete;
  MainBundleScope& operator=(const MainBundleScope&) = delete;

 private:
  roadmaptest::TemporaryFolder folder_;
};

class OtherVoter : public Roadmap::FeatureVoter {
 public:
  std::int64_t fetchVoteCount(const Roadmap::RoadmapFeature&) const override { return 3; }
  Roadmap::VoteResult submitVote(const Roadmap::RoadmapFeature&) const override {
    return Roadmap::VoteResult::counted(4);
  }
};

TEST(RoadmapTemplates, AreTheFourLooksInOrder) {
  EXPECT_EQ(Roadmap::allRoadmapTemplates, (std::array{RoadmapTemplate::standard, RoadmapTemplate::playful,
                                                      RoadmapTemplate::classy, RoadmapTemplate::technical}));
  EXPECT_NE(std::hash<RoadmapTemplate>()(RoadmapTemplate::standard),
            std::hash<RoadmapTemplate>()(RoadmapTemplate::playful));
}

TEST(RoadmapTemplates, DifferInIconFontDesignAndRadius) {
  struct Case {
    RoadmapTemplate roadmapTemplate;
    std::string icon;
    ui::FontDesign design;
    double radius;
  };
  const Case cases[] = {
      {RoadmapTemplate::standard, "arrowtriangle.up.fill", ui::FontDesign::standard, 10},
      {RoadmapTemplate::playful, "arrow.up", ui::FontDesign::rounded, 15},
      {RoadmapTemplate::classy, "chevron.up", ui::FontDesign::serif, 5},
      {RoadmapTemplate::technical, "chevron.up", ui::FontDesign::monospaced, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.roadmapTemplate));
    const RoadmapStyle style = Roadmap::style(c.roadmapTemplate);
    EXPECT_EQ(symbolName(style.upvoteIcon), c.icon);
    EXPECT_EQ(style.radius, c.radius);
    EXPECT_EQ(style.titleFont,
              ui::Font::textStyle(ui::TextStyle::headline, c.design).weight(ui::FontWeight::bold));
    EXPECT_EQ(style.numberFont, ui::Font::textStyle(ui::TextStyle::body, c.design)
                                    .weight(ui::FontWeight::semibold)
                                    .monospacedDigit());
    EXPECT_TRUE(style.numberFont.hasMonospacedDigits());
    EXPECT_EQ(style.statusFont,
              ui::Font::textStyle(ui::TextStyle::caption, c.design).weight(ui::FontWeight::bold));
  }
}

TEST(RoadmapTemplates, ShareTheirColours) {
  for (const auto roadmapTemplate : Roadmap::allRoadmapTemplates) {
    SCOPED_TRACE(static_cast<int>(roadmapTemplate));
    const RoadmapStyle style = Roadmap::style(roadmapTemplate);
    for (const std::string status : {"", "Planned", "In progress", "Done"}) {
      EXPECT_EQ(style.statusTintColor(status), ui::Color::primary()) << status;
    }
    EXPECT_EQ(style.cellColor, ui::Color::primary().opacity(0.08));
    EXPECT_EQ(style.selectedForegroundColor, ui::Color::white());
    EXPECT_EQ(style.tintColor, ui::Color::accentColor());
  }
}

TEST(RoadmapStyle, KeepsTheValuesItIsGiven) {
  const RoadmapStyle style(
      ui::Image::systemName("star"), ui::Font::title(), ui::Font::system(13), ui::Font::footnote(),
      [](const std::string& status) { return status == "Done" ? ui::Color::green() : ui::Color::gray(); }, 7,
      ui::Color::blue(), ui::Color::black(), ui::Color::orange());
  const RoadmapStyle copy = style;
  EXPECT_EQ(symbolName(copy.upvoteIcon), "star");
  EXPECT_EQ(copy.titleFont, ui::Font::title());
  EXPECT_EQ(copy.numberFont, ui::Font::system(13));
  EXPECT_EQ(copy.statusFont, ui::Font::footnote());
  EXPECT_EQ(copy.statusTintColor("Done"), ui::Color::green());
  EXPECT_EQ(copy.statusTintColor(""), ui::Color::gray());
  EXPECT_EQ(copy.radius, 7);
  EXPECT_EQ(copy.cellColor, ui::Color::blue());
  EXPECT_EQ(copy.selectedForegroundColor, ui::Color::black());
  EXPECT_EQ(copy.tintColor, ui::Color::orange());
}

TEST(RoadmapConfiguration, KeepsItsFeedStyleAndSwitches) {
  struct Case {
    bool shuffledOrder, allowVotes, allowSearching;
  };
  const Case cases[] = {{false, false, false}, {true, false, true}, {false, true, false}, {true, true, true}};
  for (const auto& c : cases) {
    const RoadmapConfiguration configuration(feedURL(), std::string("ns"),
                                             Roadmap::style(RoadmapTemplate::classy), c.shuffledOrder,
                                             c.allowVotes, c.allowSearching);
    EXPECT_EQ(configuration.roadmapJSONURL().absoluteString(), "https://example.com/roadmap.json");
    EXPECT_EQ(configuration.style().radius, 5);
    EXPECT_EQ(configuration.shuffledOrder(), c.shuffledOrder);
    EXPECT_EQ(configuration.allowVotes(), c.allowVotes);
    EXPECT_EQ(configuration.allowSearching(), c.allowSearching);
  }
}

TEST(RoadmapConfiguration, CountsUnderTheGivenNamespaceElseTheBundleIdentifier) {
  MainBundleScope bundle("<key>CFBundleIdentifier</key><string>com.example.app</string>");
  struct Case {
    std::optional<std::string> given;
    std::string counted;
  };
  const Case cases[] = {
      {std::string("com.example.roadmap"), "com.example.roadmap"},
      {std::string(""), ""},  // an empty namespace is a namespace, used as it is
      {std::nullopt, "com.example.app"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given.value_or("(none)"));
    const RoadmapConfiguration configuration(feedURL(), c.given, Roadmap::style(RoadmapTemplate::standard),
                                             false, true, false);
    EXPECT_EQ(countedNamespace(configuration), c.counted);
  }
}

TEST(RoadmapConfiguration, WithoutNamespaceOrBundleIdentifierIsRefusedWithAnError) {
  MainBundleScope bundle("<key>CFBundleName</key><string>No identifier</string>");
  try {
    RoadmapConfiguration(feedURL(), std::nullopt, Roadmap::style(RoadmapTemplate::standard), false, true,
                         false);
    FAIL() << "made a configuration without a namespace";
  } catch (const RoadmapConfiguration::MissingNamespace& error) {
    EXPECT_STREQ(error.what(), "Missing namespace");
  }
  // A given namespace needs no bundle identifier.
  EXPECT_NO_THROW(RoadmapConfiguration(feedURL(), std::string("ns"),
                                       Roadmap::style(RoadmapTemplate::standard), false, true, false));
}

TEST(RoadmapConfiguration, MadeTwiceFromTheSameArgumentsSharesTheCounts) {
  const auto make = [] {
    return RoadmapConfiguration(feedURL(), std::string("com.example.roadmap"),
                                Roadmap::style(RoadmapTemplate::standard), false, true, false);
  };
  const auto first = make();
  const auto second = make();
  EXPECT_EQ(countedNamespace(first), countedNamespace(second));
  const Roadmap::RoadmapFeature feature{"7"};
  const auto* firstVoter = dynamic_cast<const Roadmap::FeatureVoterCountAPI*>(&first.voter());
  const auto* secondVoter = dynamic_cast<const Roadmap::FeatureVoterCountAPI*>(&second.voter());
  ASSERT_NE(firstVoter, nullptr);
  ASSERT_NE(secondVoter, nullptr);
  EXPECT_EQ(firstVoter->counterURLString("get", feature), secondVoter->counterURLString("get", feature));
}

TEST(RoadmapConfiguration, UsesAGivenVoterAndCopiesShareIt) {
  auto voter = std::make_shared<OtherVoter>();
  const RoadmapConfiguration configuration(feedURL(), voter, Roadmap::style(RoadmapTemplate::technical), true,
                                           false, true);
  const RoadmapConfiguration copy = configuration;
  EXPECT_EQ(&copy.voter(), voter.get());
  EXPECT_EQ(copy.voter().fetchVoteCount(Roadmap::RoadmapFeature{"a"}), 3);
  EXPECT_THROW(RoadmapConfiguration(feedURL(), std::shared_ptr<const Roadmap::FeatureVoter>(),
                                    Roadmap::style(RoadmapTemplate::standard), false, true, false),
               std::invalid_argument);
}

}  // namespace
