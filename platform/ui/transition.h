// Transitions: how a view enters and leaves the tree when a change is animated, kept as data.
#pragma once

#include <string>

#include "platform/ui/view_spec.h"
#include "platform/ui/view_values.h"

namespace ui {

struct Transition {
  enum class Kind { identity, opacity, move, slide, scale };
  Kind kind = Kind::opacity;
  Edges edge = Edges::leading;  // where a move comes from and goes to

  static Transition identity() { return {Kind::identity}; }
  static Transition opacity() { return {Kind::opacity}; }
  static Transition move(Edges edge) { return {Kind::move, edge}; }
  static Transition slide() { return {Kind::slide}; }
  static Transition scale() { return {Kind::scale}; }
  bool operator==(const Transition&) const = default;
};

struct TransitionModifier final : detail::Modifier {
  Transition transition;
  std::string name() const override { return "transition"; }
  std::string describe() const override;
};

}  // namespace ui
