// Another GTK program's elements read and written through AT-SPI: the focused element's role in the
// platform's names, its text, its caret and selection in UTF-16 units and its bounds; a password field
// is never read.
#include "platform/desktop/atspi/atspi_accessibility.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/support/live/live_session.h"

namespace {

using desktop::AccessibleElement;
using desktop::AccessibleRange;
using desktop::atspi::AtspiAccessibility;
using testsupport::live::FixtureProgram;
using testsupport::live::waitUntil;

// The text editor fixture with one field focused, and the accessibility service that reads it.
class TextEditor {
 public:
  explicit TextEditor(std::vector<std::string> arguments) : program_(withProgram(std::move(arguments))) {}

  // Waits until the editor shows and its focused field is reachable; false when it is not in time.
  bool waitUntilFocused() {
    if (!program_.waitForOutput("ready")) return false;
    return waitUntil([&] {
      focused_ = accessibility.focusedElementId(program_.pid());
      return focused_.has_value();
    });
  }
  std::optional<AccessibleElement> focusedElement() const {
    return focused_ ? accessibility.element(program_.pid(), *focused_) : std::nullopt;
  }
  int pid() const { return program_.pid(); }
  int focusedId() const { return focused_.value_or(-1); }
  FixtureProgram& program() { return program_; }

  AtspiAccessibility accessibility;

 private:
  static std::vector<std::string> withProgram(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), QUILLO_FIXTURE_TEXT_EDITOR);
    return arguments;
  }
  FixtureProgram program_;
  std::optional<int> focused_;
};

TEST(AtspiAccessibility, IsTrustedWhenTheAccessibilityBusAnswers) {
  QUILLO_REQUIRE_LIVE_SESSION();
  EXPECT_TRUE(AtspiAccessibility().isTrusted());
}

TEST(AtspiAccessibility, ReadsTheFocusedTextViewsRoleTextAndCaretInUtf16Units) {
  QUILLO_REQUIRE_LIVE_SESSION();
  // The caret after the emoji and the space: 8 characters, 9 UTF-16 units.
  TextEditor editor({"--focus", "view", "--text", "héllo 😀 wörld\nline two", "--caret", "8"});
  ASSERT_TRUE(editor.waitUntilFocused()) << editor.program().output();
  const auto element = editor.focusedElement();
  ASSERT_TRUE(element);
  EXPECT_EQ(element->role, "AXTextArea");
  EXPECT_TRUE(element->isText());
  EXPECT_EQ(element->value, "héllo 😀 wörld\nline two");
  EXPECT_EQ(element->selectedTextRange, (AccessibleRange{9, 0}));
  ASSERT_TRUE(element->position && element->size);
  EXPECT_GT(element->size->width, 0);

  const auto firstLine = editor.accessibility.boundsForRange(editor.pid(), editor.focusedId(), {0, 5});
  const auto secondLine = editor.accessibility.boundsForRange(editor.pid(), editor.focusedId(), {16, 4});
  ASSERT_TRUE(firstLine && secondLine);
  EXPECT_GT(firstLine->size.width, 0);
  EXPECT_GT(secondLine->origin.y, firstLine->origin.y);
  // Half an emoji, or beyond the text, is no range.
  EXPECT_FALSE(editor.accessibility.boundsForRange(editor.pid(), editor.focusedId(), {7, 1}));
  EXPECT_FALSE(editor.accessibility.boundsForRange(editor.pid(), editor.focusedId(), {20, 10}));
}

TEST(AtspiAccessibility, SelectsAndWritesTheTextOfAOneLineField) {
  QUILLO_REQUIRE_LIVE_SESSION();
  TextEditor editor({"--focus", "entry", "--text", "日本 😀 ok"});
  ASSERT_TRUE(editor.waitUntilFocused()) << editor.program().output();
  ASSERT_EQ(editor.focusedElement()->role, "AXTextField");

  ASSERT_TRUE(editor.accessibility.setSelectedTextRange(editor.pid(), editor.focusedId(), {3, 2}));
  EXPECT_EQ(editor.focusedElement()->selectedTextRange, (AccessibleRange{3, 2}));
  EXPECT_FALSE(editor.accessibility.setSelectedTextRange(editor.pid(), editor.focusedId(), {4, 1}));

  ASSERT_TRUE(editor.accessibility.setValue(editor.pid(), editor.focusedId(), "é ü"));
  EXPECT_TRUE(editor.program().waitForOutput("text: é ü"));
  EXPECT_EQ(editor.focusedElement()->value, "é ü");
}

