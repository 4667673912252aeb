// How a line through or under text is drawn: its pattern and, optionally, its own colour.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include "platform/ui/color.h"

namespace ui {

struct LineStyle {
  enum class Pattern { solid, dot, dash, dashDot, dashDotDot };

  Pattern pattern = Pattern::solid;
  std::optional<Color> color;  // absent: the colour of the text

  // One solid line in the colour of the text.
  static LineStyle single() { return {}; }

  bool operator==(const LineStyle&) const = default;
};

}  // namespace ui

template <>
struct std::hash<ui::LineStyle> {
  std::size_t operator()(const ui::LineStyle& style) const {
    const std::size_t pattern = static_cast<std::size_t>(style.pattern);
    return style.color ? pattern ^ (std::hash<ui::Color>{}(*style.color) << 1) : pattern;
  }
};
