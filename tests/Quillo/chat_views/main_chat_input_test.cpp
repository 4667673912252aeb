// The chat input bar and its editor, used as a person would: typing, Return and its modified forms, the
// Send and Stop buttons, the "/clear" command and where keyboard focus goes.
#include "Quillo/chat_views/main_chat_input.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Quillo/chat_views/chat_input_editor.h"
#include "Quillo/chat_views/chat_view_modifiers.h"
#include "platform/appkit/event.h"
#include "platform/appkit/event_monitor.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace {

using appkit::Event;
using appkit::EventType;
using appkit::ModifierFlags;
using ui::testing::button;
using ui::testing::textField;

// What the owner of the bar saw.
struct Owner {
  std::vector<std::string> sent;
  int clears = 0;
};

// The bar with the state its owner keeps, the owner's send doing what the native chat's does: empty the
// text and mark a reply in progress.
class InputHarness final : public ui::View {
 public:
  explicit InputHarness(std::shared_ptr<Owner> owner) : owner_(std::move(owner)) {}
  ui::AnyView body() const override {
    auto owner = owner_;
    auto text = text_;
    auto isWriting = isWriting_;
    return ui::VStack(ui::Text::verbatim(*isWriting_ ? "writing" : "idle"),
                      Quillo::MainChatInput(
                          text_.binding(), isWriting_.binding(), task_.binding(), focus_.binding(),
                          [owner, text, isWriting](const std::string& message) {
                            owner->sent.push_back(message);
                            text.set("");
                            isWriting.set(true);
                          },
                          [owner] { ++owner->clears; }));
  }
  ui::State<std::string> text_{""};
  ui::State<bool> isWriting_{false};
  ui::State<concurrency::Task<void>> task_;
  ui::State<bool> focus_{false};

 private:
  std::shared_ptr<Owner> owner_;
};

class MainChatInputTest : public ::testing::Test {
 protected:
  MainChatInputTest() : owner(std::make_shared<Owner>()), host(InputHarness(owner)) { host.settle(); }

  ui::testing::ViewRef field() { return host.find(textField("")); }
  void type(const std::string& text) { host.type(field(), text); }
  std::string text() { return field().primitive<ui::detail::TextInputSpec>()->text.get(); }

  // The application receives a key-down; what the monitors let through goes to the focused text view,
  // which inserts a line break for Return.
  void press(std::uint16_t keyCode, ModifierFlags flags = {}) {
    auto passed = appkit::handleLocalEvent(Event::keyEvent(EventType::keyDown, keyCode, flags, "\r"));
    if (passed && (keyCode == Quillo::kReturnKeyCode || keyCode == 76)) type("\n");
    host.settle();
  }
  void pressReturn() { press(Quillo::kReturnKeyCode); }

  std::shared_ptr<Owner> owner;
  ui::testing::WindowHost host;
};

TEST_F(MainChatInputTest, ShowsThePlaceholderAndFocusesTheEditorWhenShown) {
  EXPECT_TRUE(host.exists(ui::testing::text("Send a message…")));
  auto placeholder = host.find(ui::testing::text("Send a message…"));
  EXPECT_EQ(placeholder.opacity(), 1);
  auto* harness = host.find(ui::testing::type<InputHarness>()).node().instance();
  EXPECT_TRUE(*static_cast<const InputHarness&>(*harness).focus_);
}

TEST_F(MainChatInputTest, TheFirstTypedCharacterHidesThePlaceholder) {
  type("H");
  auto measuring = host.find(ui::testing::text("H"));
  EXPECT_EQ(measuring.opacity(), 0);
  EXPECT_FALSE(host.exists(ui::testing::text("Send a message…")));
}

TEST_F(MainChatInputTest, PlainReturnSendsTheTextOnceAndInsertsNothing) {
  type("Hello");
  pressReturn();
  ASSERT_EQ(owner->sent, std::vector<std::string>{"Hello"});
  EXPECT_EQ(text(), "");
  EXPECT_TRUE(host.exists(ui::testing::text("writing")));
}

