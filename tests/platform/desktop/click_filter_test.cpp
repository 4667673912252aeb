// A window that lets some presses through: the window server gives them to the window beneath.
#include <gtest/gtest.h>

#include <vector>

#include "platform/desktop/headless_window_server.h"

namespace {

using desktop::HeadlessWindowServer;
using desktop::WindowServerEvent;
using foundation::Rect;

TEST(ClickFilter, PressesTheFilterRefusesGoToTheWindowBeneath) {
  HeadlessWindowServer server;
  std::vector<WindowServerEvent::Kind> front, back;
  const auto beneath = server.createWindow([&](const WindowServerEvent& event) {
    if (event.kind != WindowServerEvent::Kind::visibilityChanged) back.push_back(event.kind);
  });
  const auto overlay = server.createWindow([&](const WindowServerEvent& event) {
    if (event.kind != WindowServerEvent::Kind::visibilityChanged) front.push_back(event.kind);
  });
  server.setFrame(beneath, Rect(0, 0, 800, 600));
  server.setFrame(overlay, Rect(0, 0, 800, 600));
  server.setLevel(overlay, 1000);
  server.orderFront(beneath);
  server.orderFront(overlay);
  // The overlay takes presses only in its right-hand strip.
  server.setClickFilter(overlay, [](foundation::Point location) { return location.x >= 700; });

  server.click({100, 100});
  EXPECT_EQ(server.windowAt({100, 100})->number, beneath);
  server.click({750, 100});
  EXPECT_EQ(server.windowAt({750, 100})->number, overlay);
  using Kind = WindowServerEvent::Kind;
  EXPECT_EQ(front, (std::vector<Kind>{Kind::mouseDownOutside, Kind::mouseDownInside}));
  EXPECT_EQ(back, (std::vector<Kind>{Kind::mouseDownInside, Kind::mouseDownOutside}));

  // Without a filter every press on the frame is the window's again.
  server.setClickFilter(overlay, nullptr);
  EXPECT_EQ(server.windowAt({100, 100})->number, overlay);
}

TEST(ClickFilter, APressNoWindowTakesIsOutsideThemAll) {
  HeadlessWindowServer server;
  std::vector<WindowServerEvent::Kind> kinds;
  const auto overlay = server.createWindow([&](const WindowServerEvent& event) {
    if (event.kind != WindowServerEvent::Kind::visibilityChanged) kinds.push_back(event.kind);
  });
  server.setFrame(overlay, Rect(0, 0, 800, 600));
  server.orderFront(overlay);
  server.setClickFilter(overlay, [](foundation::Point) { return false; });
  server.click({10, 10});
  EXPECT_FALSE(server.windowAt({10, 10}).has_value());
  EXPECT_EQ(kinds, std::vector<WindowServerEvent::Kind>{WindowServerEvent::Kind::mouseDownOutside});
}

}  // namespace
