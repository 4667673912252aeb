#include "platform/desktop/headless_desktop.h"

#include <gtest/gtest.h>

#include <thread>

namespace desktop {
namespace {

TEST(HeadlessDesktop, StartsWithOneMainScreenAndNothingElse) {
  HeadlessDesktop desktop;
  ASSERT_EQ(desktop.screens().size(), 1u);
  EXPECT_EQ(desktop.mainScreen().frame, foundation::Rect(0, 0, 1440, 900));
  EXPECT_TRUE(desktop.applications().empty());
  EXPECT_FALSE(desktop.frontmostApplication().has_value());
  EXPECT_TRUE(desktop.events().empty());
  EXPECT_FALSE(desktop.isPermissionGranted("accessibility"));
  EXPECT_TRUE(desktop.openedURLs().empty());
}

TEST(HeadlessDesktop, ScreensKeepTheirOrderAndNeverBecomeNone) {
  HeadlessDesktop desktop;
  const Screen external(foundation::Rect(1440, 0, 1920, 1080), 2);
  desktop.addScreen(external);
  EXPECT_EQ(desktop.screens().back(), external);
  desktop.setScreens({});
  EXPECT_EQ(desktop.screens().size(), 2u);
  desktop.setScreens({external});
  EXPECT_EQ(desktop.mainScreen(), external);
}

TEST(HeadlessDesktop, ScriptedApplications) {
  HeadlessDesktop desktop;
  const auto notes = desktop.launchApplication("com.example.Notes", "Notes");
  desktop.addApplication({4242, "com.example.Mail", "Mail"});
  const auto editor = desktop.launchApplication("com.example.Editor", "Editor");
  EXPECT_EQ(notes.processIdentifier, 1000);
  EXPECT_EQ(editor.processIdentifier, 4243);
  EXPECT_EQ(desktop.applicationWithBundleIdentifier("com.example.Mail")->localizedName, "Mail");
  EXPECT_EQ(desktop.application(1000), notes);

  EXPECT_TRUE(desktop.setFrontmostApplication(4242));
  EXPECT_EQ(desktop.frontmostApplication()->bundleIdentifier, "com.example.Mail");
  EXPECT_FALSE(desktop.setFrontmostApplication(7));
  EXPECT_EQ(desktop.frontmostApplication()->processIdentifier, 4242);

  EXPECT_TRUE(desktop.removeApplication(4242));
  EXPECT_FALSE(desktop.removeApplication(4242));
  EXPECT_FALSE(desktop.frontmostApplication().has_value());
  EXPECT_EQ(desktop.applications().size(), 2u);
}

TEST(HeadlessDesktop, InputEventsArePostedInjectedAndObserved) {
  HeadlessDesktop desktop;
  std::vector<std::string> seen;
  const auto token = desktop.addEventObserver([&](const InputEvent& e) { seen.push_back(e.type); });
  desktop.postEvent(InputEvent::key("keyDown", 9, 0, "v"));
  desktop.injectEvent(InputEvent::key("keyUp", 9));
  desktop.removeEventObserver(token);
  desktop.injectEvent(InputEvent::pointer("mouseDown", {10, 20}));

  const auto events = desktop.events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].origin, InputEvent::Origin::postedByApplication);
  EXPECT_EQ(events[0].characters, "v");
  EXPECT_EQ(events[1].origin, InputEvent::Origin::injected);
  EXPECT_EQ(seen, (std::vector<std::string>{"keyDown", "keyUp"}));
  desktop.clearEvents();
  EXPECT_TRUE(desktop.events().empty());
}

TEST(HeadlessDesktop, EventsFromTwoThreadsAreAllKept) {
  HeadlessDesktop desktop;
  auto post = [&] {
    for (int i = 0; i < 200; ++i) desktop.postEvent(InputEvent::key("keyDown", 0));
  };
  std::thread other(post);
  post();
  other.join();
  EXPECT_EQ(desktop.events().size(), 400u);
}

}  // namespace
}  // namespace desktop
