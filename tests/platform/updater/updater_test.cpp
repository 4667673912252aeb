#include "platform/updater/updater.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/desktop/headless_desktop.h"
#include "platform/foundation/log.h"
#include "platform/updater/standard_updater_controller.h"

namespace {

const foundation::URL kDownloadPage = *foundation::URL::parse("https://quillo.app/download");

std::vector<std::string> openedAddresses(const desktop::HeadlessDesktop& desktop) {
  std::vector<std::string> addresses;
  for (const auto& url : desktop.openedURLs()) addresses.push_back(url.absoluteString());
  return addresses;
}

TEST(Updater, NoCheckIsPossibleUntilTheUpdaterHasStarted) {
  desktop::HeadlessDesktop desktop;
  desktop::HeadlessDesktop::Scope scope(desktop);
  updater::StandardUpdaterController controller(false, kDownloadPage);
  std::vector<bool> seen;
  auto subscription = controller.updater()->canCheckForUpdatesPublisher().sink(
      [&](bool canCheck) { seen.push_back(canCheck); });
  EXPECT_FALSE(controller.updater()->canCheckForUpdates());
  controller.checkForUpdates();
  EXPECT_TRUE(desktop.openedURLs().empty());
  controller.startUpdater();
  controller.startUpdater();
  EXPECT_TRUE(controller.updater()->canCheckForUpdates());
  EXPECT_EQ(seen, (std::vector<bool>{false, true}));
}

TEST(Updater, ACheckOpensTheDownloadPageAndAnotherCheckIsPossibleAfterIt) {
  desktop::HeadlessDesktop desktop;
  desktop::HeadlessDesktop::Scope scope(desktop);
  updater::StandardUpdaterController controller(true, kDownloadPage);
  std::vector<bool> seen;
  auto subscription = controller.updater()->canCheckForUpdatesPublisher().sink(
      [&](bool canCheck) { seen.push_back(canCheck); });
  controller.checkForUpdates();
  controller.updater()->checkForUpdates();
  EXPECT_EQ(openedAddresses(desktop),
            (std::vector<std::string>{"https://quillo.app/download", "https://quillo.app/download"}));
  // While a check runs no other may start; afterwards one may again.
  EXPECT_EQ(seen, (std::vector<bool>{true, false, true, false, true}));
}

TEST(Updater, APageThatCannotBeOpenedIsReported) {
  foundation::LogCapture log;
  updater::StandardUpdaterController controller(true, kDownloadPage);  // no desktop to open it
  controller.checkForUpdates();
  EXPECT_TRUE(log.contains("Could not open the download page https://quillo.app/download"));
  EXPECT_TRUE(controller.updater()->canCheckForUpdates());
}

}  // namespace
