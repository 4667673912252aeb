// Keyboard focus in a hosted window: one first responder per window, moved by clicks, Tab and Shift-Tab
// and the views' focus states, with key presses going to the key window's first responder.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/event.h"
#include "platform/appkit/event_dispatch.h"
#include "platform/appkit/key_codes.h"
#include "platform/appkit/responder.h"
#include "platform/appkit/window.h"
#include "platform/ui/focus_state.h"
#include "platform/ui/hosting.h"
#include "platform/ui/state.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace {

using namespace ui;
using ui::testing::textField;
using ui::testing::WindowHost;

// Three fields connected to one focus state, with the field the state names shown as text, a button
// that moves focus to the last field and one that takes focus away, and a field that is disabled.
class Fields final : public View {
 public:
  enum class Field { name, mail, note };

  AnyView body() const override {
    auto focus = focus_;
    const auto field = [&](const char* title, Binding<std::string> text, Field which) {
      return TextField(title, std::move(text)).focused(focus_.binding(), which);
    };
    const char* shown = !*focus_                 ? "focus: none"
                        : *focus_ == Field::name ? "focus: name"
                        : *focus_ == Field::mail ? "focus: mail"
                                                 : "focus: note";
    return VStack(Text::verbatim(shown), field("Name", name_.binding(), Field::name),
                  field("Mail", mail_.binding(), Field::mail),
                  TextField("Locked", locked_.binding()).disabled(true),
                  field("Note", note_.binding(), Field::note),
                  Button("Write a note", [focus] { focus.set(Field::note); }),
                  Button("Done", [focus] { focus.set(std::nullopt); }));
  }

  FocusState<std::optional<Field>> focus_;
  State<std::string> name_{""};
  State<std::string> mail_{""};
  State<std::string> locked_{"fixed"};
  State<std::string> note_{""};
};

std::string fieldText(WindowHost& host, const std::string& title) {
  return host.find(textField(title)).primitive<detail::TextInputSpec>()->text.get();
}

TEST(KeyboardFocus, AClickGivesAFieldFocusAndItsFocusStateFollows) {
  WindowHost host{Fields(), {300, 400}};
  EXPECT_EQ(host.firstResponder(), nullptr);
  EXPECT_TRUE(host.exists(ui::testing::text("focus: none")));

  host.click(textField("Mail"));
  EXPECT_TRUE(host.hasFocus(textField("Mail")));
  EXPECT_TRUE(host.exists(ui::testing::text("focus: mail")));

  host.click(textField("Name"));
  EXPECT_TRUE(host.hasFocus(textField("Name")));
  EXPECT_FALSE(host.hasFocus(textField("Mail")));
  EXPECT_TRUE(host.exists(ui::testing::text("focus: name")));

  // A click on a button leaves focus where it was.
  host.click(ui::testing::button("Write a note"));
  EXPECT_TRUE(host.hasFocus(textField("Note")));
  EXPECT_TRUE(host.exists(ui::testing::text("focus: note")));
}

TEST(KeyboardFocus, TabAndShiftTabWalkTheFieldsInOrderAndSkipADisabledOne) {
  WindowHost host{Fields(), {300, 400}};
  const char* const forward[] = {"Name", "Mail", "Note", "Name"};
  for (const char* title : forward) {
    SCOPED_TRACE(title);
    host.pressTab();
    EXPECT_TRUE(host.hasFocus(textField(title)));
  }
  host.pressShiftTab();
  EXPECT_TRUE(host.hasFocus(textField("Note")));
  EXPECT_TRUE(host.exists(ui::testing::text("focus: note")));
  EXPECT_FALSE(host.hasFocus(textField("Locked")));
}

TEST(KeyboardFocus, TheFocusStateMovesAndTakesTheWindowsFocus) {
  WindowHost host{Fields(), {300, 400}};
  host.tap(ui::testing::button("Write a note"));
  EXPECT_TRUE(host.hasFocus(textField("Note")));

  host.tap(ui::testing::button("Done"));
  EXPECT_EQ(host.firstResponder(), nullptr);
  EXPECT_TRUE(host.exists(ui::testing::text("focus: none")));
}

