#include "Quillo/inline/native_gpt_engine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Quillo/chat_model/clearer_error.h"
#include "Quillo/chat_model/settings_keys.h"
#include "Quillo/inline/loading_window_controller.h"
#include "platform/appkit/event_monitor.h"
#include "platform/appkit/global_event_monitor.h"
#include "platform/appkit/workspace.h"
#include "platform/foundation/unicode.h"
#include "platform/foundation/utf16.h"
#include "settings_store/key.h"
#include "tests/Quillo/inline/engine_world.h"

namespace inline_engine_test {
namespace {

using desktop::AccessibleElement;
using desktop::AccessibleRange;
using desktop::InputEvent;
using Quillo::InlineTrigger;

// A text area holding `text` with the caret at its end.
AccessibleElement textArea(const std::string& text, foundation::Point position = {100, 100}) {
  const auto length = static_cast<std::int64_t>(foundation::utf16Length(text));
  return AccessibleElement::text("AXTextArea", text, AccessibleRange{length, 0}, position);
}

class InlineEngine : public ::testing::Test {
 protected:
  // TextEdit with a focused text area, activated, and the engine started.
  void startWithField(const std::string& text, foundation::Point position = {100, 100}) {
    pid = world.launchWithFocused("com.apple.TextEdit", textArea(text, position), &fieldId);
    world.engine->start();
    world.activate(pid);
  }
  std::string field() { return world.textOf(pid, fieldId); }
  std::size_t keyDowns() {
    std::size_t count = 0;
    for (const auto& event : keysReceived()) count += event.type == "keyDown" ? 1 : 0;
    return count;
  }
  std::vector<InputEvent> keysReceived() { return world.desktop.accessibility().receivedKeyEvents(pid); }

  EngineWorld world;
  int pid = 0;
  int fieldId = 0;
};

TEST(InlineTriggerKey, IsReturnWithTheModifiersTheSettingNames) {
  EngineWorld world;
  struct Case {
    InlineTrigger trigger;
    appkit::EventType type;
    std::uint16_t keyCode;
    std::uint64_t flags;
    bool isTrigger;
  };
  const Case cases[] = {
      {InlineTrigger::shiftReturn, appkit::EventType::keyDown, kReturn, kShift, true},
      {InlineTrigger::shiftReturn, appkit::EventType::keyDown, kReturn, kShift | 0x102, true},  // device bits
      {InlineTrigger::shiftReturn, appkit::EventType::keyDown, kReturn, 0, false},
      {InlineTrigger::shiftReturn, appkit::EventType::keyDown, kReturn, kShift | kControl, false},
      {InlineTrigger::shiftReturn, appkit::EventType::keyDown, kReturn, kShift | kCapsLock, false},
      {InlineTrigger::shiftReturn, appkit::EventType::keyDown, 76, kShift, false},  // keypad Enter
      {InlineTrigger::shiftReturn, appkit::EventType::keyUp, kReturn, kShift, false},
      {InlineTrigger::normalReturn, appkit::EventType::keyDown, kReturn, 0, true},
      {InlineTrigger::normalReturn, appkit::EventType::keyDown, kReturn, 0x100, true},
      {InlineTrigger::normalReturn, appkit::EventType::keyDown, kReturn, kShift, false},
      {InlineTrigger::normalReturn, appkit::EventType::keyDown, kReturn, kCapsLock, false},
      {InlineTrigger::normalReturn, appkit::EventType::keyDown, 76, 0, false},
      {InlineTrigger::normalReturn, appkit::EventType::keyDown, 0, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << Quillo::rawValue(c.trigger) << " type " << appkit::rawValue(c.type)
                                      << " key " << c.keyCode << " flags " << std::hex << c.flags);
    Defaults::set(Quillo::Keys::inlineTrigger(), c.trigger);
    const auto event = appkit::Event::keyEvent(c.type, c.keyCode, appkit::ModifierFlags{c.flags});
    EXPECT_EQ(Quillo::NativeGPTEngine::isTriggerEvent(event), c.isTrigger);
  }
  EXPECT_FALSE(Quillo::NativeGPTEngine::isTriggerEvent(
      appkit::Event::mouseEvent(appkit::EventType::leftMouseDown, {0, 0}, appkit::ModifierFlags{kShift})));
}

TEST_F(InlineEngine, TypesTheStreamedAnswerIntoTheFieldThatHeldTheTrigger) {
  Defaults::set(Quillo::Keys::inlineApiModel(), Quillo::Model::gpt4);
  const auto gate = world.replyGatedWith({"Four", " it is.\nReally", "\n"});
  startWithField("Note\n+gpt what is 2+2?\n");

  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.engine->isWriting());
  ASSERT_TRUE(world.engine->loadingWindowController());
  const auto panel = world.engine->loadingWindowController()->panel();
  EXPECT_TRUE(panel->isVisible());
  EXPECT_FALSE(panel->isKeyWindow());
  gate->open();
  ASSERT_TRUE(world.runUntilWritingStops());
  EXPECT_FALSE(panel->isVisible());

