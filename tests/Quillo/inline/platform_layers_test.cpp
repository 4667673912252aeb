#include <gtest/gtest.h>

#include "headless_world.h"
#include "platform/accessibility/attributes.h"
#include "platform/accessibility/element_access.h"
#include "platform/appkit/screen.h"
#include "platform/appkit/workspace.h"

namespace {

using desktop::AccessibleElement;
using foundation::Rect;

TEST(Workspace, ListsRunningApplicationsAndTheFrontmostOne) {
  inline_test::HeadlessWorld world;
  const int editor = world.desktop.launchApplication("com.example.Editor", "Editor").processIdentifier;
  const int bare = world.desktop.launchApplication("", "tool").processIdentifier;
  auto& workspace = appkit::Workspace::shared();
  EXPECT_EQ(workspace.runningApplications(),
            (std::vector<appkit::RunningApplication>{{editor, "com.example.Editor", "Editor"},
                                                     {bare, std::nullopt, "tool"}}));
  EXPECT_EQ(workspace.frontmostApplication(), std::nullopt);
  world.desktop.setFrontmostApplication(bare);
  EXPECT_EQ(workspace.frontmostApplication()->bundleIdentifier(), std::nullopt);
}

TEST(Workspace, ActivationIsAnnouncedWithTheApplicationInTheUserInfo) {
  inline_test::HeadlessWorld world;
  const int editor = world.desktop.launchApplication("com.example.Editor", "Editor").processIdentifier;
  std::vector<appkit::RunningApplication> activated;
  auto token = appkit::Workspace::shared().notificationCenter().addObserver(
      appkit::Workspace::didActivateApplicationNotification, nullptr, &foundation::RunLoop::main(),
      [&](const foundation::Notification& notification) {
        activated.push_back(*notification.userInfoValue<appkit::RunningApplication>(
            appkit::Workspace::applicationUserInfoKey));
      });
  const auto application = *appkit::Workspace::shared().runningApplication(editor);
  EXPECT_TRUE(application.activate());
  EXPECT_TRUE(application.activate());  // already frontmost: no second announcement
  EXPECT_TRUE(activated.empty());       // delivered on the main queue
  world.mainLoop.loop().runUntilIdle();
  EXPECT_EQ(activated, std::vector<appkit::RunningApplication>{application});
  EXPECT_EQ(world.desktop.frontmostApplication()->processIdentifier, editor);

  world.desktop.removeApplication(editor);
  EXPECT_FALSE(application.activate());
}

TEST(Workspace, AnActivationTheDesktopReportsIsAnnouncedOnceWhileAnAnnouncerLives) {
  inline_test::HeadlessWorld world;
  const int editor = world.desktop.launchApplication("com.example.Editor", "Editor").processIdentifier;
  const int mail = world.desktop.launchApplication("com.example.Mail", "Mail").processIdentifier;
  std::vector<int> activated;
  auto token = appkit::Workspace::shared().notificationCenter().addObserver(
      appkit::Workspace::didActivateApplicationNotification, nullptr, &foundation::RunLoop::main(),
      [&](const foundation::Notification& notification) {
        activated.push_back(
            notification.userInfoValue<appkit::RunningApplication>(appkit::Workspace::applicationUserInfoKey)
                ->processIdentifier());
      });
  world.desktop.setFrontmostApplication(mail);  // no announcer: the desktop's report goes nowhere
  world.mainLoop.loop().runUntilIdle();
  EXPECT_TRUE(activated.empty());
  {
    appkit::Workspace::ActivationAnnouncer announcer(world.desktop.workspace());
    world.desktop.setFrontmostApplication(editor);  // the person brings the editor forward
    world.mainLoop.loop().runUntilIdle();
    EXPECT_TRUE(appkit::Workspace::shared().runningApplication(mail)->activate());  // this program
    world.mainLoop.loop().runUntilIdle();
  }
  world.desktop.setFrontmostApplication(editor);
  world.mainLoop.loop().runUntilIdle();
  EXPECT_EQ(activated, (std::vector<int>{editor, mail}));
}

TEST(Screen, FirstScreenAndNoScreenAtAll) {
  EXPECT_TRUE(appkit::Screen::screens().empty());
  EXPECT_EQ(appkit::Screen::mainScreen(), std::nullopt);
  desktop::HeadlessDesktop desktop;
  desktop::HeadlessDesktop::Scope scope(desktop);
  desktop.addScreen(desktop::Screen(Rect(1440, 0, 1024, 768), 2));
  ASSERT_EQ(appkit::Screen::screens().size(), 2u);
  EXPECT_EQ(appkit::Screen::mainScreen()->frame(), Rect(0, 0, 1440, 900));
  EXPECT_EQ(appkit::Screen::screens()[1].backingScaleFactor(), 2);
}

TEST(Accessibility, ProcessTrustFollowsThePermission) {
  EXPECT_FALSE(ax::isProcessTrusted());
  inline_test::HeadlessWorld world;
  EXPECT_TRUE(ax::isProcessTrusted());
  world.desktop.setPermissionGranted("accessibility", false);
  EXPECT_FALSE(ax::isProcessTrusted());
  EXPECT_EQ(ax::copyAttributeValue(ax::Element::systemWide(), ax::attribute::focusedUIElement).error,
            ax::Error::apiDisabled);
}

TEST(Accessibility, WritesReachTheElement) {
  inline_test::HeadlessWorld world;
  int id = 0;
  const int pid = world.launchWithFocused("com.example.Editor",
                                          AccessibleElement::text("AXTextField", "abc", {3, 0}), &id);
  const auto element = ax::Element::inApplication(pid, id);
  EXPECT_EQ(ax::setAttributeValue(element, ax::attribute::value, ax::Object("xyz")), ax::Error::success);
  EXPECT_EQ(ax::setAttributeValue(element, ax::attribute::selectedTextRange,
                                  ax::Object(ax::Value(ax::Range{1, 1}))),
            ax::Error::success);
  EXPECT_EQ(ax::copyAttributeValue(element, ax::attribute::selectedText).value, ax::Object("y"));
  EXPECT_EQ(ax::setAttributeValue(element, ax::attribute::value, ax::Object(true)),
            ax::Error::illegalArgument);
  EXPECT_EQ(ax::copyAttributeValue(ax::Element::inApplication(pid, 99), ax::attribute::role).error,
            ax::Error::invalidUIElement);
  EXPECT_EQ(ax::copyAttributeValue(ax::Element::application(pid), ax::attribute::focusedUIElement).value,
            ax::Object(element));
}

TEST(Accessibility, BoundsOfARangeOverSeveralLinesSpanTheElementsWidth) {
  const auto element = AccessibleElement::text("AXTextArea", "ab\ncd\nef", {0, 0}, {10, 10}, {300, 100});
  EXPECT_EQ(element.boundsForRange({1, 4}), Rect(10, 10, 300, 40));
  EXPECT_EQ(element.boundsForRange({6, 2}), Rect(10, 50, 16, 20));
}

}  // namespace
