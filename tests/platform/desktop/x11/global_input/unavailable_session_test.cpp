// Where the live X services cannot work they say why, once, as an error the desktop's composer shows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/desktop/x11/global_input/x11_applications.h"
#include "platform/desktop/x11/global_input/x11_hot_keys.h"
#include "platform/desktop/x11/global_input/x11_input_events.h"
#include "platform/desktop/x11/global_input/xtest_typing.h"
#include "platform/foundation/text_error.h"

namespace {

template <typename Service>
std::string whyUnavailable() {
  try {
    Service service;
  } catch (const foundation::TextError& error) {
    return error.text();
  }
  return "";
}

TEST(UnavailableSession, AWaylandSessionHasNoGlobalHotKeysMonitorsOrTyping) {
  ::setenv("WAYLAND_DISPLAY", "wayland-0", 1);
  const std::string expected =
      "global hot keys, event monitors and typing into other applications are not available in a Wayland "
      "session";
  EXPECT_EQ(whyUnavailable<desktop::x11::X11HotKeys>(), expected);
  EXPECT_EQ(whyUnavailable<desktop::x11::X11InputEvents>(), expected);
  EXPECT_EQ(whyUnavailable<desktop::x11::XTestTyping>(), expected);
  EXPECT_EQ(whyUnavailable<desktop::x11::X11Applications>(), expected);
  ::unsetenv("WAYLAND_DISPLAY");
}

TEST(UnavailableSession, WithoutADisplayTheServicesSaySo) {
  ::unsetenv("WAYLAND_DISPLAY");
  ::unsetenv("DISPLAY");
  EXPECT_EQ(whyUnavailable<desktop::x11::X11HotKeys>(), "there is no X display (DISPLAY is not set)");
  ::setenv("DISPLAY", ":9999", 1);
  EXPECT_EQ(whyUnavailable<desktop::x11::XTestTyping>(), "the X display :9999 cannot be opened");
}

}  // namespace