  EXPECT_EQ(field(), "Note\n+gpt what is 2+2?\nFour it is.\nReally\n");
  ASSERT_EQ(world.server.requests().size(), 1u);
  const auto request = world.server.requests()[0];
  const auto body = foundation::parseJson(request.body);
  EXPECT_EQ(body.at("model"), "gpt-4");
  EXPECT_EQ(body.at("temperature"), 0.5);
  EXPECT_EQ(body.at("stream"), true);
  EXPECT_EQ(sentMessages(request), (std::vector<std::pair<std::string, std::string>>{
                                       {"system", "You're a helpful assistant"}, {"user", "what is 2+2?"}}));

  // Each piece goes as one key press; every line feed as Shift-Return.
  struct Press {
    std::uint16_t keyCode;
    std::uint64_t flags;
    std::string characters;
    bool operator==(const Press&) const = default;
  };
  std::vector<Press> downs;
  for (const auto& event : keysReceived()) {
    if (event.type == "keyDown") downs.push_back({event.keyCode, event.modifierFlags, event.characters});
  }
  EXPECT_EQ(downs, (std::vector<Press>{{0, 0, "Four"},
                                       {0, 0, " it is."},
                                       {kReturn, kShift, ""},
                                       {0, 0, "Really"},
                                       {kReturn, kShift, ""}}));

  EXPECT_EQ(world.log.lines(), (std::vector<std::string>{
                                   "NativeGPTEngine stop()",
                                   "NativeGPTEngine start()",
                                   "Selected text:  ",
                                   "Previous line: +gpt what is 2+2?",
                                   "Current line (before cursor): ",
                                   "input: what is 2+2?",
                                   "Querying...",
                                   "Stop writing...",
                               }));
  EXPECT_FALSE(world.engine->loadingWindowController());
}

TEST_F(InlineEngine, ConsecutivePromptsInOneApplicationShareTheirContext) {
  world.replyWith({"4"});
  startWithField("+gpt 2+2?");
  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.runUntilWritingStops());
  world.settle();

  world.desktop.accessibility().updateElement(pid, fieldId, [](AccessibleElement& element) {
    element.value = "+gpt times 3?";
    element.selectedTextRange = AccessibleRange{13, 0};
  });
  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.runUntilWritingStops());

  ASSERT_EQ(world.server.requests().size(), 2u);
  EXPECT_EQ(sentMessages(world.server.requests()[1]),
            (std::vector<std::pair<std::string, std::string>>{{"system", "You're a helpful assistant"},
                                                              {"user", "2+2?"},
                                                              {"assistant", "4"},
                                                              {"user", "times 3?"}}));
}

TEST_F(InlineEngine, ALineWithoutTheTriggerWordStartsNothing) {
  startWithField("just writing\nmore text");
  world.pressKey(kReturn, kShift);

  EXPECT_FALSE(world.engine->isWriting());
  EXPECT_FALSE(world.engine->loadingWindowController());
  EXPECT_EQ(world.linesEqualTo("Current and previous line do not contain the trigger word."), 1u);
  EXPECT_EQ(world.linesEqualTo("Querying..."), 0u);
  EXPECT_TRUE(world.server.requests().empty());
}

