// A fresh world for every hot-key test: a headless desktop with its hot-key service, a fresh main queue,
// standard user defaults in a temporary folder, and an empty registry.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "KeyboardShortcuts/registry.h"
#include "platform/desktop/headless_desktop.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"

class HotKeyTest : public ::testing::Test {
 protected:
  HotKeyTest() : desktopScope_(desktop_) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillo-hotkeys-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern;
    defaults_ = foundation::UserDefaults::suite("standard", folder_);
    foundation::UserDefaults::setStandard(defaults_);
    KeyboardShortcuts::detail::resetRegistryForTesting();
  }

  ~HotKeyTest() override {
    mainLoop_.loop().runUntilIdle();
    KeyboardShortcuts::detail::resetRegistryForTesting();
    foundation::UserDefaults::setStandard(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  desktop::HeadlessHotKeys& hotKeys() { return desktop_.hotKeys(); }
  std::size_t runMainQueue() { return mainLoop_.loop().runUntilIdle(); }

  // The system side: presses and releases of a combination; the statuses of the deliveries.
  std::vector<std::int32_t> press(const KeyboardShortcuts::Shortcut& shortcut) {
    return hotKeys().press(static_cast<std::uint32_t>(shortcut.carbonKeyCode),
                           static_cast<std::uint32_t>(shortcut.carbonModifiers));
  }
  std::vector<std::int32_t> release(const KeyboardShortcuts::Shortcut& shortcut) {
    return hotKeys().release(static_cast<std::uint32_t>(shortcut.carbonKeyCode),
                             static_cast<std::uint32_t>(shortcut.carbonModifiers));
  }
  // The ids the system holds for a combination, in registration order.
  std::vector<std::uint32_t> registeredIds(const KeyboardShortcuts::Shortcut& shortcut) const {
    std::vector<std::uint32_t> ids;
    for (const auto& registration : desktop_.hotKeys().registrations()) {
      if (registration.keyCode == shortcut.carbonKeyCode &&
          registration.modifiers == shortcut.carbonModifiers) {
        ids.push_back(registration.hotKeyID.id);
      }
    }
    return ids;
  }

  foundation::ScopedMainRunLoop mainLoop_;
  mutable desktop::HeadlessDesktop desktop_;
  desktop::HeadlessDesktop::Scope desktopScope_;
  std::filesystem::path folder_;
  std::shared_ptr<foundation::UserDefaults> defaults_;
};
