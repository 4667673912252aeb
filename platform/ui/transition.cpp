#include "platform/ui/transition.h"

namespace ui {

std::string TransitionModifier::describe() const {
  switch (transition.kind) {
    case Transition::Kind::identity:
      return "transition(identity)";
    case Transition::Kind::opacity:
      return "transition(opacity)";
    case Transition::Kind::slide:
      return "transition(slide)";
    case Transition::Kind::scale:
      return "transition(scale)";
    case Transition::Kind::move:
      break;
  }
  const Edges edge = transition.edge;
  const char* name = edge == Edges::top        ? "top"
                     : edge == Edges::bottom   ? "bottom"
                     : edge == Edges::trailing ? "trailing"
                                               : "leading";
  return std::string("transition(move(edge: ") + name + "))";
}

}  // namespace ui
