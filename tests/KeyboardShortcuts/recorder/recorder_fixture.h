// A fresh world for every recorder test: a headless desktop, a fresh main queue, standard user defaults
// in a temporary folder, an empty registry, no main menu, and a window holding one recorder for the name
// "openChat".
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "KeyboardShortcuts/recorder/recorder_cocoa.h"
#include "KeyboardShortcuts/registry.h"
#include "platform/appkit/application_menu.h"
#include "platform/appkit/event.h"
#include "platform/appkit/event_monitor.h"
#include "platform/appkit/responder.h"
#include "platform/appkit/window.h"
#include "platform/desktop/headless_desktop.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"

namespace recorder_test {

// Key codes used by the tests (the platform's numbers).
inline constexpr std::uint16_t kKeyA = 0;
inline constexpr std::uint16_t kKeyK = 40;
inline constexpr std::uint16_t kKeyQ = 12;
inline constexpr std::uint16_t kReturn = 36;
inline constexpr std::uint16_t kTab = 48;
inline constexpr std::uint16_t kSpace = 49;
inline constexpr std::uint16_t kDelete = 51;
inline constexpr std::uint16_t kEscape = 53;
inline constexpr std::uint16_t kF5 = 96;
inline constexpr std::uint16_t kF12 = 111;
inline constexpr std::uint16_t kForwardDelete = 117;

inline constexpr appkit::ModifierFlags kNone{};
inline constexpr appkit::ModifierFlags kShift = appkit::ModifierFlags::shift;
inline constexpr appkit::ModifierFlags kCommand = appkit::ModifierFlags::command;
inline constexpr appkit::ModifierFlags kCommandShift = kCommand | kShift;
inline constexpr appkit::ModifierFlags kControlOption =
    appkit::ModifierFlags::control | appkit::ModifierFlags::option;

inline appkit::Event keyDown(std::uint16_t keyCode, appkit::ModifierFlags flags, std::string characters) {
  return appkit::Event::keyEvent(appkit::EventType::keyDown, keyCode, flags, std::move(characters));
}
inline appkit::Event functionKeyDown(int number, std::uint16_t keyCode, appkit::ModifierFlags flags = {}) {
  return keyDown(keyCode, flags | appkit::ModifierFlags::function,
                 appkit::SpecialKey::functionKey(number).characters());
}

class RecorderTest : public ::testing::Test {
 protected:
  RecorderTest() : desktopScope_(desktop_) {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillo-recorder-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern;
    defaults_ = foundation::UserDefaults::suite("standard", folder_);
    foundation::UserDefaults::setStandard(defaults_);
    KeyboardShortcuts::detail::resetRegistryForTesting();
    appkit::setMainMenu(nullptr);

    window_ = std::make_shared<appkit::Window>(foundation::Rect(0, 0, 400, 200));
    window_->setTitle("Quillo Settings");
    window_->setContentView(std::make_shared<appkit::View>());
  }

  ~RecorderTest() override {
    recorder_.reset();
    window_.reset();
    mainLoop_.loop().runUntilIdle();
    appkit::setMainMenu(nullptr);
    KeyboardShortcuts::detail::resetRegistryForTesting();
    foundation::UserDefaults::setStandard(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // Makes the recorder for the name and puts it into the window at (100, 50), 130 x 22.
  void makeRecorder(const KeyboardShortcuts::Name& name = KeyboardShortcuts::Name("openChat")) {
    recorder_ = KeyboardShortcuts::RecorderCocoa::make(name, [this](const auto& shortcut) {
      changes_.push_back(shortcut ? shortcut->description() : std::string("none"));
    });
    recorder_->setFrame(foundation::Rect(100, 50, 130, 22));
    window_->contentView()->addSubview(recorder_);
    recorder_->noteWindowChange();
  }

  // Gives the recorder keyboard focus, as a click or Tab does.
  bool startRecording() { return appkit::makeFirstResponder(*window_, recorder_); }
  bool isFirstResponder() const { return appkit::firstResponder(*window_) == recorder_; }

  // The application received the event: what its local monitors pass on (nothing: swallowed).
  std::optional<appkit::Event> send(const appkit::Event& event) { return appkit::handleLocalEvent(event); }

  std::optional<foundation::PlistValue> stored(const std::string& name = "openChat") const {
    return defaults_->objectForKey("KeyboardShortcuts_" + name);
  }

  foundation::ScopedMainRunLoop mainLoop_;
  desktop::HeadlessDesktop desktop_;
  desktop::HeadlessDesktop::Scope desktopScope_;
  std::filesystem::path folder_;
  std::shared_ptr<foundation::UserDefaults> defaults_;
  std::shared_ptr<appkit::Window> window_;
  std::shared_ptr<KeyboardShortcuts::RecorderCocoa> recorder_;
  std::vector<std::string> changes_;  // what the change action was told, as descriptions
};

}  // namespace recorder_test
