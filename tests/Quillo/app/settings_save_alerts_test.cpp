// Settings that cannot be saved are shown to the person, once per failure, whenever the failure was found.
#include "Quillo/app/settings_save_alerts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/appkit/application.h"
#include "platform/foundation/user_defaults.h"
#include "tests/Quillo/app/app_world.h"
#include "tests/support/temporary_folder.h"

namespace apptest {
namespace {

namespace fs = std::filesystem;
using foundation::UserDefaults;

// A settings suite whose folder lies under a plain file, so none of its changes can be saved until
// unblock() puts a folder there.
class BlockedSuite {
 public:
  explicit BlockedSuite(const std::string& name) : blocker_(folder_.path() / "blocker") {
    std::ofstream(blocker_) << "in the way";
    suite_ = UserDefaults::suite(name, blocker_);
  }
  ~BlockedSuite() { unblock(); }

  // A change that cannot be saved: the suite starts failing.
  void change() { suite_->setObject(++changes_, "changes"); }
  // Saving works again, so the suite leaves the list of failures.
  void unblock() {
    if (!fs::is_regular_file(blocker_)) return;
    fs::remove(blocker_);
    fs::create_directories(blocker_);
    change();
  }
  std::string message() const {
    for (const auto& failure : UserDefaults::currentSaveFailures()) {
      if (failure.suiteName == suite_->suiteName()) return failure.message();
    }
    return {};
  }

 private:
  testsupport::TemporaryFolder folder_{"quillo-blocked-"};
  fs::path blocker_;
  std::shared_ptr<UserDefaults> suite_;
  int changes_ = 0;
};

class SettingsSaveAlerts : public AppTest {
 protected:
  std::vector<desktop::AlertRequest> alertsShown() { return desktop.alerts().alerts(); }
  static desktop::AlertRequest expectedAlert(const std::string& message,
                                             std::optional<std::string> sheetWindow) {
    return {Quillo::kSettingsCannotBeSavedTitle, message, 0, {}, std::move(sheetWindow)};
  }
};

TEST_F(SettingsSaveAlerts, FailuresFoundBeforeLaunchAreShownOnceEachInTheFirstWindow) {
  BlockedSuite beforeTheApplication("early");
  beforeTheApplication.change();  // nobody observes yet: only the list knows it
  {
    Quillo::Corvane app;
    BlockedSuite whileStarting("starting");
    whileStarting.change();  // announced and listed: it must still be shown once
    ui::ApplicationScenes scenes(app.body());
    scenes.install();
    appkit::Application::shared().finishLaunching();
    settle();
    const auto shown = alertsShown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], expectedAlert(beforeTheApplication.message(), "Quillo"));
    EXPECT_EQ(shown[1], expectedAlert(whileStarting.message(), "Quillo"));
    EXPECT_NE(shown[0].informativeText.find("early"), std::string::npos) << shown[0].informativeText;
    appkit::Application::shared().resetForTesting();
  }
  settle();
}

TEST_F(SettingsSaveAlerts, AFailureFoundWhileRunningIsShownInTheFirstWindowOrOnItsOwnWithoutOne) {
  LaunchedApplication launched;
  settle();
  BlockedSuite suite("running");
  suite.change();
  suite.change();  // the same failure goes on: it is not shown again
  settle();
  ASSERT_EQ(alertsShown().size(), 1u);
  EXPECT_EQ(alertsShown()[0], expectedAlert(suite.message(), "Quillo"));

  // Once saving works, a new failure is a new alert; with no window left it stands on its own.
  suite.unblock();
  for (const auto& window : appkit::Application::shared().windows()) window->close();
  BlockedSuite again("running-again");
  again.change();
  settle();
  ASSERT_EQ(alertsShown().size(), 2u);
  EXPECT_EQ(alertsShown()[1], expectedAlert(again.message(), std::nullopt));
}

TEST_F(SettingsSaveAlerts, AnnouncementsFromAnotherThreadAreShownOnTheMainQueue) {
  LaunchedApplication launched;
  settle();
  std::optional<BlockedSuite> suite;
  std::thread([&] {
    suite.emplace("elsewhere");
    suite->change();
  }).join();
  EXPECT_TRUE(alertsShown().empty());
  settle();
  ASSERT_EQ(alertsShown().size(), 1u);
  EXPECT_EQ(alertsShown()[0].messageText, "Settings Cannot Be Saved");
}

}  // namespace
}  // namespace apptest
