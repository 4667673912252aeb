// How a shape's outline is stroked: width, line ends, corners and dash pattern.
#pragma once

#include <vector>

namespace ui {

struct StrokeStyle {
  enum class LineCap { butt, round, square };
  enum class LineJoin { miter, round, bevel };
  double lineWidth = 1;
  LineCap lineCap = LineCap::butt;
  LineJoin lineJoin = LineJoin::miter;
  double miterLimit = 10;
  std::vector<double> dash;  // lengths of dashes and gaps in turn; empty: a solid line
  double dashPhase = 0;
  bool operator==(const StrokeStyle&) const = default;
};

}  // namespace ui