TEST_F(MainChatInputTest, ModifiedReturnAndTheKeypadEnterReachTheTextView) {
  const ModifierFlags modifiers[] = {ModifierFlags::shift, ModifierFlags::option, ModifierFlags::control,
                                     ModifierFlags::command, ModifierFlags::capsLock};
  type("line");
  for (auto flags : modifiers) press(Quillo::kReturnKeyCode, flags);
  press(76);  // the keypad's Enter
  EXPECT_TRUE(owner->sent.empty());
  EXPECT_EQ(text(), "line\n\n\n\n\n\n");
}

TEST(MainChatInput, SubmittingFollowsTheCommandAndEmptinessRules) {
  auto owner = std::make_shared<Owner>();
  struct Case {
    std::string typed;
    std::vector<std::string> sent;
    int clears;
    std::string textAfter;
  };
  const Case cases[] = {
      {"/clear", {}, 1, ""},
      {" /clear", {" /clear"}, 0, ""},
      {"/clear ", {"/clear "}, 0, ""},
      {"/Clear", {"/Clear"}, 0, ""},
      {"", {}, 0, ""},
      {"   ", {"   "}, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    *owner = Owner();
    ui::testing::WindowHost fresh{InputHarness(owner)};
    fresh.settle();
    fresh.type(fresh.find(textField("")), c.typed);
    appkit::handleLocalEvent(Event::keyEvent(EventType::keyDown, Quillo::kReturnKeyCode, {}, "\r"));
    fresh.settle();
    EXPECT_EQ(owner->sent, c.sent);
    EXPECT_EQ(owner->clears, c.clears);
    EXPECT_EQ(fresh.find(textField("")).primitive<ui::detail::TextInputSpec>()->text.get(), c.textAfter);
  }
}

TEST_F(MainChatInputTest, ReturnWhileAReplyArrivesKeepsTheText) {
  type("first");
  pressReturn();
  type("second");
  pressReturn();
  EXPECT_EQ(owner->sent, std::vector<std::string>{"first"});
  EXPECT_EQ(text(), "second");
}

TEST_F(MainChatInputTest, SendIsDisabledForAnEmptyTextAndSendsTheCommandAsAMessage) {
  host.tap(button("Send"));
  EXPECT_TRUE(owner->sent.empty());
  type("/clear");
  host.tap(button("Send"));
  EXPECT_EQ(owner->sent, std::vector<std::string>{"/clear"});
  EXPECT_EQ(owner->clears, 0);
}

TEST_F(MainChatInputTest, WhileWritingStopReplacesSendAndCancelsTheHeldTask) {
  type("Hi");
  host.tap(button("Send"));
  EXPECT_FALSE(host.exists(button("Send")));
  EXPECT_EQ(host.find(button("Stop")).help(), "Stop generating");
  host.tap(button("Stop"));  // no task held: nothing happens
  EXPECT_TRUE(host.exists(ui::testing::text("writing")));

  auto* harness = host.find(ui::testing::type<InputHarness>()).node().instance();
  ASSERT_NE(harness, nullptr);
  const auto& state = static_cast<const InputHarness&>(*harness);
  concurrency::Task<void> reply([] {
    while (!concurrency::isCancelled()) concurrency::sleep(std::chrono::milliseconds(1));
  });
  state.task_.set(reply);
  host.settle();
  host.tap(button("Stop"));
  EXPECT_TRUE(reply.isCancelled());
  reply.onFinishOnMain([](const concurrency::Task<void>&) {});
  EXPECT_TRUE(host.runUntil([&] { return reply.isFinished(); }));
  // The bar leaves the flag and the task to their owner.
  EXPECT_TRUE(host.exists(ui::testing::text("writing")));
}

TEST_F(MainChatInputTest, FocusReturnsToTheEditorAfterASend) {
  auto* harness = host.find(ui::testing::type<InputHarness>()).node().instance();
  const auto& state = static_cast<const InputHarness&>(*harness);
  state.focus_.set(false);
  host.settle();
  type("Hi");
  host.tap(button("Send"));
  EXPECT_TRUE(*state.focus_);
}

TEST_F(MainChatInputTest, ReturnDoesNothingWhenTheEditorIsNotFocused) {
  auto* harness = host.find(ui::testing::type<InputHarness>()).node().instance();
  const auto& state = static_cast<const InputHarness&>(*harness);
  type("Hi");
  state.focus_.set(false);
  host.settle();
  auto passed =
      appkit::handleLocalEvent(Event::keyEvent(EventType::keyDown, Quillo::kReturnKeyCode, {}, "\r"));
  EXPECT_TRUE(passed.has_value());
  EXPECT_TRUE(owner->sent.empty());
}

TEST_F(MainChatInputTest, HoldingReturnSendsForEveryRepeatWhileTheConditionsHold) {
  int submits = 0;
  Quillo::MultilineEditor::KeyContext context;
  auto window = host.windowPointer();
  context.nsWindow = window;
  context.isFocused = [] { return true; };
  context.onSubmit = [&] { ++submits; };
  for (int i = 0; i < 3; ++i) {
    auto passed = Quillo::MultilineEditor::handleKeyDown(
        context, Event::keyEvent(EventType::keyDown, Quillo::kReturnKeyCode, {}, "\r"));
    EXPECT_FALSE(passed.has_value());
  }
  EXPECT_EQ(submits, 3);
  // Before the text view's window is known every event passes.
  context.nsWindow.reset();
  EXPECT_TRUE(Quillo::MultilineEditor::handleKeyDown(
                  context, Event::keyEvent(EventType::keyDown, Quillo::kReturnKeyCode, {}, "\r"))
                  .has_value());
  EXPECT_EQ(submits, 3);
}

TEST_F(MainChatInputTest, AfterTheEditorDisappearsReturnNoLongerSends) {
  const auto monitors = appkit::localMonitorCount();
  host.hide();
  EXPECT_EQ(appkit::localMonitorCount(), monitors - 1);
  type("Hi");
  auto passed =
      appkit::handleLocalEvent(Event::keyEvent(EventType::keyDown, Quillo::kReturnKeyCode, {}, "\r"));
  EXPECT_TRUE(passed.has_value());
  EXPECT_TRUE(owner->sent.empty());
  host.show();
  EXPECT_EQ(appkit::localMonitorCount(), monitors);
}

TEST_F(MainChatInputTest, TheEditorGrowsLineByLineUpToTenLines) {
  const auto font = ui::Font::system(13);
  const double line = ui::defaultTextMeasurer()->lineHeight(font);
  EXPECT_EQ(Quillo::multilineEditorHeight("", font, 10), line);
  EXPECT_EQ(Quillo::multilineEditorHeight("a\nb\nc", font, 10), 3 * line);
  EXPECT_EQ(Quillo::multilineEditorHeight(std::string(20, '\n'), font, 10), 10 * line);
}

TEST_F(MainChatInputTest, TheBarIsLaidOutAsDesigned) {
  auto bar = host.find(ui::testing::type<Quillo::MainChatInput>());
  auto stack = bar.find(ui::testing::type("HStack"));
  EXPECT_EQ(stack.primitive<ui::detail::StackSpec>()->spacing, 6);
  EXPECT_EQ(stack.padding(), (ui::EdgeInsets{6, 12, 6, 12}));
  EXPECT_EQ(host.find(button("Send")).help(), "Send your message");
  auto measuring = host.find(ui::testing::text("Send a message…"));
  auto* limit = measuring.modifier<Quillo::LineLimitModifier>();
  ASSERT_NE(limit, nullptr);
  EXPECT_EQ(limit->lines, 10);
  EXPECT_EQ(measuring.font(), ui::Font::system(13));
}

}  // namespace