TEST_F(InlineEngine, TheTriggerWordComesFromTheSetting) {
  Defaults::set(Quillo::Keys::globalGPTKey(), "@ai");
  world.replyWith({"ok"});
  startWithField("+gpt ignored\n@ai hello");
  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.runUntilWritingStops());
  ASSERT_EQ(world.server.requests().size(), 1u);
  EXPECT_EQ(sentMessages(world.server.requests()[0]).back().second, "hello");
}

TEST_F(InlineEngine, OnlyTheConfiguredKeyStartsAQuery) {
  struct Case {
    InlineTrigger trigger;
    std::uint64_t flags;
    bool starts;
  };
  const Case cases[] = {
      {InlineTrigger::shiftReturn, 0, false},
      {InlineTrigger::shiftReturn, kShift | kControl, false},
      {InlineTrigger::shiftReturn, kShift | kCapsLock, false},
      {InlineTrigger::normalReturn, kShift, false},
      {InlineTrigger::normalReturn, 0, true},
      {InlineTrigger::shiftReturn, kShift, true},
  };
  startWithField("+gpt q");
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << Quillo::rawValue(c.trigger) << " flags " << std::hex << c.flags);
    Defaults::set(Quillo::Keys::inlineTrigger(), c.trigger);
    const auto gate = world.replyGatedWith({"x"});
    const auto before = world.server.requests().size();
    world.pressKey(kReturn, c.flags);
    EXPECT_EQ(world.engine->isWriting(), c.starts);
    gate->open();
    ASSERT_TRUE(world.runUntilWritingStops());
    world.settle();
    EXPECT_EQ(world.server.requests().size(), before + (c.starts ? 1 : 0));
  }
}

TEST_F(InlineEngine, AFocusedElementThatIsNoTextFieldIsLeftAlone) {
  for (const std::string role : {"AXStaticText", "AXButton"}) {
    SCOPED_TRACE(role);
    auto element = textArea("+gpt question");
    element.role = role;
    const int app = world.launchWithFocused("com.example." + role, element);
    world.engine->start();
    world.activate(app);
    world.desktop.accessibility().clearCalls();
    foundation::LogCapture lines;
    world.pressKey(kReturn, kShift);

    EXPECT_EQ(lines.lines(), (std::vector<std::string>{"Focused element is not a text field."}));
    EXPECT_FALSE(world.engine->isWriting());
    EXPECT_FALSE(world.engine->loadingWindowController());
    for (const auto& call : world.desktop.accessibility().calls()) {
      EXPECT_NE(call.attribute, "AXValue");
    }
  }
  EXPECT_TRUE(world.server.requests().empty());
}

TEST_F(InlineEngine, AFieldThatCannotBeReadPrintsWhyAndDoesNothingElse) {
  struct Case {
    std::string name;
    std::function<void(AccessibleElement&)> change;
    bool focused = true;
    std::string line;
  };
  const Case cases[] = {
      {"nothing focused", [](AccessibleElement&) {}, false, "Unable to fetch focused element."},
      {"no position", [](AccessibleElement& e) { e.position.reset(); }, true,
       "Unable to fetch focused element."},
      {"every call fails", [](AccessibleElement& e) { e.failureOfEveryCall = -25204; }, true,
       "Unable to fetch focused element."},
      {"range unreadable", [](AccessibleElement& e) { e.failingAttributes["AXSelectedTextRange"] = -25212; },
       true, "Unable to fetch text field attributes."},
      {"no range", [](AccessibleElement& e) { e.selectedTextRange.reset(); }, true,
       "Unable to fetch text field attributes."},
      {"value unreadable", [](AccessibleElement& e) { e.failingAttributes["AXValue"] = -25212; }, true,
       "Unable to fetch text field attributes."},
      {"missing position",
       [](AccessibleElement& e) {
         e.selectedTextRange = AccessibleRange{-1, 0};
       },
       true, "Invalid selected text range."},
      {"missing length",
       [](AccessibleElement& e) {
         e.selectedTextRange = AccessibleRange{3, -1};
       },
       true, "Invalid selected text range."},
      {"beyond the text",
       [](AccessibleElement& e) {
         e.selectedTextRange = AccessibleRange{10, 5};
       },
       true, "Invalid selected text range."},
      {"negative",
       [](AccessibleElement& e) {
         e.selectedTextRange = AccessibleRange{-4, 2};
       },
       true, "Invalid selected text range."},
  };
  world.engine->start();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto element = textArea("+gpt abcdefg");  // 12 UTF-16 units
    c.change(element);
    const int app = world.desktop.launchApplication("com.example.app", "App").processIdentifier;
    if (c.focused) {
      world.desktop.accessibility().addFocusedElement(app, element);
    } else {
      world.desktop.accessibility().addElement(app, element);
    }
    world.activate(app);
    foundation::LogCapture lines;
    world.pressKey(kReturn, kShift);
    EXPECT_EQ(lines.lines(), (std::vector<std::string>{c.line}));
    EXPECT_FALSE(world.engine->isWriting());
    EXPECT_FALSE(world.engine->loadingWindowController());
  }
  EXPECT_TRUE(world.server.requests().empty());
}

