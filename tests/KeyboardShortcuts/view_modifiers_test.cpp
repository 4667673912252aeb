// Views that follow a name's hot key while they are shown.
#include "KeyboardShortcuts/view_modifiers.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "KeyboardShortcuts/registry.h"
#include "platform/foundation/user_defaults.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace {

using KeyboardShortcuts::EventType;
using KeyboardShortcuts::Name;
using KeyboardShortcuts::Shortcut;

const Shortcut kCommandShiftK(40, 0x300);

// The host brings its own desktop and main queue; this fixture gives the settings and the registry.
class ViewModifiers : public ::testing::Test {
 protected:
  ViewModifiers() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillo-hotkey-views-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern;
    foundation::UserDefaults::setStandard(foundation::UserDefaults::suite("standard", folder_));
    KeyboardShortcuts::detail::resetRegistryForTesting();
  }
  ~ViewModifiers() override {
    KeyboardShortcuts::detail::resetRegistryForTesting();
    foundation::UserDefaults::setStandard(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // Presses and releases the combination once the view's stream is listening, and waits for the actions.
  void pressAndRelease(ui::testing::Host& host) {
    host.desktop().hotKeys().press(40, 0x300);
    host.desktop().hotKeys().release(40, 0x300);
  }
  static bool isListening(const Name& name) {
    return KeyboardShortcuts::streamHandlerCount(EventType::keyDown, name) == 1;
  }

  std::filesystem::path folder_;
  const Name name_{"openChat"};
};

// Actions run on the main thread; the vector is read there too.
struct Seen {
  std::vector<EventType> events;
};

TEST_F(ViewModifiers, RunTheActionForEveryEventWhileShown) {
  auto seen = std::make_shared<Seen>();
  ui::testing::Host host(KeyboardShortcuts::onKeyboardShortcut(
      ui::Text::verbatim("Chat"), name_, [seen](EventType type) { seen->events.push_back(type); }));
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name_);
  ASSERT_TRUE(host.runUntil([&] { return isListening(name_); }));
  pressAndRelease(host);
  ASSERT_TRUE(host.runUntil([&] { return seen->events.size() == 2; }));
  EXPECT_EQ(seen->events, (std::vector<EventType>{EventType::keyDown, EventType::keyUp}));

  host.hide();
  ASSERT_TRUE(
      host.runUntil([&] { return KeyboardShortcuts::streamHandlerCount(EventType::keyUp, name_) == 0; }));
  EXPECT_TRUE(KeyboardShortcuts::registeredShortcuts().empty());
  EXPECT_TRUE(host.desktop().hotKeys().press(40, 0x300).empty());
  host.settle();
  EXPECT_EQ(seen->events.size(), 2u);

  host.show();
  ASSERT_TRUE(host.runUntil([&] { return isListening(name_); }));
  pressAndRelease(host);
  ASSERT_TRUE(host.runUntil([&] { return seen->events.size() == 4; }));
}

TEST_F(ViewModifiers, TheTypedVariantRunsForItsTypeOnly) {
  auto releases = std::make_shared<int>(0);
  ui::testing::Host host(KeyboardShortcuts::onKeyboardShortcut(
      ui::Text::verbatim("Chat"), name_, EventType::keyUp, [releases] { ++*releases; }));
  KeyboardShortcuts::storeShortcut(kCommandShiftK, name_);
  ASSERT_TRUE(host.runUntil([&] { return isListening(name_); }));
  pressAndRelease(host);
  pressAndRelease(host);
  ASSERT_TRUE(host.runUntil([&] { return *releases == 2; }));
  host.settle();
  EXPECT_EQ(*releases, 2);
}

}  // namespace
