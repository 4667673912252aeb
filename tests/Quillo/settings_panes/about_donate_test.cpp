// The About and Donate panes as a person uses them: links opened on the desktop, windows opened, amounts
// chosen and the emoji that springs in and out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Quillo/app/roadmap_window.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/settings_panes/about_settings_pane.h"
#include "Quillo/settings_panes/acknowledgements_view.h"
#include "Quillo/settings_panes/donate_settings_pane.h"
#include "Roadmap/roadmap_feature_view.h"
#include "platform/appkit/application.h"
#include "platform/ui/hosting.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"
#include "tests/Quillo/settings_panes/settings_panes_environment.h"

namespace {

using namespace settingspanestest;
using ui::testing::Host;
using ui::testing::WindowHost;
namespace q = ui::testing;

using AboutPane = SettingsPaneTest;
using DonatePane = SettingsPaneTest;

std::vector<std::string> openedURLs(Host& host) {
  std::vector<std::string> result;
  for (const auto& url : host.desktop().openedURLs()) result.push_back(url.absoluteString());
  return result;
}

double emojiOpacity(Host& host) { return host.find(q::identifier("donationEmoji")).opacity(); }

TEST_F(AboutPane, TheVersionLineKeepsItsParenthesesWhenAValueIsMissing) {
  EXPECT_EQ(Quillo::aboutVersionLine("2.1", "45"), "2.1 (45)");
  EXPECT_EQ(Quillo::aboutVersionLine(std::nullopt, "45"), " (45)");
  EXPECT_EQ(Quillo::aboutVersionLine("2.1", std::nullopt), "2.1 ()");
}

TEST_F(AboutPane, StoreAndFeedbackButtonsOpenTheirAddresses) {
  WindowHost host{Quillo::AboutSettings()};
  EXPECT_TRUE(host.exists(q::text("Quillo")));
  EXPECT_TRUE(host.exists(q::textContaining("with some help from ChatGPT 🤖")));
  host.tap(q::button("Download iPhone App"));
  host.tap(q::button("Feedback"));
  auto urls = openedURLs(host);
  ASSERT_EQ(urls.size(), 2u);
  EXPECT_EQ(urls[0].rfind("https://apps.apple.com/", 0), 0u);
  EXPECT_EQ(urls[1].rfind("mailto:", 0), 0u);
}

TEST_F(AboutPane, EachRoadmapPressOpensANewWindowListingTheRoadmapsFeatures) {
  WindowHost host{Quillo::AboutSettings()};
  host.tap(q::button("Roadmap"));
  host.tap(q::button("Roadmap"));
  auto windows = appkit::Application::shared().windows();
  ASSERT_EQ(windows.size(), 2u);
  for (const auto& window : windows) {
    EXPECT_EQ(window->title(), "Quillo Roadmap");
    EXPECT_EQ(window->frame().size, (foundation::Size{600, 600}));
    EXPECT_TRUE(window->isVisible());
    auto hosting = std::dynamic_pointer_cast<ui::HostingView>(window->contentView());
    ASSERT_NE(hosting, nullptr);
    q::Inspector roadmap(hosting->graph());
    EXPECT_TRUE(roadmap.exists(q::type<Quillo::TotalRoadmap>()));
    ASSERT_TRUE(host.runUntil([&] {
      roadmap.settle();
      return roadmap.findAll(q::type<Roadmap::RoadmapFeatureView>()).size() == 2;
    })) << roadmap.dump();
    EXPECT_TRUE(roadmap.exists(q::text("Dark mode")));
    EXPECT_TRUE(roadmap.exists(q::text("Export to PDF")));
    EXPECT_TRUE(roadmap.exists(q::text("Made with Roadmap")));
  }
  EXPECT_NE(windows[0], windows[1]);
}

TEST_F(AboutPane, AcknowledgementsOpensTheListInAWindow) {
  WindowHost host{Quillo::AboutSettings()};
  host.tap(q::button("Acknowledgements"));
  auto windows = appkit::Application::shared().windows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0]->title(), "Acknowledgements");
  auto hosting = std::dynamic_pointer_cast<ui::HostingView>(windows[0]->contentView());
  ASSERT_NE(hosting, nullptr);
  EXPECT_TRUE(q::ViewRef(hosting->graph().root()).exists(q::text("cmark-gfm")));
}