TEST_F(InlineEngine, TheSelectedTextIsPrintedByUtf16Range) {
  world.replyWith({"."});
  const std::string text = "+gpt hi 😀 café";
  pid = world.launchWithFocused(
      "com.apple.TextEdit", AccessibleElement::text("AXTextField", text, AccessibleRange{8, 2}), &fieldId);
  world.engine->start();
  world.activate(pid);
  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.runUntilWritingStops());
  EXPECT_EQ(world.linesEqualTo("Selected text:  😀"), 1u);
  // The prompt is taken from the text before the caret only.
  ASSERT_EQ(world.server.requests().size(), 1u);
  EXPECT_EQ(sentMessages(world.server.requests()[0]).back().second, "hi");
}

TEST_F(InlineEngine, AClickWhileTypingStopsAtTheNextPieceAndStartsNothing) {
  const auto gate = world.replyGatedWith({"one", " two", " three"});
  startWithField("+gpt count");
  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.engine->isWriting());
  const auto task = world.engine->task();
  const auto panel = world.engine->loadingWindowController()->panel();
  EXPECT_TRUE(panel->isVisible());

  gate->release();
  ASSERT_TRUE(world.mainLoop.loop().runUntil([&] { return field() == "+gpt countone"; }));
  world.click();

  EXPECT_FALSE(world.engine->isWriting());
  EXPECT_FALSE(world.engine->loadingWindowController());
  EXPECT_FALSE(panel->isVisible());
  EXPECT_TRUE(task.isCancelled());
  EXPECT_EQ(world.linesEqualTo("Stop writing..."), 1u);

  gate->open();
  task.value();
  world.settle();
  EXPECT_EQ(field(), "+gpt countone");
  EXPECT_EQ(world.linesEqualTo("Querying..."), 1u);
  EXPECT_EQ(world.linesEqualTo("Stop writing..."), 1u);
}

TEST_F(InlineEngine, AnyClickOrKeyWhileTypingStopsIt) {
  struct Case {
    std::string name;
    std::function<void(EngineWorld&)> act;
  };
  const Case cases[] = {
      {"left click", [](EngineWorld& w) { w.click("leftMouseDown"); }},
      {"right click", [](EngineWorld& w) { w.click("rightMouseDown"); }},
      {"the trigger key again", [](EngineWorld& w) { w.pressKey(kReturn, kShift); }},
      {"a letter", [](EngineWorld& w) { w.pressKey(0, 0); }},
      {"a click in this program's own window",
       [](EngineWorld& w) {
         const auto passedOn = appkit::handleLocalEvent(
             appkit::Event::mouseEvent(appkit::EventType::leftMouseDown, {5, 5}, {}, 1));
         // The window still receives the click.
         EXPECT_TRUE(passedOn.has_value());
         w.mainLoop.loop().runUntilIdle();
       }},
  };
  startWithField("+gpt go");
  std::size_t requests = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto gate = world.replyGatedWith({"a", "b"});
    world.pressKey(kReturn, kShift);
    ASSERT_TRUE(world.engine->isWriting());
    ASSERT_TRUE(world.server.waitForRequests(++requests));
    c.act(world);
    EXPECT_FALSE(world.engine->isWriting());
    gate->open();
    world.settle();
    EXPECT_EQ(world.server.requests().size(), requests);
  }
}

