// The headless desktop seen as the platform layers see it, through the abstract Desktop and its services,
// while a test scripts the same desktop through its concrete classes.
#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/desktop.h"
#include "platform/desktop/headless_desktop.h"
#include "platform/desktop/workspace_service.h"

namespace desktop {
namespace {

class HeadlessServices : public ::testing::Test {
 protected:
  HeadlessDesktop headless;
  Desktop& desktop = headless;
};

TEST_F(HeadlessServices, WorkspaceShowsTheScriptedScreensAndApplications) {
  const Screen external(foundation::Rect(1440, 0, 1920, 1080), 2);
  headless.addScreen(external);
  const auto notes = headless.launchApplication("com.example.Notes", "Notes");

  WorkspaceService& workspace = desktop.workspace();
  EXPECT_EQ(workspace.screens(), headless.screens());
  EXPECT_EQ(workspace.screens().back(), external);
  EXPECT_EQ(workspace.applications(), std::vector<RunningApplication>{notes});
  EXPECT_EQ(workspace.application(notes.processIdentifier), notes);
  EXPECT_FALSE(workspace.frontmostApplication());

  EXPECT_FALSE(workspace.activateApplication(notes.processIdentifier + 1));
  EXPECT_TRUE(workspace.activateApplication(notes.processIdentifier));
  EXPECT_EQ(headless.frontmostApplication(), notes);
  EXPECT_EQ(workspace.frontmostApplication(), notes);
}

}  // namespace
}  // namespace desktop
