// Typing into another application with XTest: what arrives in a GTK program's text view, read back
// through AT-SPI, is exactly the text sent, non-ASCII characters the layout lacks included, with line
// breaks as Shift-Return; nothing is typed into a process whose window is not the focused one.
#include "platform/desktop/x11/global_input/xtest_typing.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/desktop/atspi/atspi_accessibility.h"
#include "tests/support/live/live_session.h"
#include "tests/support/live/x_person.h"

// Xlib's macros (None, Bool, Status) clash with GoogleTest's names: it comes last.
#include <X11/Xlib.h>

namespace {

using desktop::InputEvent;
using testsupport::live::FixtureProgram;
using testsupport::live::waitUntil;

constexpr std::uint16_t kReturnKey = 36;
constexpr std::uint64_t kShiftFlag = 0x20000;

// Presses and releases as the Inline engine's answer typer does: one key event pair carrying the text.
void type(desktop::SyntheticInputService& typing, int pid, const std::string& text) {
  ASSERT_TRUE(typing.postKeyboardEvent(pid, InputEvent::key("keyDown", 0, 0, text)));
  ASSERT_TRUE(typing.postKeyboardEvent(pid, InputEvent::key("keyUp", 0, 0, text)));
}

void pressShiftReturn(desktop::SyntheticInputService& typing, int pid) {
  ASSERT_TRUE(typing.postKeyboardEvent(pid, InputEvent::key("keyDown", kReturnKey, kShiftFlag)));
  ASSERT_TRUE(typing.postKeyboardEvent(pid, InputEvent::key("keyUp", kReturnKey, kShiftFlag)));
}

TEST(XTestTyping, WhatIsTypedIntoAGtkTextViewReadsBackThroughAccessibility) {
  QUILLO_REQUIRE_LIVE_SESSION();
  FixtureProgram editor({QUILLO_FIXTURE_TEXT_EDITOR, "--focus", "view"});
  ASSERT_TRUE(editor.waitForOutput("ready")) << editor.output();
  desktop::atspi::AtspiAccessibility accessibility;
  std::optional<int> focused;
  ASSERT_TRUE(
      waitUntil([&] { return (focused = accessibility.focusedElementId(editor.pid())).has_value(); }));

  desktop::x11::XTestTyping typing;
  type(typing, editor.pid(), "+gpt what is 2+2?");
  pressShiftReturn(typing, editor.pid());
  type(typing, editor.pid(), "Four: é, ü, 日本 😀\nÉnd ~!@#$%^&*()_{}|:\"<>?");

  const std::string expected = "+gpt what is 2+2?\nFour: é, ü, 日本 😀\nÉnd ~!@#$%^&*()_{}|:\"<>?";
  EXPECT_TRUE(waitUntil([&] { return accessibility.element(editor.pid(), *focused)->value == expected; }))
      << accessibility.element(editor.pid(), *focused)->value.value_or("") << "\n"
      << editor.output();
}

TEST(XTestTyping, TypesNothingIntoAProcessThatIsNotRunningOrWhoseWindowIsNotFocused) {
  QUILLO_REQUIRE_LIVE_SESSION();
  FixtureProgram editor({QUILLO_FIXTURE_TEXT_EDITOR, "--focus", "view"});
  ASSERT_TRUE(editor.waitForOutput("ready")) << editor.output();
  // The editor's window is active: this test program is not the process it belongs to.
  ASSERT_TRUE(waitUntil([&] {
    desktop::x11::XTestTyping probe;
    return !probe.postKeyboardEvent(::getpid(), InputEvent::key("keyDown", 0, 0, "x"));
  }));
  desktop::x11::XTestTyping typing;
  EXPECT_FALSE(typing.postKeyboardEvent(::getpid(), InputEvent::key("keyDown", 0, 0, "stray")));
  EXPECT_FALSE(typing.postKeyboardEvent(999999, InputEvent::key("keyDown", 0, 0, "stray")));
  // The window can be active a moment before its text view holds the keyboard focus.
  desktop::atspi::AtspiAccessibility accessibility;
  ASSERT_TRUE(waitUntil([&] { return accessibility.focusedElementId(editor.pid()).has_value(); }));
  type(typing, editor.pid(), "mine");
  EXPECT_TRUE(editor.waitForOutput("text: mine")) << editor.output();
  EXPECT_EQ(editor.output().find("stray"), std::string::npos);
}

// The whole core keyboard map as the server has it now.
std::vector<unsigned long> keyboardMap(_XDisplay* display) {
  int first = 0;
  int last = 0;
  int perKeycode = 0;
  XDisplayKeycodes(display, &first, &last);
  KeySym* keysyms = XGetKeyboardMapping(display, static_cast<KeyCode>(first), last - first + 1, &perKeycode);
  std::vector<unsigned long> map(keysyms, keysyms + (last - first + 1) * perKeycode);
  XFree(keysyms);
  return map;
}

TEST(XTestTyping, CharactersTypedThroughLentKeysKeepArrivingAndTheMapIsGivenBackAtTheEnd) {
  QUILLO_REQUIRE_LIVE_SESSION();
  testsupport::live::XPerson person;
  ASSERT_TRUE(person.isConnected());
  const auto before = keyboardMap(person.display());
  FixtureProgram editor({QUILLO_FIXTURE_TEXT_EDITOR, "--focus", "view"});
  ASSERT_TRUE(editor.waitForOutput("ready")) << editor.output();
  {
    desktop::x11::XTestTyping typing;
    // More characters the layout lacks than there are lent keys, some of them twice: each key is lent
    // again only after all the others.
    const std::string text = "αβγδεζηθικλμνξοπρστυφχψω αω 日本語 😀";
    type(typing, editor.pid(), text);
    EXPECT_TRUE(editor.waitForOutput("text: " + text)) << editor.output();
  }
  EXPECT_EQ(keyboardMap(person.display()), before);
}

}  // namespace
