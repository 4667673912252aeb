#include "platform/ui/scene.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/appkit/application.h"
#include "platform/appkit/application_menu.h"
#include "platform/desktop/headless_desktop.h"
#include "platform/ui/application_scenes.h"
#include "platform/ui/hosting_controller.h"
#include "platform/ui/inspector.h"
#include "platform/ui/state.h"
#include "platform/ui/toolbar.h"
#include "platform/ui/views.h"
#include "tests/support/manual_time_test.h"

namespace {

namespace q = ui::testing;

class Scenes : public testsupport::ManualTimeTest {
 protected:
  void TearDown() override {
    appkit::Application::shared().resetForTesting();
    loop.runUntilIdle();
  }

  // The application's window with this title, or null.
  static std::shared_ptr<appkit::StyledWindow> windowTitled(const std::string& title) {
    for (const auto& window : appkit::Application::shared().windows()) {
      if (window->title() == title) return window;
    }
    return nullptr;
  }

  static std::unique_ptr<q::Inspector> inspect(const std::shared_ptr<appkit::StyledWindow>& window) {
    auto hosting = std::dynamic_pointer_cast<ui::HostingView>(window->contentView());
    if (!hosting) return nullptr;
    return std::make_unique<q::Inspector>(hosting->graph());
  }

  desktop::HeadlessDesktop desktop;
  desktop::HeadlessDesktop::Scope desktopScope{desktop};
};

// A command that is enabled only while its switch is on; the switch is another command.
class SwitchableCommands final : public ui::View {
 public:
  ui::AnyView body() const override {
    using namespace ui;
    auto isOn = isOn_;
    return Group(
        Button("Roadmap...", [] {}).disabled(!*isOn_), Divider(),
        Button("Switch", [isOn] { isOn.set(!*isOn); }).keyboardShortcut("r", EventModifiers::command));
  }

