#include "platform/appkit/application.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/platform/appkit/desktop_fixture.h"

namespace appkittest {
namespace {

// Records what the application asks of its delegate.
class RecordingDelegate : public appkit::ApplicationDelegate {
 public:
  void applicationDidFinishLaunching(const foundation::Notification&) override {
    calls.push_back("launched");
  }
  bool applicationShouldHandleReopen(appkit::Application&, bool hasVisibleWindows) override {
    calls.push_back(hasVisibleWindows ? "reopen with windows" : "reopen without windows");
    return handlesReopen;
  }
  void applicationWillTerminate(const foundation::Notification&) override { calls.push_back("terminating"); }
  bool performAction(std::string_view action) override {
    if (action != "togglePopover") return false;
    calls.push_back("togglePopover");
    return true;
  }

  std::vector<std::string> calls;
  bool handlesReopen = true;
};

using Application = DesktopTest;

TEST_F(Application, FinishingLaunchTellsTheDelegateOnce) {
  auto delegate = std::make_shared<RecordingDelegate>();
  auto& application = appkit::Application::shared();
  application.setDelegate(delegate);
  int posted = 0;
  auto token = foundation::NotificationCenter::defaultCenter().addObserver(
      appkit::Application::didFinishLaunchingNotification, nullptr, nullptr,
      [&](const foundation::Notification&) { ++posted; });
  application.finishLaunching();
  application.finishLaunching();
  EXPECT_EQ(delegate->calls, std::vector<std::string>{"launched"});
  EXPECT_EQ(posted, 1);
  EXPECT_TRUE(application.isLaunched());
}

TEST_F(Application, RunEndsWhenTerminateIsCalledAndTheDelegateFinishesItsWorkFirst) {
  auto delegate = std::make_shared<RecordingDelegate>();
  auto& application = appkit::Application::shared();
  application.setDelegate(delegate);
  bool ranAfterTerminate = false;
  loop.async([&] { application.terminate(); });
  loop.async([&] { ranAfterTerminate = true; });
  application.run();
  EXPECT_EQ(delegate->calls, (std::vector<std::string>{"launched", "terminating"}));
  EXPECT_TRUE(application.isTerminating());
  EXPECT_FALSE(ranAfterTerminate);  // the loop stopped after the item that terminated
  application.terminate();          // a second request changes nothing
  EXPECT_EQ(delegate->calls.size(), 2u);
}

TEST_F(Application, ActionsWithoutTargetReachTheApplicationFirstThenTheDelegate) {
  auto delegate = std::make_shared<RecordingDelegate>();
  auto& application = appkit::Application::shared();
  application.setDelegate(delegate);
  int settingsShown = 0;
  application.setActionHandler("showSettingsWindow:", [&] { ++settingsShown; });
  EXPECT_TRUE(application.sendAction("showSettingsWindow:"));
  EXPECT_TRUE(application.sendAction("togglePopover"));
  EXPECT_FALSE(application.sendAction("noSuchAction:"));
  EXPECT_EQ(settingsShown, 1);
  EXPECT_EQ(delegate->calls, std::vector<std::string>{"togglePopover"});
  application.setActionHandler("showSettingsWindow:", nullptr);
  EXPECT_FALSE(application.sendAction("showSettingsWindow:"));
}

TEST_F(Application, AShownWindowStaysInTheListAndAliveUntilItIsClosed) {
  auto& application = appkit::Application::shared();
  std::weak_ptr<appkit::StyledWindow> weak;
  {
    auto window = titledWindow("Notes");
    weak = window;
    EXPECT_TRUE(application.windows().empty());  // made, not shown
    window->makeKeyAndOrderFront();
    window->orderFront();  // listed once
  }
  ASSERT_EQ(application.windows().size(), 1u);
  auto window = weak.lock();
  ASSERT_NE(window, nullptr);
  window->orderOut();  // hidden windows stay listed
  EXPECT_EQ(application.windows().size(), 1u);
  window->close();
  window.reset();
  EXPECT_TRUE(application.windows().empty());
  EXPECT_TRUE(weak.expired());
}

TEST_F(Application, ReopenTellsTheDelegateWhetherAWindowIsVisibleAndThenRunsTheReopenHandler) {
  auto delegate = std::make_shared<RecordingDelegate>();
  auto& application = appkit::Application::shared();
  application.setDelegate(delegate);
  std::vector<bool> handled;
  application.setReopenHandler([&](bool hasVisibleWindows) { handled.push_back(hasVisibleWindows); });
  application.reopen();
  auto window = titledWindow("Quillo");
  window->orderFront();
  application.reopen();
  delegate->handlesReopen = false;
  application.reopen();
  EXPECT_EQ(delegate->calls, (std::vector<std::string>{"reopen without windows", "reopen with windows",
                                                       "reopen with windows"}));
  EXPECT_EQ(handled, (std::vector<bool>{false, true}));
}

TEST_F(Application, ActivationPolicyKeepsThePlatformsNumbers) {
  auto& application = appkit::Application::shared();
  EXPECT_EQ(application.activationPolicy(), appkit::ActivationPolicy::regular);
  application.setActivationPolicy(appkit::ActivationPolicy::accessory);
  EXPECT_EQ(static_cast<int>(application.activationPolicy()), 1);
  EXPECT_EQ(static_cast<int>(appkit::ActivationPolicy::prohibited), 2);
  EXPECT_FALSE(application.isActive());
  application.activate(true);
  EXPECT_TRUE(application.isActive());
}

}  // namespace
}  // namespace appkittest
