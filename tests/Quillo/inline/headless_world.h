// A deterministic world for the Inline assistant's tests: a headless desktop with accessibility granted,
// a fresh main queue, a manual clock and captured diagnostics.
#pragma once

#include <memory>
#include <string>

#include "platform/desktop/headless_desktop.h"
#include "platform/foundation/clock.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace inline_test {

struct HeadlessWorld {
  HeadlessWorld() { desktop.setPermissionGranted("accessibility", true); }

  desktop::HeadlessAccessibility& accessibility() { return desktop.accessibility(); }

  // Launches an application with a focused element and returns the application's process identifier.
  int launchWithFocused(const std::string& bundleIdentifier, desktop::AccessibleElement element,
                        int* elementId = nullptr) {
    const int pid = desktop.launchApplication(bundleIdentifier, "App").processIdentifier;
    const int id = accessibility().addFocusedElement(pid, std::move(element));
    if (elementId != nullptr) *elementId = id;
    return pid;
  }

  desktop::HeadlessDesktop desktop;
  desktop::HeadlessDesktop::Scope desktopScope{desktop};
  foundation::ScopedMainRunLoop mainLoop;
  std::shared_ptr<foundation::ManualClock> clock = std::make_shared<foundation::ManualClock>();
  foundation::ScopedClock clockScope{clock};
  foundation::LogCapture log;
};

}  // namespace inline_test
