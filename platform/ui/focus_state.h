// Keyboard focus as view state: which field of a view has focus, read and moved by the view.
#pragma once

#include <optional>
#include <utility>

#include "platform/ui/binding.h"
#include "platform/ui/state.h"

namespace ui {

// Focus of one field (`FocusState<bool>`) or of one of several (`FocusState<std::optional<Field>>`). It is
// view state: kept at the view's place in the tree. `focused` modifiers connect fields to it; moving the
// focus to a field (a person clicking it, or the inspector's focus()) writes it.
template <class T>
class FocusState : public State<T> {
 public:
  FocusState() : State<T>(T{}) {}
};

}  // namespace ui
