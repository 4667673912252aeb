// What a text field does besides holding text: the exit command (Escape while it is being edited) and
// the style it is drawn in. Both are plain modifiers that the inspector reads back.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/view.h"

namespace ui {

// Runs when Escape is pressed in a text field inside the modified view. The nearest one around the field
// takes the key; a field with none around it lets Escape go on to the window.
struct ExitCommandModifier final : detail::Modifier {
  std::function<void()> action;
  std::string name() const override { return "onExitCommand"; }
};
AnyView onExitCommand(const AnyView& view, std::function<void()> action);

// Runs the exit command nearest to `field` (the field itself or a view around it). Returns whether there
// was one.
bool performExitCommand(const detail::Node& field);

// How text fields inside the modified view are drawn: the platform's bezel (automatic, roundedBorder) or
// the bare text (plain: no border, no background).
enum class TextFieldStyle { automatic, roundedBorder, plain };

struct TextFieldStyleModifier final : detail::Modifier {
  TextFieldStyle style = TextFieldStyle::automatic;
  std::string name() const override { return "textFieldStyle"; }
  std::string describe() const override;
};
AnyView textFieldStyle(const AnyView& view, TextFieldStyle style);

}  // namespace ui
