// The person's input as the whole X desktop sees it: keys and clicks that go to any application reach the
// observers, with key codes, modifiers, text and locations; keys this program types never do.
#include "platform/desktop/x11/global_input/x11_input_events.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/desktop/x11/global_input/own_synthetic_input.h"
#include "platform/desktop/x11/global_input/xtest_typing.h"
#include "tests/support/live/live_session.h"
#include "tests/support/live/recorded.h"
#include "tests/support/live/x_person.h"

namespace {

using desktop::InputEvent;
using testsupport::live::FixtureProgram;
using testsupport::live::Recorded;
using testsupport::live::waitUntil;
using testsupport::live::XPerson;

// The events the service's thread hands over, for as long as it lives.
class Observed : public Recorded<InputEvent> {
 public:
  explicit Observed(desktop::InputEventService& service)
      : service_(service),
        token_(service.addEventObserver([this](const InputEvent& event) { add(event); })) {}
  ~Observed() { service_.removeEventObserver(token_); }
  std::vector<InputEvent> events() const { return values(); }

 private:
  desktop::InputEventService& service_;
  std::size_t token_;
};

TEST(X11InputEvents, KeysThePersonPressesReachTheObserversWithCodeModifiersAndText) {
  QUILLO_REQUIRE_LIVE_SESSION();
  desktop::x11::X11InputEvents service;
  Observed observed(service);
  XPerson person;
  person.pressCombination({"Shift_L"}, "k");
  ASSERT_TRUE(observed.waitForCount(4));
  const auto events = observed.events();
  EXPECT_EQ(events[0].type, "flagsChanged");
  EXPECT_EQ(events[0].keyCode, 56);
  EXPECT_EQ(events[1], InputEvent::key("keyDown", 40, 0x20000, "K"));
  EXPECT_EQ(events[2], InputEvent::key("keyUp", 40, 0x20000, "K"));
  EXPECT_EQ(events[3].type, "flagsChanged");
}

TEST(X11InputEvents, ClicksReachTheObserversAtThePointersLocation) {
  QUILLO_REQUIRE_LIVE_SESSION();
  desktop::x11::X11InputEvents service;
  Observed observed(service);
  XPerson person;
  person.click(321, 123);
  ASSERT_TRUE(observed.waitForCount(2));
  EXPECT_EQ(observed.events()[0], InputEvent::pointer("leftMouseDown", {321, 123}));
  EXPECT_EQ(observed.events()[1], InputEvent::pointer("leftMouseUp", {321, 123}));
}

TEST(X11InputEvents, KeysThisProgramTypesIntoAnotherApplicationNeverReachTheObservers) {
  QUILLO_REQUIRE_LIVE_SESSION();
  FixtureProgram editor({QUILLO_FIXTURE_TEXT_EDITOR, "--focus", "view"});
  ASSERT_TRUE(editor.waitForOutput("ready")) << editor.output();
  desktop::x11::X11InputEvents service;
  Observed observed(service);
  desktop::x11::XTestTyping typing;
  ASSERT_TRUE(typing.postKeyboardEvent(editor.pid(), InputEvent::key("keyDown", 0, 0, "typed É")));
  ASSERT_TRUE(editor.waitForOutput("text: typed É"));
  // Past the moment in which late keys still count as this program's.
  ASSERT_TRUE(waitUntil([] { return !desktop::x11::isTypingSyntheticInput(); }));
  XPerson person;
  person.pressCombination({}, "z");
  ASSERT_TRUE(observed.waitForCount(2));
  const auto events = observed.events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].characters, "z");
}

}  // namespace
