// What the application's tests share. The whole program runs against one temporary standard settings
// suite and one scripted server on 127.0.0.1 that stands in for every remote service: the chat service
// (reached through the custom-endpoint settings, as a user would set them), the maker's host with the
// remote configuration and the roadmap feed, and the vote counter. The hosts point at that server for the
// whole program, because the version gate is made once per process.
//
// Each test gets a manual clock, a fresh main queue, a headless desktop and a fresh application object;
// the settings are emptied and the chat settings pointed at the server.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Quillo/app/corvane.h"
#include "platform/appkit/application.h"
#include "platform/appkit/styled_window.h"
#include "platform/desktop/headless_desktop.h"
#include "platform/ui/application_scenes.h"
#include "platform/ui/inspector.h"
#include "tests/support/loopback_server.h"
#include "tests/support/manual_time_test.h"

namespace apptest {

inline constexpr const char* kAPIKey = "sk-test-0123456789abcdefXYZ";
// The roadmap feed the server gives.
inline constexpr const char* kRoadmapFeed =
    R"([{"id": "1", "title": "Dark mode", "status": "Planned"}, {"id": "2", "title": "Export to PDF"}])";

// The scripted server of the whole program.
testsupport::LoopbackServer& remoteServices();

// Removes every stored value of the temporary standard suite.
void emptyStandardSuite();

// A fresh application object and emptied settings, with the chat settings pointed at the server as a user
// would set a custom endpoint.
void freshApplicationPointedAtServices();

// Every streamed reply of the chat service from now on: one chunk per piece, then the end marker.
void replyWith(const std::vector<std::string>& pieces);

// The application, launched as the entry does it (its scenes put into effect, launching finished) but
// without running the main loop: the test runs it.
struct LaunchedApplication {
  LaunchedApplication();
  ~LaunchedApplication();
  Quillo::Corvane app;
  ui::ApplicationScenes scenes;
  const std::shared_ptr<Quillo::StatusBarDelegate>& delegate() const { return app.appDelegate(); }
};

class AppTest : public testsupport::ManualTimeTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the main queue until idle.
  void settle() { loop.runUntilIdle(); }
  // Advances the clock by seconds, running what falls due.
  void advanceSeconds(double seconds);
  // Runs the main queue (also work other threads post) until `isDone` holds; false on time-out.
  bool runUntil(const std::function<bool()>& isDone);

  // The application's first window with this title, or null.
  static std::shared_ptr<appkit::StyledWindow> windowTitled(const std::string& title);
  // How many of the application's windows carry this title.
  static std::size_t windowsTitled(const std::string& title);
  // The views of a window's hosting view; fails the test when the window hosts none.
  static std::unique_ptr<ui::testing::Inspector> inspect(const std::shared_ptr<appkit::StyledWindow>& window);
  // The popover's content views.
  static std::unique_ptr<ui::testing::Inspector> inspectPopover(const Quillo::StatusBarDelegate& delegate);
  // Clicks the application's status item in the menu bar.
  void clickStatusItem();

  desktop::HeadlessDesktop desktop;
  desktop::HeadlessDesktop::Scope desktopScope{desktop};
};

// Views showing a system symbol.
ui::testing::ViewQuery symbol(std::string name);

}  // namespace apptest
