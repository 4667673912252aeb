#include "platform/ui/text_field_modifiers.h"

#include <memory>
#include <utility>

#include "platform/ui/view_graph.h"

namespace ui {

AnyView onExitCommand(const AnyView& view, std::function<void()> action) {
  auto m = std::make_shared<ExitCommandModifier>();
  m->action = std::move(action);
  return view.modifier(std::move(m));
}

bool performExitCommand(const detail::Node& field) {
  for (const detail::Node* current = &field; current; current = current->parent()) {
    if (auto* m = current->modifierAs<ExitCommandModifier>(); m && m->action) {
      // A copy: the command may change state that re-evaluates (and replaces) this modifier.
      auto action = m->action;
      action();
      return true;
    }
  }
  return false;
}

std::string TextFieldStyleModifier::describe() const {
  switch (style) {
    case TextFieldStyle::automatic:
      return "textFieldStyle(automatic)";
    case TextFieldStyle::roundedBorder:
      return "textFieldStyle(roundedBorder)";
    case TextFieldStyle::plain:
      return "textFieldStyle(plain)";
  }
  return "textFieldStyle";
}

AnyView textFieldStyle(const AnyView& view, TextFieldStyle style) {
  auto m = std::make_shared<TextFieldStyleModifier>();
  m->style = style;
  return view.modifier(std::move(m));
}

}  // namespace ui
