// The main window and what happens when it is shown, the settings window, the application menu's
// commands and the roadmap window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Quillo/app/corvane.h"
#include "Quillo/app/main_window_rules.h"
#include "Quillo/app/roadmap_window.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/chat_views/main_chat.h"
#include "Quillo/config/update_notices.h"
#include "Quillo/settings_panes/settings_view.h"
#include "Quillo/web_chat/main_chat_view.h"
#include "Roadmap/remote_hosts.h"
#include "Roadmap/roadmap_feature_view.h"
#include "platform/appkit/application_menu.h"
#include "platform/foundation/log.h"
#include "platform/ui/app_storage.h"
#include "platform/ui/control_styles.h"
#include "platform/ui/toolbar.h"
#include "settings_store/key.h"
#include "tests/Quillo/app/app_world.h"

namespace apptest {
namespace {

namespace q = ui::testing;
using appkit::StyledWindow;

using MainWindow = AppTest;
using Roadmap = AppTest;

std::shared_ptr<StyledWindow> titled(const std::string& title) {
  using Mask = StyledWindow::StyleMask;
  auto window =
      std::make_shared<StyledWindow>(foundation::Rect(100, 100, 300, 200), Mask::titled | Mask::closable,
                                     StyledWindow::BackingStoreType::buffered, false);
  window->setTitle(title);
  window->orderFront();
  return window;
}

TEST_F(MainWindow, OpensAtLaunchTitledQuilloWithTheWebChatAndItsToolbar) {
  LaunchedApplication launched;
  auto main = windowTitled("Quillo");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(windowsTitled("Quillo"), 1u);
  EXPECT_TRUE(main->isVisible());
  auto content = inspect(main);
  EXPECT_TRUE(content->exists(q::type<Quillo::ContainerView>()));
  EXPECT_TRUE(content->exists(q::type<Quillo::MainChatView>()));
  auto* toolbar = content->find(q::type<Quillo::ContainerView>()).modifier<ui::ToolbarModifier>();
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(toolbar->describe(), "toolbar(automatic, primaryAction, automatic)");
  auto mode = content->find(q::picker("Mode"));
  EXPECT_EQ(mode.primitive<ui::detail::PickerSpec>()->optionTitles,
            (std::vector<std::string>{"Native", "Web"}));
  EXPECT_EQ(mode.environment().get<ui::PickerStyleKey>(), ui::PickerStyle::segmented);
  EXPECT_TRUE(content->exists(symbol("gearshape.fill")));
  EXPECT_FALSE(content->exists(q::button("Update Now")));
}

TEST_F(MainWindow, CommandOneAndTwoAndTheModePickersSwitchBothWindowsAtOnce) {
  LaunchedApplication launched;
  auto main = inspect(windowTitled("Quillo"));
  clickStatusItem();
  auto popover = inspectPopover(*launched.delegate());
  EXPECT_TRUE(main->pressKey("1", ui::EventModifiers::command));
  settle();
  EXPECT_TRUE(main->exists(q::type<Quillo::MainChat>()));
  EXPECT_TRUE(popover->exists(q::type<Quillo::MainChat>()));
  EXPECT_TRUE(popover->pressKey("2", ui::EventModifiers::command));
  settle();
  EXPECT_TRUE(main->exists(q::type<Quillo::MainChatView>()));
  EXPECT_FALSE(popover->exists(q::type<Quillo::MainChat>()));
  main->select(main->find(q::picker("Mode")), "Native");
  settle();
  EXPECT_TRUE(popover->exists(q::type<Quillo::MainChat>()));
  popover->select(popover->find(q::picker("Mode")), "Web");
  settle();
  EXPECT_TRUE(main->exists(q::type<Quillo::MainChatView>()));
  EXPECT_FALSE(Defaults::get(Quillo::Keys::showNative()));
}

TEST_F(MainWindow, MenuBarOnlyMakesTheApplicationAnAccessoryAtOnceAndClosesTheMainWindowHalfASecondLater) {
  Defaults::set(Quillo::Keys::showNormalApp(), false);
  LaunchedApplication launched;
  auto& application = appkit::Application::shared();
  EXPECT_EQ(application.activationPolicy(), appkit::ActivationPolicy::accessory);
  application.sendAction(ui::kShowSettingsWindowAction);
  auto main = windowTitled("Quillo");
  ASSERT_NE(main, nullptr);
  advanceSeconds(0.4);
  EXPECT_TRUE(main->isVisible());
  advanceSeconds(0.1);
  EXPECT_TRUE(main->isClosed());
  EXPECT_EQ(windowTitled("Quillo"), nullptr);
  auto settings = windowTitled("Quillo Settings");
  ASSERT_NE(settings, nullptr);
  EXPECT_TRUE(settings->isVisible());
}

TEST_F(MainWindow, ARegularApplicationKeepsItsMainWindow) {
  LaunchedApplication launched;
  EXPECT_EQ(appkit::Application::shared().activationPolicy(), appkit::ActivationPolicy::regular);
  advanceSeconds(1);
  EXPECT_TRUE(windowTitled("Quillo")->isVisible());
}

TEST_F(MainWindow, FloatOnTopGivesItsLevelToExactlyTheMainAndSettingsWindows) {
  for (bool floatOnTop : {true, false}) {
    SCOPED_TRACE(floatOnTop);
    ui::AppStorage<bool>("floatOnTop", false).set(floatOnTop);
    LaunchedApplication launched;
    appkit::Application::shared().sendAction(ui::kShowSettingsWindowAction);
    std::vector<std::shared_ptr<StyledWindow>> others;
    for (const char* title : {"Quillo Global", "Quillo Sidebar", "Quillo Roadmap", "quillo", "Quillo "}) {
      others.push_back(titled(title));
      others.back()->setLevel(7);
    }
    windowTitled("Quillo")->setLevel(floatOnTop ? 0 : 3);  // the rule sets the level either way
    advanceSeconds(0.5);
    const int expected = floatOnTop ? 3 : 0;
    EXPECT_EQ(windowTitled("Quillo")->level(), expected);
    EXPECT_EQ(windowTitled("Quillo Settings")->level(), expected);
    for (const auto& other : others) EXPECT_EQ(other->level(), 7) << other->title();
  }
}

TEST_F(MainWindow, EveryTimeAWindowBecomesMainItIsPrinted) {
  foundation::LogCapture log;
  LaunchedApplication launched;
  appkit::Application::shared().sendAction(ui::kShowSettingsWindowAction);
  windowTitled("Quillo")->makeKeyAndOrderFront();
  std::size_t printed = 0;
  for (const auto& line : log.lines()) printed += line == "window became main";
  EXPECT_EQ(printed, 3u);  // the sidebar window at start-up, the settings window, then the main window again
}

TEST_F(MainWindow, ReopenBringsOnlyTheMainWindowForwardOrSaysThatNoneIsVisible) {
  LaunchedApplication launched;
  auto main = windowTitled("Quillo");
  auto other = titled("Quillo Roadmap");
  other->makeKeyAndOrderFront();
  auto& application = appkit::Application::shared();
  auto& delegate = *launched.delegate();
  EXPECT_TRUE(delegate.applicationShouldHandleReopen(application, true));
  EXPECT_TRUE(main->isKeyWindow());

  foundation::LogCapture log;
  main->close();
  other->close();
  EXPECT_TRUE(delegate.applicationShouldHandleReopen(application, false));
  EXPECT_EQ(log.lines(), std::vector<std::string>{"has no visible windows"});
  EXPECT_EQ(windowTitled("Quillo"), nullptr);
  // The application's own handling then opens a new main window.
  application.reopen();
  ASSERT_NE(windowTitled("Quillo"), nullptr);
  EXPECT_TRUE(windowTitled("Quillo")->isVisible());
}

TEST_F(MainWindow, TheSettingsButtonOpensTheSettingsWindowWithTheState) {
  LaunchedApplication launched;
  inspect(windowTitled("Quillo"))->tap(symbol("gearshape.fill"));
  auto settings = windowTitled("Quillo Settings");
  ASSERT_NE(settings, nullptr);
  auto view = inspect(settings)->find(q::type<Quillo::SettingsView>());
  EXPECT_EQ(view.environment().object<Quillo::AppState>(), launched.delegate()->state);
  inspect(windowTitled("Quillo"))->tap(symbol("gearshape.fill"));
  EXPECT_EQ(windowsTitled("Quillo Settings"), 1u);
}

TEST_F(MainWindow, CheckForUpdatesIsDisabledWhileNoCheckIsPossible) {
  LaunchedApplication launched;
  auto item = appkit::mainMenu()->itemWithTitle("Check for Updates…");
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(item->isEnabled());  // the application's updater starts with it
  EXPECT_TRUE(item->performAction());
  ASSERT_EQ(desktop.openedURLs().size(), 1u);
  EXPECT_EQ(desktop.openedURLs()[0].absoluteString(), "https://quillo.app/download");

  // An updater that has not started yet cannot check: the command is greyed out until it can.
  updater::StandardUpdaterController idle(false, desktop.openedURLs()[0]);
  ui::ApplicationScenes scenes(
      {ui::WindowGroup([] {
         return ui::EmptyView();
       }).commands({ui::CommandGroup{ui::CommandGroupPlacement::appInfo, [&] {
                                       return ui::AnyView(Quillo::CheckForUpdatesView(
                                           std::make_shared<Quillo::CheckForUpdatesViewModel>(idle.updater()),
                                           idle.updater()));
                                     }}})});
  scenes.install();
  EXPECT_FALSE(appkit::mainMenu()->itemWithTitle("Check for Updates…")->isEnabled());
  EXPECT_FALSE(appkit::mainMenu()->itemWithTitle("Check for Updates…")->performAction());
  idle.startUpdater();
  settle();
  EXPECT_TRUE(appkit::mainMenu()->itemWithTitle("Check for Updates…")->isEnabled());
}

TEST_F(Roadmap, TheMenuCommandOpensANewWindowListingTheFeedsFeaturesEachTime) {
  LaunchedApplication launched;
  auto item = appkit::mainMenu()->itemWithTitle("Roadmap...");
  ASSERT_NE(item, nullptr);
  item->performAction();
  item->performAction();
  EXPECT_EQ(windowsTitled("Quillo Roadmap"), 2u);
  auto window = windowTitled("Quillo Roadmap");
  EXPECT_EQ(window->frame().size, (foundation::Size{600, 600}));
  auto roadmap = inspect(window);
  ASSERT_TRUE(runUntil([&] {
    roadmap->settle();
    return roadmap->findAll(q::type<::Roadmap::RoadmapFeatureView>()).size() == 2;
  })) << roadmap->dump();
  EXPECT_TRUE(roadmap->exists(q::text("Dark mode")));
  EXPECT_TRUE(roadmap->exists(q::text("Made with Roadmap")));
}

TEST_F(Roadmap, TheApplicationsConfigurationVotesUnderItsIdentifierAndNeitherSearchesNorShuffles) {
  const auto configuration = Quillo::makeRoadmapConfiguration();
  EXPECT_EQ(configuration.roadmapJSONURL().absoluteString(), remoteServices().baseURL() + "/roadmap.json");
  EXPECT_TRUE(configuration.allowVotes());
  EXPECT_FALSE(configuration.allowSearching());
  EXPECT_FALSE(configuration.shuffledOrder());
  const auto& style = configuration.style();
  EXPECT_EQ(style.radius, 10);
  EXPECT_EQ(style.titleFont, ui::Font::headline());
  EXPECT_EQ(style.numberFont, ui::Font::body().monospacedDigit());
  EXPECT_EQ(style.statusFont, ui::Font::caption().bold());
  EXPECT_EQ(style.cellColor, ui::Color::primary().opacity(0.08));
  EXPECT_EQ(style.selectedForegroundColor, ui::Color::white());
  EXPECT_EQ(style.tintColor, ui::Color::accentColor());
  EXPECT_EQ(style.statusTintColor("Finished"), ui::Color::green());
}

TEST_F(Roadmap, StatusColoursIgnoreLetterCase) {
  struct Case {
    const char* status;
    ui::Color color;
  };
  const Case cases[] = {
      {"planned", ui::Color::teal()},
      {"Planned", ui::Color::teal()},
      {"researching", ui::Color::orange()},
      {"IN PROGRESS", ui::Color::purple()},
      {"In Development", ui::Color::purple()},
      {"investigating", ui::Color::red()},
      {"finished", ui::Color::green()},
      {"shipped", ui::Color::primary()},
      {"", ui::Color::primary()},
      {"planned ", ui::Color::primary()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.status);
    EXPECT_EQ(Quillo::roadmapStatusColor(c.status), c.color);
  }
}

}  // namespace
}  // namespace apptest
