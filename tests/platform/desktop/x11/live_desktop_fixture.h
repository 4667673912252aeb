// The live X11 desktop opened on the test's private display, and turning its loop until something shows.
#pragma once

#include <gtk/gtk.h>

#include <chrono>
#include <functional>
#include <memory>

#include "platform/desktop/desktop_choice.h"
#include "platform/desktop/x11/gtk_window.h"
#include "platform/desktop/x11/x11_desktop.h"
#include "platform/foundation/run_loop.h"
#include "tests/support/live/live_session.h"

namespace testsupport::live {

// Serves the display's events and the main queue's due work until `condition` holds; false when it did
// not within the deadline.
inline bool serveUntil(const std::function<bool()>& condition,
                       std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  return waitUntil(
      [&] {
        while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
        foundation::RunLoop::main().runUntilIdle();
        return condition();
      },
      timeout);
}

// The person, through the X server (XTest): moves the pointer to a point of the display (pixels from its
// top-left corner), clicks there with the first button, presses and releases a key (an X key symbol),
// optionally with Shift or Ctrl held.
void movePointerTo(int x, int y);
void clickAt(int x, int y);
enum class HeldKey { none, shift, control };
void pressKey(unsigned long keySymbol, HeldKey held = HeldKey::none);

// Clicks a tray icon as a person would, until `clicked` holds: the tray may still be placing itself when the
// icon is embedded, so this waits until the icon's place has held still for a few polls, and clicks again
// where the icon now is should a busy machine have moved it under the click (at most three clicks). The
// number of clicks made goes to `clicks` when given; false when `clicked` never held.
bool clickTrayIconUntil(GtkStatusIcon* icon, const std::function<bool()>& clicked, int* clicks = nullptr);

// The top-left corner of a shown window's content on the display.
foundation::Point contentOrigin(const desktop::x11::GtkWindowPresenter& shown);
// Draws a shown window again and waits until the drawing has reached the X server.
bool drawAgainAndWait(desktop::x11::GtkWindowPresenter& shown);
// The pixels of a shown window on the screen more than a few colour levels away from the renderer's
// offscreen image of its window. Soft edges (shadows, anti-aliasing) come out a few levels apart on the
// X server's 24-bit surface; anything drawn in the wrong place or colour differs by far more.
int differingPixels(const desktop::x11::GtkWindowPresenter& shown);

class LiveDesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QUILLO_REQUIRE_LIVE_SESSION();
    live = desktop::x11::X11Desktop::open(desktop::processEnvironment());
    scope = std::make_unique<desktop::Desktop::Scope>(*live);
  }
  void TearDown() override {
    scope.reset();
    live.reset();
  }

  foundation::ScopedMainRunLoop mainLoop;
  std::unique_ptr<desktop::x11::X11Desktop> live;
  std::unique_ptr<desktop::Desktop::Scope> scope;
};

}  // namespace testsupport::live
