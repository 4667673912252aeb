// Hosts a view in a window laid out with the fixed-metric text measurer and prints geometry readably.
#pragma once

#include <limits>
#include <ostream>

#include "platform/ui/layout/layout.h"
#include "platform/ui/modifiers.h"
#include "platform/ui/views.h"
#include "platform/ui/window_host.h"

namespace ui {
inline void PrintTo(const Rect& r, std::ostream* out) {
  *out << "(" << r.minX() << ", " << r.minY() << ", " << r.width() << ", " << r.height() << ")";
}
inline void PrintTo(const Size& s, std::ostream* out) { *out << "(" << s.width << " x " << s.height << ")"; }
}  // namespace ui

namespace MarkdownRender::testing {

inline constexpr double infinity = std::numeric_limits<double>::infinity();

// A block of colour of a fixed size.
inline ui::AnyView block(double width, double height) {
  return ui::AnyView(ui::Color::red()).frame(width, height);
}

// `view` in the top-left corner of a window of `space`, offered exactly that space.
inline ui::AnyView inCorner(const ui::AnyView& view, ui::Size space) {
  return view.frame(space.width, space.height, ui::Alignment::topLeading());
}

}  // namespace MarkdownRender::testing
