// The application delegate's hot keys and the Global window they open and close.
#include <gtest/gtest.h>

#include "Quillo/app/shortcut_names.h"
#include "Quillo/global/spotlight_window_controller.h"
#include "tests/Quillo/global/global_world.h"

namespace globaltest {
namespace {

using Quillo::ShortcutNames::openChat;
using Quillo::ShortcutNames::showSidebar;
using Quillo::ShortcutNames::showSpotlight;
using ui::testing::text;
using ui::testing::textField;

using DelegateHotKeys = GlobalTest;

TEST_F(DelegateHotKeys, EachOfTheThreeHotKeysRunsItsAction) {
  auto delegate = launch();

  pressHotKey(openChat);
  EXPECT_TRUE(delegate->popover->isShown());
  pressHotKey(openChat);
  EXPECT_FALSE(delegate->popover->isShown());

  pressHotKey(showSpotlight);
  EXPECT_TRUE(delegate->spotlightWindowController);
  EXPECT_EQ(windowsTitled("Quillo Global"), 1u);

  // The sidebar's handler holds a hot key of its own with the system (what it does is the sidebar's).
  const auto before = desktop.hotKeys().registrations().size();
  pressHotKey(showSidebar);
  EXPECT_EQ(desktop.hotKeys().registrations().size(), before + 1);
}

TEST_F(DelegateHotKeys, TheHandlersHoldTheDelegateWeaklyAndDoNothingOnceItIsGone) {
  std::weak_ptr<Quillo::StatusBarDelegate> weak;
  {
    auto delegate = launch();
    weak = delegate;
    // Stored now, while the handlers exist; pressed once the delegate is gone.
    for (const auto* name : {&openChat, &showSpotlight, &showSidebar}) pressHotKey(*name);
    pressHotKey(openChat);
    pressHotKey(showSpotlight);
    delegate->state.reset();
    appkit::Application::shared().resetForTesting();
  }
  settle();
  ASSERT_TRUE(weak.expired()) << "the hot-key handlers keep the delegate alive";
  for (const auto* name : {&openChat, &showSpotlight, &showSidebar}) pressHotKey(*name);
  EXPECT_EQ(windowsTitled("Quillo Global"), 0u);
}

TEST_F(DelegateHotKeys, TheGlobalHotKeyOpensTheWindowThenClosesIt) {
  auto editor = desktop.launchApplication("com.example.editor", "Editor");
  desktop.setFrontmostApplication(editor.processIdentifier);
  auto delegate = launch();

  pressHotKey(showSpotlight);
  auto controller = delegate->spotlightWindowController;
  ASSERT_TRUE(controller);
  auto window = controller->window();
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->isKeyWindow());
  EXPECT_EQ(window->delegate(), delegate);
  // Centred on the main screen's visible frame, and the application the person came from stays in front.
  const auto visible = appkit::Screen::mainScreen()->visibleFrame();
  EXPECT_DOUBLE_EQ(window->frame().midX(), visible.midX());
  EXPECT_DOUBLE_EQ(window->frame().midY(), visible.midY());
  EXPECT_EQ(desktop.frontmostApplication()->processIdentifier, editor.processIdentifier);
  EXPECT_FALSE(appkit::Application::shared().isActive());

  pressHotKey(showSpotlight);
  EXPECT_FALSE(delegate->spotlightWindowController);
  EXPECT_TRUE(window->isClosed());
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(windowsTitled("Quillo Global"), 0u);
}

TEST_F(DelegateHotKeys, AClickElsewhereClosesTheWindowAndTheNextPressShowsAFreshOne) {
  auto delegate = launch();
  pressHotKey(showSpotlight);
  {
    auto views = inspect(delegate->spotlightWindowController);
    auto field = views->find(textField("Type your prompt"));
    views->setText(field, "Say hello");
    views->submit(field);
    ASSERT_TRUE(runUntil([&] { return views->exists(text("Hello there")); })) << views->dump();
  }
  auto window = delegate->spotlightWindowController->window();
  const auto frame = window->frame();
  desktop.click({frame.minX() - 100, frame.minY() - 100});  // another application's window
  settle();
  EXPECT_FALSE(delegate->spotlightWindowController);
  EXPECT_TRUE(window->isClosed());

  pressHotKey(showSpotlight);
  ASSERT_TRUE(delegate->spotlightWindowController);
  auto views = inspect(delegate->spotlightWindowController);
  EXPECT_EQ(views->find(textField("Type your prompt")).primitive<ui::detail::TextInputSpec>()->text.get(), "");
  EXPECT_FALSE(views->exists(text("Hello there")));
  EXPECT_EQ(delegate->spotlightWindowController->window()->frame().size, foundation::Size(650, 60));
}

TEST_F(DelegateHotKeys, AClickInsideTheWindowKeepsItOpen) {
  auto delegate = launch();
  pressHotKey(showSpotlight);
  auto window = delegate->spotlightWindowController->window();
  const auto frame = window->frame();
  desktop.click({frame.midX(), frame.midY()});
  settle();
  EXPECT_TRUE(delegate->spotlightWindowController);
  EXPECT_TRUE(window->isKeyWindow());
}

TEST_F(DelegateHotKeys, EscapeInTheFieldClosesTheWindowThroughTheDelegate) {
  auto delegate = launch();
  pressHotKey(showSpotlight);
  auto window = delegate->spotlightWindowController->window();
  pressEscape();
  settle();
  EXPECT_FALSE(delegate->spotlightWindowController);
  EXPECT_TRUE(window->isClosed());
  // The next press opens a new window.
  pressHotKey(showSpotlight);
  EXPECT_TRUE(delegate->spotlightWindowController);
}

TEST_F(DelegateHotKeys, OtherWindowsLosingKeyStatusLeaveTheGlobalWindowAlone) {
  auto delegate = launch();
  pressHotKey(showSpotlight);
  auto controller = delegate->spotlightWindowController;
  const foundation::Notification other{appkit::Window::didResignKeyNotification, delegate.get(), {}};
  delegate->windowDidResignKey(other);
  EXPECT_EQ(delegate->spotlightWindowController, controller);
  // Closing it twice does no harm.
  delegate->closeSpotlightWindow();
  delegate->closeSpotlightWindow();
  EXPECT_FALSE(delegate->spotlightWindowController);
}

}  // namespace
}  // namespace globaltest