 private:
  ui::State<bool> isOn_{false};
};

std::vector<ui::Scene> sampleScenes() {
  using namespace ui;
  return {
      WindowGroup([] {
        return AnyView(VStack(Text::verbatim("Main content"), SettingsLink(Text::verbatim("Open settings"))));
      })
          .commands(
              {CommandGroup{CommandGroupPlacement::appInfo, [] { return AnyView(SwitchableCommands()); }},
               SidebarCommands()}),
      Settings([] { return AnyView(Text::verbatim("Settings content").frame(300, 200)); })};
}

TEST_F(Scenes, TheWindowGroupsFirstWindowOpensTitledWithTheApplicationsName) {
  ui::ApplicationScenes scenes(sampleScenes());
  scenes.install();
  auto main = windowTitled("Quillo");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(main->isVisible());
  EXPECT_TRUE(main->isKeyWindow());
  EXPECT_TRUE(main->isMainWindow());
  EXPECT_EQ(main->frame().size, ui::ApplicationScenes::kMainWindowContentSize);
  EXPECT_TRUE(inspect(main)->exists(q::text("Main content")));
  EXPECT_EQ(appkit::Application::shared().windows().size(), 1u);
}

TEST_F(Scenes, TheSettingsLinkOpensTheSettingsWindowOnceAndThenBringsItToTheFront) {
  ui::ApplicationScenes scenes(sampleScenes());
  scenes.install();
  auto main = windowTitled("Quillo");
  inspect(main)->tap(q::button("Open settings"));
  auto settings = windowTitled("Quillo Settings");
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(settings->frame().size, (foundation::Size{300, 200}));  // the content's own size
  EXPECT_TRUE(settings->isKeyWindow());
  EXPECT_TRUE(appkit::Application::shared().isActive());
  main->makeKeyAndOrderFront();
  inspect(main)->tap(q::button("Open settings"));
  EXPECT_EQ(windowTitled("Quillo Settings"), settings);
  EXPECT_TRUE(settings->isKeyWindow());
  settings->close();
  EXPECT_TRUE(appkit::Application::shared().sendAction(ui::kShowSettingsWindowAction));
  auto reopened = windowTitled("Quillo Settings");
  ASSERT_NE(reopened, nullptr);
  EXPECT_NE(reopened, settings);
}

TEST_F(Scenes, ReopeningWithoutAVisibleWindowOpensANewMainWindow) {
  ui::ApplicationScenes scenes(sampleScenes());
  scenes.install();
  appkit::Application::shared().reopen();
  EXPECT_EQ(appkit::Application::shared().windows().size(), 1u);
  windowTitled("Quillo")->close();
  appkit::Application::shared().reopen();
  auto main = windowTitled("Quillo");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(main->isVisible());
}

TEST_F(Scenes, CommandGroupsBecomeMenuItemsThatFollowTheirState) {
  ui::ApplicationScenes scenes(sampleScenes());
  scenes.install();
  auto menu = appkit::mainMenu();
  ASSERT_NE(menu, nullptr);
  auto appMenu = menu->items().front()->submenu();
  ASSERT_NE(appMenu, nullptr);
  std::vector<std::string> titles;
  for (const auto& item : appMenu->items()) titles.push_back(item->isSeparatorItem() ? "—" : item->title());
  EXPECT_EQ(titles, (std::vector<std::string>{"About Quillo", "Roadmap...", "—", "Switch", "—", "Settings…",
                                              "—", "Hide Quillo", "—", "Quit Quillo"}));
  auto roadmap = menu->itemWithTitle("Roadmap...");
  EXPECT_FALSE(roadmap->isEnabled());
  auto toggle = menu->itemWithTitle("Switch");
  EXPECT_EQ(toggle->keyEquivalent(), "r");
  EXPECT_EQ(toggle->keyEquivalentModifierMask(), appkit::ModifierFlags::command);
  EXPECT_TRUE(toggle->performAction());
  loop.runUntilIdle();
  menu = appkit::mainMenu();
  EXPECT_TRUE(menu->itemWithTitle("Roadmap...")->isEnabled());
  auto sidebar = menu->itemWithTitle("Toggle Sidebar");
  ASSERT_NE(sidebar, nullptr);
  EXPECT_EQ(sidebar->keyEquivalentModifierMask(),
            appkit::ModifierFlags::control | appkit::ModifierFlags::command);
  EXPECT_TRUE(menu->itemWithTitle("Settings…")->performAction());
  EXPECT_NE(windowTitled("Quillo Settings"), nullptr);
  EXPECT_TRUE(menu->itemWithTitle("Quit Quillo")->performAction());
  EXPECT_TRUE(appkit::Application::shared().isTerminating());
}

TEST_F(Scenes, ToolbarItemsWorkLikeOtherControlsAndKeepTheirPlacement) {
  int clears = 0;
  q::Host host(
      ui::toolbar(ui::Text::verbatim("content"),
                  {ui::ToolbarItem{ui::ToolbarItemPlacement::automatic,
                                   ui::Button("Clear", [&] { ++clears; }).keyboardShortcut("k")},
                   ui::ToolbarItem{ui::ToolbarItemPlacement::primaryAction, ui::Text::verbatim("Gear")}}));
  EXPECT_TRUE(host.pressKey("k", ui::EventModifiers::command));
  host.tap(q::button("Clear"));
  EXPECT_EQ(clears, 2);
  auto* toolbar = host.find(q::text("content")).modifier<ui::ToolbarModifier>();
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(toolbar->describe(), "toolbar(automatic, primaryAction)");
}

TEST_F(Scenes, AHostingControllerAsksForItsContentsIdealSizeOnlyWhenToldTo) {
  auto controller = ui::HostingController::make(ui::Text::verbatim("x").frame(500, 700));
  EXPECT_FALSE(controller->preferredContentSize().has_value());
  controller->setSizingOptions(ui::HostingController::SizingOptions::preferredContentSize);
  EXPECT_EQ(controller->preferredContentSize(), (foundation::Size{500, 700}));
}

}  // namespace