TEST_F(InlineEngine, ClicksAndOtherKeysWhileIdleDoNothing) {
  startWithField("+gpt q");
  world.click("leftMouseDown");
  world.click("rightMouseDown");
  world.pressKey(0, kShift);
  EXPECT_TRUE(appkit::handleLocalEvent(
                  appkit::Event::keyEvent(appkit::EventType::keyDown, kReturn, appkit::ModifierFlags{kShift}))
                  .has_value());
  world.mainLoop.loop().runUntilIdle();
  EXPECT_FALSE(world.engine->isWriting());
  EXPECT_TRUE(world.server.requests().empty());
}

TEST_F(InlineEngine, EventsThisProgramPostsNeverStopTheTyping) {
  const auto gate = world.replyGatedWith({"a\nb", "c"});
  startWithField("+gpt go");
  world.pressKey(kReturn, kShift);
  gate->release();
  ASSERT_TRUE(world.mainLoop.loop().runUntil([&] { return field() == "+gpt goa\nb"; }));
  world.mainLoop.loop().runUntilIdle();
  EXPECT_TRUE(world.engine->isWriting());
  gate->open();
  ASSERT_TRUE(world.runUntilWritingStops());
  EXPECT_EQ(field(), "+gpt goa\nbc");
}

TEST_F(InlineEngine, SwitchingApplicationsStopsTheAnswerAndStartsAfresh) {
  world.replyWith({"4"});
  startWithField("+gpt 2+2?");
  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.runUntilWritingStops());
  world.settle();
  ASSERT_EQ(world.engine->api()->historyList().size(), 2u);

  const auto gate = world.replyGatedWith({"first", " second"});
  world.desktop.accessibility().updateElement(pid, fieldId, [](AccessibleElement& element) {
    element.value = "+gpt more";
    element.selectedTextRange = AccessibleRange{9, 0};
  });
  world.pressKey(kReturn, kShift);
  gate->release();
  ASSERT_TRUE(world.mainLoop.loop().runUntil([&] { return field() == "+gpt morefirst"; }));

  int otherField = 0;
  const int other = world.launchWithFocused("com.apple.Notes", textArea("+gpt elsewhere"), &otherField);
  world.activate(other);

  EXPECT_FALSE(world.engine->isWriting());
  EXPECT_FALSE(world.engine->loadingWindowController());
  EXPECT_TRUE(world.engine->api()->historyList().empty());
  EXPECT_EQ(world.engine->frontmostPid(), other);

  // The stopped reply is read to its end, but neither typed anywhere nor remembered.
  gate->open();
  world.settle();
  EXPECT_EQ(field(), "+gpt morefirst");
  EXPECT_EQ(world.textOf(other, otherField), "+gpt elsewhere");
  EXPECT_TRUE(world.engine->api()->historyList().empty());

  world.replyWith({"!"});
  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.runUntilWritingStops());
  EXPECT_EQ(world.textOf(other, otherField), "+gpt elsewhere!");
  EXPECT_EQ(sentMessages(world.server.requests().back()),
            (std::vector<std::pair<std::string, std::string>>{{"system", "You're a helpful assistant"},
                                                              {"user", "elsewhere"}}));
}

TEST_F(InlineEngine, WithoutASeenActivationTheAnswerIsRequestedButNotTyped) {
  const auto gate = world.replyGatedWith({"hidden"});
  pid = world.launchWithFocused("com.apple.TextEdit", textArea("+gpt q"), &fieldId);
  world.desktop.setFrontmostApplication(pid);  // in front before the engine watched
  world.engine->start();
  world.pressKey(kReturn, kShift);
  EXPECT_TRUE(world.engine->loadingWindowController());
  EXPECT_TRUE(world.server.waitForRequests(1));
  gate->open();
  ASSERT_TRUE(world.runUntilWritingStops());
  EXPECT_EQ(field(), "+gpt q");
  EXPECT_TRUE(keysReceived().empty());
  EXPECT_EQ(world.engine->frontmostPid(), std::nullopt);
}

