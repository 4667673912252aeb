// The whole application, started through its entry on the headless desktop and used as a person would:
// the popover opened from the status item, a prompt answered by the chat service, the settings and the
// roadmap windows opened, and Command-Q in the popover quitting with the conversation kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "Quillo/app/corvane.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/settings_panes/settings_view.h"
#include "Roadmap/roadmap_feature_view.h"
#include "platform/appkit/application_menu.h"
#include "platform/foundation/log.h"
#include "platform/foundation/user_defaults.h"
#include "settings_store/key.h"
#include "tests/Quillo/app/app_world.h"

namespace apptest {
namespace {

namespace q = ui::testing;

std::string fileContents(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

// Quits the application when the script ends, however it ends, so the entry always returns.
struct QuitWhenDone {
  ~QuitWhenDone() {
    if (!appkit::Application::shared().isTerminating()) appkit::Application::shared().terminate();
  }
};

using TheApplication = AppTest;

TEST_F(TheApplication, RunsFromLaunchToQuitAsAPersonUsesIt) {
  foundation::LogCapture log;
  replyWith({"Hello", " from", " the service"});
  bool scriptFinished = false;
  // The script runs inside the application's main loop, as its first item after launching.
  loop.async([&] {
    QuitWhenDone quit;
    auto delegate = Quillo::StatusBarDelegate::shared();
    ASSERT_NE(delegate, nullptr);
    ASSERT_NE(windowTitled("Quillo"), nullptr);

    clickStatusItem();
    ASSERT_TRUE(delegate->popover->isShown());
    auto popover = inspectPopover(*delegate);
    popover->select(popover->find(q::picker("Mode")), "Native");
    EXPECT_TRUE(Defaults::get(Quillo::Keys::showNative()));

    popover->type(popover->find(q::textField("")), "Say hello");
    popover->tap(q::button("Send"));
    ASSERT_TRUE(runUntil([&] {
      popover->settle();
      return popover->exists(q::text("Hello from the service")) && popover->exists(q::button("Send"));
    })) << popover->dump();

    popover->tap(symbol("gearshape.fill"));
    auto settings = windowTitled("Quillo Settings");
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(inspect(settings)->exists(q::type<Quillo::SettingsView>()));

    auto roadmapItem = appkit::mainMenu()->itemWithTitle("Roadmap...");
    ASSERT_NE(roadmapItem, nullptr);
    EXPECT_TRUE(roadmapItem->performAction());
    auto roadmap = inspect(windowTitled("Quillo Roadmap"));
    ASSERT_TRUE(runUntil([&] {
      roadmap->settle();
      return roadmap->findAll(q::type<Roadmap::RoadmapFeatureView>()).size() == 2;
    })) << roadmap->dump();
    EXPECT_TRUE(roadmap->exists(q::text("Dark mode")));
    EXPECT_TRUE(roadmap->exists(q::text("Export to PDF")));

    EXPECT_TRUE(popover->pressKey("q", ui::EventModifiers::command));
    EXPECT_TRUE(appkit::Application::shared().isTerminating());
    scriptFinished = true;
  });
  const int exitCode = Quillo::applicationMain();
  EXPECT_TRUE(scriptFinished);
  EXPECT_EQ(exitCode, 0);

  // The reply arrived less than half a second before quitting; it is on disk all the same.
  const auto stored = fileContents(foundation::UserDefaults::standard()->filePath());
  EXPECT_NE(stored.find("Say hello"), std::string::npos);
  EXPECT_NE(stored.find("Hello from the service"), std::string::npos);
  // The API key is a secret: no diagnostic line shows it.
  for (const auto& line : log.lines()) EXPECT_EQ(line.find(kAPIKey), std::string::npos) << line;
  EXPECT_TRUE(log.contains("window became main"));
}

TEST_F(TheApplication, QuittingRightAfterAChangeToTheConversationKeepsTheChange) {
  LaunchedApplication launched;
  auto state = launched.delegate()->state;
  auto conversation = state->mainConversations.get();
  conversation.messages.push_back(Quillo::Message(Quillo::Role::user, "Remember me"));
  state->mainConversations.set(conversation);
  advanceSeconds(0.2);
  appkit::Application::shared().terminate();
  const auto stored = Defaults::get(Quillo::Keys::mainConversations());
  ASSERT_EQ(stored.messages.size(), 1u);
  EXPECT_EQ(stored.messages[0].content, "Remember me");
}

}  // namespace
}  // namespace apptest
