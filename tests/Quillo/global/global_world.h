// What the Global window's tests share: a manual clock, a fresh main queue, a headless desktop with
// speech recognition and the microphone allowed, a fresh application object and hot-key registry, and
// one temporary standard settings suite pointed at a scripted chat service on 127.0.0.1 (through the
// custom-endpoint settings, as a user would set them). The remote configuration the delegate fetches at
// launch comes from the same server.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "KeyboardShortcuts/name.h"
#include "KeyboardShortcuts/shortcut.h"
#include "Quillo/app/status_bar_delegate.h"
#include "Quillo/global/spotlight_window_controller.h"
#include "platform/desktop/headless_desktop.h"
#include "platform/foundation/log.h"
#include "platform/ui/inspector.h"
#include "tests/support/loopback_server.h"
#include "tests/support/manual_time_test.h"

namespace globaltest {

inline constexpr const char* kAPIKey = "sk-test-0123456789abcdefXYZ";
inline constexpr const char* kChatPath = "/v1/chat/completions";

// The scripted server of the whole program.
testsupport::LoopbackServer& chatService();

// Every streamed reply from now on: one chunk per piece, then the end marker.
void replyWith(const std::vector<std::string>& pieces);
// Every reply from now on is a failure with this status and the service's error message.
void failWith(int status, const std::string& message);
// The next reply goes out piece by piece as the returned gate releases them (the end marker is the
// last piece).
std::shared_ptr<testsupport::PieceGate> replyGated(const std::vector<std::string>& pieces);
// The prompt of a request to the chat service (the text of its last message).
std::string promptOf(const testsupport::RecordedRequest& request);

class GlobalTest : public testsupport::ManualTimeTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Launches the application delegate (as the entry does once launching finishes) and returns it.
  std::shared_ptr<Quillo::StatusBarDelegate> launch();
  // Stores a shortcut for a name and presses and releases it, then runs the main queue.
  void pressHotKey(const KeyboardShortcuts::Name& name);
  // Runs the main queue until idle.
  void settle() { loop.runUntilIdle(); }
  void advanceSeconds(double seconds) { advance(foundation::durationFromSeconds(seconds)); }
  // Runs the main queue (also work other threads post) until `isDone` holds; false on time-out.
  bool runUntil(const std::function<bool()>& isDone) { return loop.runUntil(isDone); }

  // The views of a Global window's controller.
  static std::unique_ptr<ui::testing::Inspector> inspect(const Quillo::SpotlightWindowController& controller);
  static std::unique_ptr<ui::testing::Inspector> inspect(const std::shared_ptr<appkit::WindowController>& controller);
  // Escape pressed while the window is key (it goes to the key window's focused view).
  static void pressEscape();
  // How many of the application's windows carry this title.
  static std::size_t windowsTitled(const std::string& title);

  desktop::HeadlessDesktop desktop;
  desktop::HeadlessDesktop::Scope desktopScope{desktop};
  foundation::LogCapture log;
};

}  // namespace globaltest