TEST(AtspiAccessibility, ReadsFromTwoThreadsAtOnce) {
  QUILLO_REQUIRE_LIVE_SESSION();
  TextEditor editor({"--focus", "view", "--text", "shared"});
  ASSERT_TRUE(editor.waitUntilFocused()) << editor.program().output();
  std::atomic<int> reads{0};
  const auto readRepeatedly = [&] {
    for (int i = 0; i < 20; ++i) {
      if (editor.accessibility.focusedElementId(editor.pid()) == editor.focusedId() &&
          editor.accessibility.element(editor.pid(), editor.focusedId())->value == "shared")
        ++reads;
    }
  };
  std::thread other(readRepeatedly);
  readRepeatedly();
  other.join();
  EXPECT_EQ(reads.load(), 40);
}

TEST(AtspiAccessibility, APasswordFieldIsNeverRead) {
  QUILLO_REQUIRE_LIVE_SESSION();
  TextEditor editor({"--focus", "password", "--text", "hunter2"});
  ASSERT_TRUE(editor.waitUntilFocused()) << editor.program().output();
  const auto element = editor.focusedElement();
  ASSERT_TRUE(element);
  EXPECT_EQ(element->role, "AXSecureTextField");
  EXPECT_FALSE(element->isText());
  EXPECT_FALSE(element->value);
  EXPECT_FALSE(element->selectedTextRange);
  EXPECT_FALSE(editor.accessibility.boundsForRange(editor.pid(), editor.focusedId(), {0, 1}));
  EXPECT_FALSE(editor.accessibility.setValue(editor.pid(), editor.focusedId(), "x"));
  EXPECT_EQ(editor.program().output().find("hunter2"), std::string::npos);
}

TEST(AtspiAccessibility, AProcessThatIsGoneOrHasNoElementsReachesNothing) {
  QUILLO_REQUIRE_LIVE_SESSION();
  AtspiAccessibility accessibility;
  int pid = 0;
  {
    TextEditor editor({"--focus", "view"});
    ASSERT_TRUE(editor.waitUntilFocused());
    pid = editor.pid();
    ASSERT_TRUE(accessibility.element(pid, 0));
  }
  EXPECT_FALSE(accessibility.element(pid, 0));
  EXPECT_FALSE(accessibility.focusedElementId(pid));
  EXPECT_FALSE(accessibility.element(::getpid(), 0));  // this test program shows no elements
}

TEST(AtspiAccessibility, WithoutAnAccessibilityBusIsNotTrustedAndReachesNothing) {
  QUILLO_REQUIRE_LIVE_SESSION();
  // A session without a bus at all: nothing may be started to make one up.
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
  ::setenv("XDG_RUNTIME_DIR", "/nonexistent", 1);
  AtspiAccessibility accessibility;
  EXPECT_FALSE(accessibility.isTrusted());
  EXPECT_FALSE(accessibility.element(::getpid(), 0));
  EXPECT_FALSE(accessibility.setAttribute(::getpid(), 0, "AXManualAccessibility", true));
}

TEST(AtspiAccessibility, SwitchingChromiumAccessibilityOnSetsTheBussSwitch) {
  QUILLO_REQUIRE_LIVE_SESSION();
  AtspiAccessibility accessibility;
  EXPECT_TRUE(accessibility.setAttribute(::getpid(), 0, "AXManualAccessibility", true));
  EXPECT_TRUE(accessibility.setAttribute(::getpid(), 0, "AXEnhancedUserInterface", true));
  EXPECT_FALSE(accessibility.setAttribute(::getpid(), 0, "AXManualAccessibility", false));
  EXPECT_FALSE(accessibility.setAttribute(::getpid(), 0, "AXSomethingElse", true));
}

}  // namespace