TEST_F(DonatePane, DonatingBeforeChoosingOpensTheCheckoutWithPriceZero) {
  WindowHost host{Quillo::DonateSettings()};
  for (int price : {5, 10, 20, 30, 50}) {
    SCOPED_TRACE(price);
    auto circle = host.find(q::identifier("donationAmount" + std::to_string(price))).find(q::type("Circle"));
    EXPECT_DOUBLE_EQ(circle.opacity(), 0.5);
  }
  EXPECT_DOUBLE_EQ(emojiOpacity(host), 0);
  host.tap(q::button("Donate"));
  auto urls = openedURLs(host);
  ASSERT_EQ(urls.size(), 1u);
  EXPECT_NE(urls[0].find("/l/corvane?price=0&referrer=https://"), std::string::npos);
  EXPECT_TRUE(Defaults::get(Quillo::Keys::clickedDonate()));
}

TEST_F(DonatePane, ChoosingAnAmountShowsItsEmojiForASecond) {
  WindowHost host{Quillo::DonateSettings()};
  host.tap(q::identifier("donationAmount20"));
  EXPECT_DOUBLE_EQ(host.find(q::identifier("donationAmount20")).find(q::type("Circle")).opacity(), 1.0);
  EXPECT_EQ(host.find(q::identifier("donationEmoji")).text(), "😳");
  EXPECT_DOUBLE_EQ(emojiOpacity(host), 1);
  host.advance(0.99);
  EXPECT_DOUBLE_EQ(emojiOpacity(host), 1);
  host.advance(0.01);
  EXPECT_DOUBLE_EQ(emojiOpacity(host), 0);
}

TEST_F(DonatePane, TheFirstChoicesHidingIsNotCancelledByASecondChoice) {
  WindowHost host{Quillo::DonateSettings()};
  host.tap(q::identifier("donationAmount5"));
  host.advance(0.5);
  host.tap(q::identifier("donationAmount10"));
  EXPECT_EQ(host.find(q::identifier("donationEmoji")).text(), "🥰");
  EXPECT_DOUBLE_EQ(emojiOpacity(host), 1);
  host.advance(0.5);
  EXPECT_DOUBLE_EQ(emojiOpacity(host), 0);
}

TEST_F(DonatePane, TheChosenAmountGoesIntoTheCheckoutAddress) {
  WindowHost host{Quillo::DonateSettings()};
  host.tap(q::identifier("donationAmount50"));
  host.tap(q::button("Donate"));
  auto urls = openedURLs(host);
  ASSERT_EQ(urls.size(), 1u);
  EXPECT_NE(urls[0].find("?price=50&referrer="), std::string::npos);
  EXPECT_EQ(urls[0].substr(urls[0].size() - 12), "&wanted=true");
}

TEST(DonationAmount, HasSixAmountsWithPricesAndEmoji) {
  using Quillo::DonationAmount;
  EXPECT_EQ(Quillo::fromRawValue(std::type_identity<DonationAmount>(), 3), DonationAmount::large);
  EXPECT_EQ(Quillo::fromRawValue(std::type_identity<DonationAmount>(), 6), std::nullopt);
  EXPECT_EQ(Quillo::fromRawValue(std::type_identity<DonationAmount>(), -1), std::nullopt);
  std::vector<int> prices;
  for (auto amount : Quillo::allDonationAmounts) prices.push_back(Quillo::price(amount));
  EXPECT_EQ(prices, (std::vector<int>{0, 5, 10, 20, 30, 50}));
  EXPECT_EQ(Quillo::emoji(DonationAmount::zero), "😘");
  EXPECT_EQ(Quillo::emoji(DonationAmount::huge), "😭");
}

}  // namespace