TEST_F(InlineEngine, KnownServiceFailuresAreTypedAfterTheirAdvice) {
  struct Case {
    std::string message;
    bool hasAdvice;
  };
  const Case cases[] = {
      {"You exceeded your current quota, please check your plan.", true},
      {"The model `gpt-4` does not exist or you do not have access to it.", true},
      {"Rate limit reached.", false},
  };
  startWithField("+gpt q");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    world.desktop.accessibility().updateElement(pid, fieldId, [](AccessibleElement& element) {
      element.value = "+gpt q";
      element.selectedTextRange = AccessibleRange{6, 0};
    });
    const std::size_t pressesBefore = keyDowns();
    const auto gate = std::make_shared<testsupport::PieceGate>();
    auto failure = testsupport::ScriptedReply::inPieces({errorBody(c.message)}, gate);
    failure.status = 429;
    failure.contentType = "application/json";
    world.server.reply("POST", kCompletionsPath, failure);
    world.pressKey(kReturn, kShift);
    ASSERT_TRUE(world.engine->loadingWindowController());
    const auto panel = world.engine->loadingWindowController()->panel();
    gate->open();
    ASSERT_TRUE(world.runUntilWritingStops());
    EXPECT_FALSE(panel->isVisible());
    const auto advice = Quillo::adviceForFailure(c.message);
    ASSERT_EQ(advice.has_value(), c.hasAdvice);
    EXPECT_EQ(field(), "+gpt q" + (advice ? *advice + c.message : std::string()));
    // One key press per character.
    EXPECT_EQ(keyDowns() - pressesBefore,
              advice ? foundation::graphemeClusters(*advice + c.message).size() : 0u);
  }
}

TEST_F(InlineEngine, TransportFailuresTypeNothingAndCloseTheWindow) {
  startWithField("+gpt q");
  // Cut off mid-reply: the piece before the cut is typed, the failure is not.
  testsupport::ScriptedReply cut =
      testsupport::ScriptedReply::text(chunkLine("half"), 200, "text/event-stream");
  cut.dropsConnection = true;
  world.server.reply("POST", kCompletionsPath, cut);
  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.runUntilWritingStops());
  EXPECT_EQ(field(), "+gpt qhalf");
  EXPECT_FALSE(world.engine->loadingWindowController());
}

TEST_F(InlineEngine, AChangedAPIKeyReplacesTheClientAndItsHistory) {
  world.replyWith({"4"});
  startWithField("+gpt 2+2?");
  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.runUntilWritingStops());
  world.settle();
  const auto before = world.engine->api();
  ASSERT_EQ(before->historyList().size(), 2u);

  Defaults::set(Quillo::Keys::apiKey(), std::string(kKey));
  world.mainLoop.loop().runUntilIdle();

  EXPECT_NE(world.engine->api(), before);
  EXPECT_EQ(world.engine->api()->apiKey(), kKey);
  EXPECT_TRUE(world.engine->api()->historyList().empty());

  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.runUntilWritingStops());
  const auto request = world.server.requests().back();
  EXPECT_EQ(request.header("Authorization"), "Bearer " + std::string(kKey));
  EXPECT_EQ(sentMessages(request).size(), 2u);
}

TEST_F(InlineEngine, TheClientIsMadeWithTheStoredKeyAndFollowsEveryChange) {
  world.engine.reset();
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-first"));
  auto engine = Quillo::NativeGPTEngine::make([&](const std::string& key) {
    return std::make_shared<Quillo::ChatGPTAPI>(key, world.server.url(kCompletionsPath), nullptr);
  });
  EXPECT_EQ(engine->api()->apiKey(), "sk-first");
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-second"));
  Defaults::set(Quillo::Keys::apiKey(), std::string("sk-third"));
  world.mainLoop.loop().runUntilIdle();
  EXPECT_EQ(engine->api()->apiKey(), "sk-third");
  world.engine = engine;
}

