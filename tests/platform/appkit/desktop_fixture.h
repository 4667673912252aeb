// What the application-kit tests share: a headless desktop installed as the current one, a manual clock,
// a fresh main queue, and a fresh application object, for each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/appkit/application.h"
#include "platform/appkit/styled_window.h"
#include "platform/desktop/headless_desktop.h"
#include "tests/support/manual_time_test.h"

namespace appkittest {

class DesktopTest : public testsupport::ManualTimeTest {
 protected:
  void TearDown() override {
    appkit::Application::shared().resetForTesting();
    loop.runUntilIdle();
  }

  // A titled window of that size at the origin, not shown.
  static std::shared_ptr<appkit::StyledWindow> titledWindow(std::string title,
                                                            foundation::Rect frame = {0, 0, 400, 300}) {
    using Mask = appkit::StyledWindow::StyleMask;
    auto window = std::make_shared<appkit::StyledWindow>(
        frame, Mask::titled | Mask::closable, appkit::StyledWindow::BackingStoreType::buffered, false);
    window->setTitle(std::move(title));
    return window;
  }

  desktop::HeadlessDesktop desktop;
  desktop::HeadlessDesktop::Scope desktopScope{desktop};
};

}  // namespace appkittest
