// Escape in a text field: the exit command of the nearest view around the field.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/appkit/key_codes.h"
#include "platform/ui/state.h"
#include "platform/ui/text_field_modifiers.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace {

using namespace ui;
using ui::testing::textField;
using ui::testing::WindowHost;

// A field whose exit command counts, inside a stack whose own exit command counts too, and a field
// without any.
struct Counts {
  int field = 0;
  int stack = 0;
};

AnyView fields(const std::shared_ptr<Counts>& counts, State<std::string> text) {
  auto withCommand = onExitCommand(TextField("Query", text.binding()), [counts] { ++counts->field; });
  return VStack(withCommand, TextField("Plain", text.binding()));
}

TEST(ExitCommand, EscapeInAFieldRunsTheNearestExitCommandOnly) {
  auto counts = std::make_shared<Counts>();
  State<std::string> text{""};
  WindowHost host{onExitCommand(fields(counts, text), [counts] { ++counts->stack; }), {300, 200}};
  host.click(textField("Query"));
  host.press(appkit::KeyCode::escape);
  EXPECT_EQ(counts->field, 1);
  EXPECT_EQ(counts->stack, 0);
  // Around the plain field the stack's command is the nearest.
  host.click(textField("Plain"));
  host.press(appkit::KeyCode::escape);
  EXPECT_EQ(counts->field, 1);
  EXPECT_EQ(counts->stack, 1);
}

TEST(ExitCommand, EscapeWithoutAnExitCommandLeavesTheFieldAsItWas) {
  auto counts = std::make_shared<Counts>();
  State<std::string> text{"draft"};
  WindowHost host{fields(counts, text), {300, 200}};
  host.click(textField("Plain"));
  host.press(appkit::KeyCode::escape);
  EXPECT_EQ(counts->field, 0);
  EXPECT_EQ(host.find(textField("Plain")).primitive<detail::TextInputSpec>()->text.get(), "draft");
  EXPECT_FALSE(performExitCommand(host.find(textField("Plain")).node()));
  EXPECT_TRUE(performExitCommand(host.find(textField("Query")).node()));
  EXPECT_EQ(counts->field, 1);
}

TEST(TextFieldStyle, IsReadBackFromTheField) {
  State<std::string> text{""};
  WindowHost host{textFieldStyle(TextField("Query", text.binding()), TextFieldStyle::plain), {300, 100}};
  auto* style = host.find(textField("Query")).modifier<TextFieldStyleModifier>();
  ASSERT_TRUE(style);
  EXPECT_EQ(style->style, TextFieldStyle::plain);
  EXPECT_EQ(style->describe(), "textFieldStyle(plain)");
}

}  // namespace
