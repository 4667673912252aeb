// The Global window as its controller builds it.
#include <gtest/gtest.h>

#include "Quillo/global/spotlight_window_controller.h"
#include "platform/appkit/styled_window.h"
#include "tests/Quillo/global/global_world.h"

namespace globaltest {
namespace {

using Quillo::SpotlightWindowController;
using Mask = appkit::StyledWindow::StyleMask;

using GlobalWindow = GlobalTest;

TEST_F(GlobalWindow, IsAFloatingPanelThatMayBecomeKeyWithItsTitleHidden) {
  SpotlightWindowController controller;
  auto panel = controller.panel();
  ASSERT_TRUE(panel);
  EXPECT_EQ(panel->title(), "Quillo Global");
  EXPECT_EQ(panel->level(), 101);
  EXPECT_TRUE(panel->canBecomeKeyWindow());
  EXPECT_FALSE(panel->canBecomeMainWindow());
  EXPECT_EQ(panel->titleVisibility(), appkit::StyledWindow::TitleVisibility::hidden);
  EXPECT_TRUE(panel->titlebarAppearsTransparent());
  EXPECT_EQ(panel->styleMask(), Mask::nonactivatingPanel | Mask::fullSizeContentView | Mask::titled);
  EXPECT_FALSE(panel->activatesApplication());
  EXPECT_EQ(panel->collectionBehavior(), appkit::StyledWindow::CollectionBehavior::canJoinAllSpaces |
                                             appkit::StyledWindow::CollectionBehavior::fullScreenAuxiliary);
}

TEST_F(GlobalWindow, TheBlurredBackdropIsTheContentAndHoldsOnlyTheHostedViewAtItsSize) {
  SpotlightWindowController controller;
  auto effect = controller.effectView();
  ASSERT_TRUE(effect);
  EXPECT_EQ(controller.panel()->contentView(), effect);
  EXPECT_EQ(effect->material(), appkit::VisualEffectView::Material::popover);
  EXPECT_EQ(effect->blendingMode(), appkit::VisualEffectView::BlendingMode::behindWindow);
  EXPECT_EQ(effect->state(), appkit::VisualEffectView::State::active);
  ASSERT_EQ(effect->subviews().size(), 1u);
  EXPECT_EQ(effect->subviews().front(), controller.hostingView());
  // Without an answer the view is the query bar alone.
  EXPECT_EQ(controller.panel()->frame(), foundation::Rect(0, 0, 650, 60));
  EXPECT_EQ(effect->frame().size, foundation::Size(650, 60));
  EXPECT_EQ(controller.hostingView()->frame().size, foundation::Size(650, 60));
}

TEST_F(GlobalWindow, TheHostingViewReportsNoSafeAreaWhateverIsAsked) {
  SpotlightWindowController controller;
  auto hosting = controller.hostingView();
  ASSERT_TRUE(hosting);
  EXPECT_EQ(hosting->safeAreaInsets(), ui::EdgeInsets{});
  EXPECT_EQ(hosting->safeAreaRect(), hosting->frame());
  hosting->setAdditionalSafeAreaInsets(ui::EdgeInsets{28, 4, 4, 4});
  EXPECT_EQ(hosting->additionalSafeAreaInsets(), ui::EdgeInsets{});
  EXPECT_EQ(hosting->safeAreaInsets(), ui::EdgeInsets{});
  const auto& guide = hosting->safeAreaLayoutGuide();
  EXPECT_EQ(guide.layoutFrame, hosting->bounds());
  EXPECT_EQ(&hosting->safeAreaLayoutGuide(), &guide);  // made once and kept
  EXPECT_NE(hosting->className().find("HostingView"), std::string::npos);
}

TEST_F(GlobalWindow, ShowingItLeavesTheApplicationInFrontWhereItWasAndPutsTheCursorInTheField) {
  auto editor = desktop.launchApplication("com.example.editor", "Editor");
  desktop.setFrontmostApplication(editor.processIdentifier);
  SpotlightWindowController controller;
  controller.panel()->center();
  controller.showWindow();
  settle();
  EXPECT_TRUE(controller.panel()->isKeyWindow());
  EXPECT_FALSE(controller.panel()->isMainWindow());
  ASSERT_TRUE(desktop.frontmostApplication());
  EXPECT_EQ(desktop.frontmostApplication()->processIdentifier, editor.processIdentifier);
  EXPECT_FALSE(appkit::Application::shared().isActive());
  auto views = inspect(controller);
  auto field = views->find(ui::testing::textField("Type your prompt"));
  EXPECT_TRUE(field.modifier<ui::FocusedModifier>()->isFocused());

  // Typing in the panel does not bring this application forward either.
  const auto frame = controller.panel()->frame();
  desktop.click({frame.midX(), frame.midY()});
  settle();
  EXPECT_TRUE(controller.panel()->isKeyWindow());
  EXPECT_FALSE(appkit::Application::shared().isActive());
  EXPECT_EQ(desktop.frontmostApplication()->processIdentifier, editor.processIdentifier);
}

}  // namespace
}  // namespace globaltest
