#include "Quillo/inline/answer_typer.h"

#include <gtest/gtest.h>

#include <thread>

#include "headless_world.h"
#include "platform/events/keyboard_event.h"
#include "platform/foundation/utf16.h"

namespace Quillo {
namespace {

using desktop::AccessibleElement;
using desktop::InputEvent;

constexpr std::uint64_t kShift = 0x20000;

InputEvent posted(std::string type, std::uint16_t keyCode, std::uint64_t flags, std::string characters = {}) {
  InputEvent event = InputEvent::key(std::move(type), keyCode, flags, std::move(characters));
  event.origin = InputEvent::Origin::postedByApplication;
  return event;
}

std::vector<InputEvent> textPress(const std::string& text) {
  return {posted("keyDown", 0, 0, text), posted("keyUp", 0, 0, text)};
}

std::vector<InputEvent> shiftReturn() { return {posted("keyDown", 36, kShift), posted("keyUp", 36, kShift)}; }

std::vector<InputEvent> concat(std::initializer_list<std::vector<InputEvent>> parts) {
  std::vector<InputEvent> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class AnswerTyperTest : public ::testing::Test {
 protected:
  AnswerTyperTest() {
    pid = world.launchWithFocused(
        "com.example.Editor", AccessibleElement::text("AXTextArea", "Q: ", desktop::AccessibleRange{3, 0}),
        &elementId);
    typer.setFrontmostPid(pid);
  }

  std::string fieldText() { return *world.desktop.accessibility().element(pid, elementId)->value; }

  inline_test::HeadlessWorld world;
  int pid = 0;
  int elementId = 0;
  AnswerTyper typer;
};

TEST_F(AnswerTyperTest, TypesEachPieceAsKeyPressesWithLineFeedsAsShiftReturn) {
  struct Case {
    std::string name;
    std::string piece;
    std::vector<InputEvent> events;
  };
  const std::vector<Case> cases = {
      {"two words and a blank", "two words", textPress("two words")},
      {"a single line feed", "\n", shiftReturn()},
      {"a leading line feed", "\nnext", concat({shiftReturn(), textPress("next")})},
      {"two line feeds in a row", "a\n\nb",
       concat({textPress("a"), shiftReturn(), shiftReturn(), textPress("b")})},
      {"CR LF is one character sent inside the text", "a\r\nb", textPress("a\r\nb")},
      {"a trailing line feed", "end\n", concat({textPress("end"), shiftReturn()})},
      {"empty piece", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t before = world.accessibility().receivedKeyEvents(pid).size();
    typer.typeText(c.piece);
    const auto all = world.accessibility().receivedKeyEvents(pid);
    EXPECT_EQ(std::vector<InputEvent>(all.begin() + static_cast<std::ptrdiff_t>(before), all.end()),
              c.events);
  }
}

TEST_F(AnswerTyperTest, MultiLineAnswerReadsBackFromTheField) {
  for (const std::string piece :
       {"Paris is", " the capital.\nIt lies", " on the Seine.\n\n", "Bye \U0001F44B"}) {
    typer.typeText(piece);
  }
  EXPECT_EQ(world.accessibility().receivedKeyEvents(pid),
            concat({textPress("Paris is"), textPress(" the capital."), shiftReturn(), textPress("It lies"),
                    textPress(" on the Seine."), shiftReturn(), shiftReturn(), textPress("Bye \U0001F44B")}));
  EXPECT_EQ(fieldText(), "Q: Paris is the capital.\nIt lies on the Seine.\n\nBye \U0001F44B");
  const auto selection = world.accessibility().element(pid, elementId)->selectedTextRange;
  EXPECT_EQ(selection,
            (desktop::AccessibleRange{static_cast<std::int64_t>(foundation::utf16Length(fieldText())), 0}));
}

TEST_F(AnswerTyperTest, CharacterOutsideTheBasicPlaneTravelsAsTwoUnitsOfOneString) {
  const int observed = world.desktop.launchApplication("com.example.Observer", "Observer").processIdentifier;
  typer.setFrontmostPid(observed);
  typer.typeText("\U0001F9E0");
  const auto received = world.accessibility().receivedKeyEvents(observed);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(foundation::toUtf16(received[0].characters), u"\U0001F9E0");
  EXPECT_EQ(foundation::toUtf16(received[0].characters).size(), 2u);
}

TEST_F(AnswerTyperTest, KeyboardEventCarriesItsUnicodeStringAsUtf16Units) {
  auto event = events::KeyboardEvent::create(0, true);
  ASSERT_TRUE(event.has_value());
  event->setFlags(0);
  event->setUnicodeString(u"a\U0001F9E0");
  EXPECT_EQ(event->unicodeString().size(), 3u);
  EXPECT_EQ(event->type(), events::EventType::keyDown);
  EXPECT_EQ(events::KeyboardEvent::create(36, false)->type(), events::EventType::keyUp);
}

TEST_F(AnswerTyperTest, FlushingPostsTheGatheredCharactersOnceAndEmptiesTheList) {
  std::vector<std::string> characters = {"h", "\U0001F44B", "!"};
  flushTypedBuffer(characters, pid);
  EXPECT_TRUE(characters.empty());
  flushTypedBuffer(characters, pid);
  EXPECT_EQ(world.accessibility().receivedKeyEvents(pid), textPress("h\U0001F44B!"));
  EXPECT_EQ(fieldText(), "Q: h\U0001F44B!");
}

TEST_F(AnswerTyperTest, NothingIsPostedBeforeAnyApplicationWasActivated) {
  AnswerTyper fresh;
  EXPECT_EQ(fresh.frontmostPid(), std::nullopt);
  fresh.typeText("hello\nthere");
  EXPECT_TRUE(world.accessibility().receivedKeyEvents(pid).empty());
  EXPECT_EQ(fieldText(), "Q: ");
}

TEST_F(AnswerTyperTest, PostedEventsNeverReachThisProgramsOwnEventStream) {
  int seen = 0;
  const auto token = world.desktop.addEventObserver([&](const InputEvent&) { ++seen; });
  typer.typeText("one\ntwo");
  world.desktop.removeEventObserver(token);
  EXPECT_EQ(seen, 0);
  EXPECT_TRUE(world.desktop.events().empty());
  EXPECT_EQ(world.accessibility().receivedKeyEvents(pid).size(), 6u);
}

TEST_F(AnswerTyperTest, EventsForAProcessThatIsGoneAreDropped) {
  typer.setFrontmostPid(4242);
  typer.typeText("lost");
  EXPECT_TRUE(world.accessibility().receivedKeyEvents(4242).empty());
}

TEST_F(AnswerTyperTest, ReturnWithoutAStringInsertsALineBreakAndKeyUpTypesNothing) {
  auto down = events::KeyboardEvent::create(36, true);
  down->postToPid(pid);
  auto up = events::KeyboardEvent::create(36, false);
  up->setUnicodeString(u"x");
  up->postToPid(pid);
  EXPECT_EQ(fieldText(), "Q: \n");
}

TEST_F(AnswerTyperTest, TypingReplacesTheSelection) {
  world.accessibility().updateElement(pid, elementId, [](AccessibleElement& e) {
    e.value = "a\U0001F600b";
    e.selectedTextRange = desktop::AccessibleRange{1, 2};
  });
  typer.typeText("xy");
  EXPECT_EQ(fieldText(), "axyb");
}

// The main thread moves the target while the answer task types: each piece lands whole in one of the two
// applications.
TEST_F(AnswerTyperTest, TargetChangesFromAnotherThreadWhileTyping) {
  int secondElement = 0;
  const int second = world.launchWithFocused(
      "com.example.Other", AccessibleElement::text("AXTextArea", "", desktop::AccessibleRange{0, 0}),
      &secondElement);
  std::thread answerTask([&] {
    for (int i = 0; i < 200; ++i) typer.typeText("ab");
  });
  for (int i = 0; i < 200; ++i) {
    typer.setFrontmostPid(i % 2 == 0 ? second : pid);
    EXPECT_TRUE(world.accessibility().element(pid, elementId)->value.has_value());
  }
  answerTask.join();
  const std::string first = fieldText().substr(3);
  const std::string other = *world.accessibility().element(second, secondElement)->value;
  EXPECT_EQ(first.size() + other.size(), 400u);
  EXPECT_EQ(first.size() % 2, 0u);
  for (std::size_t i = 0; i < first.size(); i += 2) EXPECT_EQ(first.substr(i, 2), "ab");
  for (std::size_t i = 0; i < other.size(); i += 2) EXPECT_EQ(other.substr(i, 2), "ab");
}

}  // namespace
}  // namespace Quillo