TEST_F(InlineEngine, StartingTwiceLeavesOneObserverAndOnePairOfMonitors) {
  const auto observersBefore = appkit::Workspace::shared().notificationCenter().observerCount();
  world.engine->start();
  world.engine->start();
  EXPECT_EQ(world.log.lines(),
            (std::vector<std::string>{"NativeGPTEngine stop()", "NativeGPTEngine start()",
                                      "NativeGPTEngine stop()", "NativeGPTEngine start()"}));
  EXPECT_EQ(appkit::GlobalEventMonitor::activeCount(), 1u);
  EXPECT_EQ(appkit::localMonitorCount(), 1u);
  // The engine's observer and the enabler's.
  EXPECT_EQ(appkit::Workspace::shared().notificationCenter().observerCount(), observersBefore + 2);
  EXPECT_TRUE(world.engine->axEnablerService().isActive());

  world.engine->stop();
  EXPECT_EQ(appkit::GlobalEventMonitor::activeCount(), 0u);
  EXPECT_EQ(appkit::localMonitorCount(), 0u);
  // The enabler stays active and keeps watching.
  EXPECT_EQ(appkit::Workspace::shared().notificationCenter().observerCount(), observersBefore + 1);
  EXPECT_TRUE(world.engine->axEnablerService().isActive());
}

TEST_F(InlineEngine, AStoppedEngineIgnoresKeysButKeepsTheLastApplication) {
  world.replyWith({"x"});
  startWithField("+gpt q");
  world.engine->stop();
  world.pressKey(kReturn, kShift);
  EXPECT_FALSE(world.engine->isWriting());
  EXPECT_TRUE(world.server.requests().empty());
  EXPECT_EQ(world.engine->frontmostPid(), pid);

  world.engine->start();
  EXPECT_EQ(world.engine->frontmostPid(), pid);
  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.runUntilWritingStops());
  EXPECT_EQ(field(), "+gpt qx");
}

TEST_F(InlineEngine, StopEndsTheRunningQuery) {
  const auto gate = world.replyGatedWith({"a", "b"});
  startWithField("+gpt q");
  world.pressKey(kReturn, kShift);
  ASSERT_TRUE(world.engine->isWriting());
  ASSERT_TRUE(world.server.waitForRequests(1));
  foundation::LogCapture lines;
  world.engine->stop();
  EXPECT_EQ(lines.lines(), (std::vector<std::string>{"NativeGPTEngine stop()", "Stop writing..."}));
  EXPECT_FALSE(world.engine->isWriting());
  gate->open();
  world.settle();
  EXPECT_EQ(field(), "+gpt q");
}

TEST_F(InlineEngine, TheEndOfAStoppedQueryNeverEndsANewerOne) {
  const auto gate = world.replyGatedWith({"a", "b"});
  startWithField("+gpt q");
  world.pressKey(kReturn, kShift);
  const auto first = world.engine->task();
  world.click();
  gate->open();
  first.value();  // its closing call now waits on the main queue

  const auto second = world.replyGatedWith({"new"});
  auto element = Quillo::UIElement::fromElement(ax::Element::inApplication(pid, fieldId));
  ASSERT_TRUE(element);
  world.engine->startInlineQuery(element, "again");
  world.mainLoop.loop().runUntilIdle();
  EXPECT_TRUE(world.engine->isWriting());
  EXPECT_TRUE(world.engine->loadingWindowController());
  second->open();

  ASSERT_TRUE(world.runUntilWritingStops());
  EXPECT_EQ(field(), "+gpt qnew");
}

TEST_F(InlineEngine, TheClientCanBeReadWhileTheKeyChanges) {
  std::atomic<bool> done{false};
  std::thread reader([&] {
    while (!done) EXPECT_TRUE(world.engine->api());
  });
  for (int i = 0; i < 20; ++i) {
    Defaults::set(Quillo::Keys::apiKey(), "sk-" + std::to_string(i));
    world.mainLoop.loop().runUntilIdle();
  }
  done = true;
  reader.join();
  EXPECT_EQ(world.engine->api()->apiKey(), "sk-19");
}

TEST(InlineEngineShared, IsOneEngine) {
  EngineWorld world;
  EXPECT_EQ(Quillo::NativeGPTEngine::shared(), Quillo::NativeGPTEngine::shared());
  EXPECT_FALSE(Quillo::NativeGPTEngine::shared()->isWriting());
  EXPECT_FALSE(Quillo::NativeGPTEngine::shared()->isStarted());
}

}  // namespace
}  // namespace inline_engine_test
