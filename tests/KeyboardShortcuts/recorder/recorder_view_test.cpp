// The recorder as a view: hosted in a window, its control is a recorder for the view's name, labelled
// or not, and later evaluations point the same control at the current name.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "KeyboardShortcuts/recorder/recorder.h"
#include "KeyboardShortcuts/registry.h"
#include "platform/appkit/responder.h"
#include "platform/foundation/user_defaults.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace {

using KeyboardShortcuts::Name;
using KeyboardShortcuts::Recorder;
using KeyboardShortcuts::RecorderCocoa;
using KeyboardShortcuts::Shortcut;
using ui::testing::WindowHost;

class RecorderView : public ::testing::Test {
 protected:
  RecorderView() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillo-recorder-view-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    folder_ = pattern;
    foundation::UserDefaults::setStandard(foundation::UserDefaults::suite("standard", folder_));
    KeyboardShortcuts::detail::resetRegistryForTesting();
  }
  ~RecorderView() override {
    KeyboardShortcuts::detail::resetRegistryForTesting();
    foundation::UserDefaults::setStandard(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  static std::shared_ptr<RecorderCocoa> control(WindowHost& host) {
    return std::dynamic_pointer_cast<RecorderCocoa>(
        host.platformView(host.find(ui::testing::type("RecorderRepresentable"))));
  }

  std::filesystem::path folder_;
};

TEST_F(RecorderView, WithoutALabelIsTheControlForTheName) {
  WindowHost host(Recorder(Name("openChat")));
  KeyboardShortcuts::storeShortcut(Shortcut(49, 0x1800), Name("openChat"));
  host.settle();
  auto recorder = control(host);
  ASSERT_NE(recorder, nullptr);
  EXPECT_EQ(recorder->shortcutName().rawValue, "openChat");
  EXPECT_EQ(recorder->stringValue(), "⌃⌥⎵");
  EXPECT_FALSE(host.exists(ui::testing::type("LabeledContent")));
  EXPECT_EQ(host.frame(ui::testing::type("RecorderRepresentable"), ui::testing::CoordinateSpace::local),
            ui::Rect({0, 0}, {130, 22}));
  EXPECT_EQ(recorder->frame().size, (foundation::Size{130, 22}));
  // Hosted in a window, it joins the key-view loop and records once focused.
  EXPECT_TRUE(recorder->canBecomeKeyView());
  EXPECT_TRUE(appkit::makeFirstResponder(host.window(), recorder));
  EXPECT_TRUE(KeyboardShortcuts::isPaused());
}

TEST_F(RecorderView, WithATitleIsLabelledContent) {
  WindowHost host(Recorder("Open Chat:", Name("openChat")));
  auto labelled = host.find(ui::testing::type("LabeledContent"));
  EXPECT_EQ(labelled.children().size(), 2u);
  EXPECT_TRUE(labelled.exists(ui::testing::text("Open Chat:")));
  EXPECT_TRUE(labelled.exists(ui::testing::type("RecorderRepresentable")));
  EXPECT_NE(control(host), nullptr);
}

TEST_F(RecorderView, WithALabelViewIsLabelledContent) {
  WindowHost host(
      Recorder(Name("openChat"), {}, [] { return ui::AnyView(ui::Text::verbatim("Sidebar shortcut")); }));
  auto labelled = host.find(ui::testing::type("LabeledContent"));
  EXPECT_TRUE(labelled.exists(ui::testing::text("Sidebar shortcut")));
  EXPECT_NE(control(host), nullptr);
}

TEST_F(RecorderView, ANewNameKeepsTheControlAndItsChangeAction) {
  std::vector<std::string> heard;
  KeyboardShortcuts::storeShortcut(Shortcut(40, 0x300), Name("showSidebar"));
  WindowHost host(Recorder(Name("openChat"), [&](const auto& s) { heard.push_back(s ? "set" : "cleared"); }));
  auto first = control(host);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->stringValue(), "");
  host.setRoot(Recorder(Name("showSidebar"), [&](const auto&) { heard.push_back("second action"); }));
  auto second = control(host);
  EXPECT_EQ(second, first);
  EXPECT_EQ(second->shortcutName().rawValue, "showSidebar");
  EXPECT_EQ(second->stringValue(), "⇧⌘K");
  second->cancelButtonCell()->performClick(second.get());
  EXPECT_EQ(heard, std::vector<std::string>{"cleared"});
}

}  // namespace
