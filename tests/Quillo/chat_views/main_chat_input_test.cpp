// The chat input bar and its editor, used as a person would through a hosted window: typing, Return and
// its modified forms, the Send and Stop buttons, the "/clear" command and where keyboard focus goes, with
// other fields and other windows about.
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
#include "platform/appkit/key_codes.h"
#include "platform/appkit/responder.h"
#include "platform/ui/focus_state.h"
#include "platform/ui/hosting.h"
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
  int otherSubmits = 0;
};

// The bar with the state its owner keeps, the owner's send doing what the native chat's does: empty the
// text and mark a reply in progress. Below it, another field of the same window.
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
                          [owner] { ++owner->clears; }),
                      ui::TextField("Other", other_.binding()).onSubmit([owner] { ++owner->otherSubmits; }));
  }
  ui::State<std::string> text_{""};
  ui::State<bool> isWriting_{false};
  ui::State<concurrency::Task<void>> task_;
  ui::FocusState<bool> focus_;
  ui::State<std::string> other_{""};

 private:
  std::shared_ptr<Owner> owner_;
};

class MainChatInputTest : public ::testing::Test {
 protected:
  MainChatInputTest() : owner(std::make_shared<Owner>()), host(InputHarness(owner), {400, 300}) {
    host.settle();
  }

  ui::testing::ViewRef field() { return host.find(ui::testing::type("TextEditor")); }
  // Typed key by key into whatever has focus.
  void type(const std::string& text) { host.typeText(text); }
  std::string text() { return field().primitive<ui::detail::TextInputSpec>()->text.get(); }
  const InputHarness& harness() {
    return static_cast<const InputHarness&>(*host.find(ui::testing::type<InputHarness>()).node().instance());
  }

  // The application receives a key-down: its monitors first, then the key window's first responder.
  void press(std::uint16_t keyCode, ModifierFlags flags = {}) { host.press(keyCode, flags); }
  void pressReturn() { host.pressReturn(); }

  std::shared_ptr<Owner> owner;
  ui::testing::WindowHost host;
};

TEST_F(MainChatInputTest, ShowsThePlaceholderAndFocusesTheEditorWhenShown) {
  EXPECT_TRUE(host.exists(ui::testing::text("Send a message…")));
  auto placeholder = host.find(ui::testing::text("Send a message…"));
  EXPECT_EQ(placeholder.opacity(), 1);
  EXPECT_TRUE(*harness().focus_);
  EXPECT_TRUE(host.hasFocus(field()));
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
  press(appkit::KeyCode::keypadEnter);
  EXPECT_TRUE(owner->sent.empty());
  // Every one reached the text view, which breaks the line for all but Command-Return (a shortcut).
  EXPECT_EQ(text(), "line\n\n\n\n\n");
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
    ui::testing::WindowHost fresh{InputHarness(owner), {400, 300}};
    fresh.typeText(c.typed);
    fresh.pressReturn();
    EXPECT_EQ(owner->sent, c.sent);
    EXPECT_EQ(owner->clears, c.clears);
    EXPECT_EQ(fresh.find(ui::testing::type("TextEditor")).primitive<ui::detail::TextInputSpec>()->text.get(),
              c.textAfter);
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

  const auto& state = harness();
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
  type("Hi");
  host.click(textField("Other"));
  EXPECT_FALSE(*harness().focus_);
  host.tap(button("Send"));
  EXPECT_TRUE(*harness().focus_);
  EXPECT_TRUE(host.hasFocus(field()));
}

TEST_F(MainChatInputTest, ReturnDoesNothingWhenTheEditorIsNotFocused) {
  type("Hi");
  harness().focus_.set(false);
  host.settle();
  EXPECT_EQ(host.firstResponder(), nullptr);
  pressReturn();
  EXPECT_TRUE(owner->sent.empty());
  EXPECT_EQ(text(), "Hi");
}

TEST_F(MainChatInputTest, WithAnotherFieldFocusedReturnGoesThereAndTheDraftStays) {
  type("Draft");
  host.click(textField("Other"));
  EXPECT_TRUE(host.hasFocus(textField("Other")));
  EXPECT_FALSE(*harness().focus_);
  type("note");
  pressReturn();
  EXPECT_TRUE(owner->sent.empty());
  EXPECT_EQ(owner->otherSubmits, 1);
  EXPECT_EQ(text(), "Draft");
  EXPECT_EQ(host.find(textField("Other")).primitive<ui::detail::TextInputSpec>()->text.get(), "note");

  // Back in the editor, Return sends the draft.
  host.click(field());
  EXPECT_TRUE(*harness().focus_);
  pressReturn();
  EXPECT_EQ(owner->sent, std::vector<std::string>{"Draft"});
  EXPECT_EQ(owner->otherSubmits, 1);
}

TEST_F(MainChatInputTest, TwoInputsInTwoWindowsSendOnlyFromTheKeyWindow) {
  // The popover's chat beside the main window's: a second window with an input of its own.
  auto popoverOwner = std::make_shared<Owner>();
  auto popover = std::make_shared<appkit::Window>(ui::Rect(0, 0, 400, 300));
  popover->setContentView(ui::HostingView::make(InputHarness(popoverOwner), ui::Rect(0, 0, 400, 300)));
  host.settle();
  popover->makeKeyWindow();
  host.typeText("from the popover");
  host.window().makeKeyWindow();
  type("from the window");

  // Both editors have their window's focus; one Return sends from the key window's only.
  pressReturn();
  EXPECT_EQ(owner->sent, std::vector<std::string>{"from the window"});
  EXPECT_TRUE(popoverOwner->sent.empty());

  popover->makeKeyWindow();
  host.pressReturn();
  EXPECT_EQ(popoverOwner->sent, std::vector<std::string>{"from the popover"});
  EXPECT_EQ(owner->sent, std::vector<std::string>{"from the window"});
  popover->setContentView(nullptr);
  host.settle();
}

// The editor alone, focused, counting its submissions.
class EditorHarness final : public ui::View {
 public:
  explicit EditorHarness(std::shared_ptr<int> submits) : submits_(std::move(submits)) {}
  ui::AnyView body() const override {
    auto submits = submits_;
    return ui::AnyView(Quillo::MultilineEditor(
                           text_.binding(), "Say something", 10, ui::Font::system(13),
                           [submits] { ++*submits; }, focus_.binding()))
        .onAppear([focus = focus_] { focus.set(true); });
  }
  ui::State<std::string> text_{"held"};
  ui::FocusState<bool> focus_;

 private:
  std::shared_ptr<int> submits_;
};

TEST(MultilineEditor, HoldingReturnSubmitsForEveryRepeatAndInsertsNothing) {
  auto submits = std::make_shared<int>(0);
  ui::testing::WindowHost host{EditorHarness(submits), {300, 200}};
  for (int i = 0; i < 3; ++i) host.pressReturn();
  EXPECT_EQ(*submits, 3);
  EXPECT_EQ(host.find(ui::testing::type("TextEditor")).primitive<ui::detail::TextInputSpec>()->text.get(),
            "held");
  // A window that is not key gets no submission.
  host.window().resignKeyWindow();
  host.pressReturn();
  EXPECT_EQ(*submits, 3);
}

TEST_F(MainChatInputTest, AfterTheEditorDisappearsReturnNoLongerSends) {
  const auto monitors = appkit::localMonitorCount();
  type("Hi");
  host.hide();
  EXPECT_EQ(appkit::localMonitorCount(), monitors - 1);
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