TEST(KeyboardFocus, KeysGoToTheFocusedFieldOnly) {
  WindowHost host{Fields(), {300, 400}};
  host.typeText("lost");  // nothing has focus yet
  host.click(textField("Mail"));
  host.typeText("ann@example.com");
  host.press(appkit::KeyCode::deleteBackward);
  EXPECT_EQ(fieldText(host, "Mail"), "ann@example.co");
  EXPECT_EQ(fieldText(host, "Name"), "");
  EXPECT_EQ(fieldText(host, "Note"), "");
}

TEST(KeyboardFocus, ADisabledFieldTakesNeitherFocusNorKeys) {
  WindowHost host{Fields(), {300, 400}};
  host.click(textField("Name"));
  host.click(textField("Locked"));
  EXPECT_TRUE(host.hasFocus(textField("Name")));
  host.typeText("x");
  EXPECT_EQ(fieldText(host, "Locked"), "fixed");
  EXPECT_EQ(fieldText(host, "Name"), "x");
}

// A field that can be switched off while it has focus.
class Switchable final : public View {
 public:
  AnyView body() const override {
    auto isOff = isOff_;
    return VStack(TextField("Field", text_.binding()).focused(focus_.binding()).disabled(*isOff_),
                  Toggle("Off", isOff_.binding()), Text::verbatim(*focus_ ? "focused" : "not focused"));
  }
  FocusState<bool> focus_;
  State<bool> isOff_{false};
  State<std::string> text_{""};
};

TEST(KeyboardFocus, DisablingTheFocusedFieldTakesItsFocus) {
  WindowHost host{Switchable(), {300, 200}};
  host.click(textField("Field"));
  EXPECT_TRUE(host.exists(ui::testing::text("focused")));
  host.click(ui::testing::toggle("Off"));
  EXPECT_EQ(host.firstResponder(), nullptr);
  EXPECT_TRUE(host.exists(ui::testing::text("not focused")));
}

// A view whose field takes focus as soon as it is shown, as pages asking for one value do.
class FocusedWhenShown final : public View {
 public:
  AnyView body() const override {
    return TextField("Key", text_.binding()).focused(focus_.binding()).onAppear([focus = focus_] {
      focus.set(true);
    });
  }
  FocusState<bool> focus_;
  State<std::string> text_{""};
};

TEST(KeyboardFocus, FocusSetBeforeTheViewIsInAWindowTakesEffectInTheWindow) {
  WindowHost host{FocusedWhenShown(), {300, 100}};
  EXPECT_TRUE(host.hasFocus(textField("Key")));
  host.typeText("sk-1");
  EXPECT_EQ(fieldText(host, "Key"), "sk-1");
}

TEST(KeyboardFocus, EachWindowHasItsOwnFirstResponderAndKeysGoToTheKeyWindow) {
  WindowHost host{FocusedWhenShown(), {300, 100}};
  auto other = std::make_shared<appkit::Window>(Rect(0, 0, 300, 100));
  State<std::string> otherText{""};
  auto otherView = HostingView::make(
      TextField("Other", Binding<std::string>([&otherText] { return otherText.get(); },
                                              [&otherText](std::string text) { otherText.set(text); })),
      Rect(0, 0, 300, 100));
  other->setContentView(otherView);
  host.settle();

  // A click into the other window makes it key and gives its field focus; the first window keeps its own.
  const auto field = otherView->subviews().front()->subviews().front();
  appkit::dispatchEvent(appkit::Event::mouseEvent(appkit::EventType::leftMouseDown, {150, 50}), other);
  appkit::dispatchEvent(appkit::Event::mouseEvent(appkit::EventType::leftMouseUp, {150, 50}), other);
  host.settle();
  EXPECT_TRUE(other->isKeyWindow());
  EXPECT_EQ(appkit::firstResponder(*other), field);
  EXPECT_TRUE(host.hasFocus(textField("Key")));

  host.typeText("b");
  EXPECT_EQ(otherText.get(), "b");
  EXPECT_EQ(fieldText(host, "Key"), "");

  host.window().makeKeyWindow();
  host.typeText("a");
  EXPECT_EQ(fieldText(host, "Key"), "a");
  EXPECT_EQ(otherText.get(), "b");
  other->setContentView(nullptr);
}

}  // namespace
