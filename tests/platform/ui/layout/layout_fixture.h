// Lays out a hosted view with the fixed-metric measurer: every text is set in a 16-point font, so a
// character is 8 points wide and a line 20 points high.
#pragma once

#include <limits>
#include <memory>
#include <string>

#include "platform/ui/inspector.h"
#include "platform/ui/layout/layout_pass.h"

namespace ui {

inline constexpr double infinity = std::numeric_limits<double>::infinity();

inline void PrintTo(const Rect& r, std::ostream* out) {
  *out << "(" << r.minX() << ", " << r.minY() << ", " << r.width() << ", " << r.height() << ")";
}
inline void PrintTo(const Size& s, std::ostream* out) { *out << "(" << s.width << " x " << s.height << ")"; }

class LaidOut {
 public:
  LaidOut(AnyView view, Size space) : host_(view.font(Font::system(16))) {
    pass_.layout(*host_.graph().root(), space);
  }
  Rect frame(const testing::ViewQuery& query, std::size_t index = 0) {
    auto found = pass_.frame(host_.find(query, index).node());
    if (!found) throw testing::InspectionError("not placed: " + query.description());
    return *found;
  }
  std::optional<Rect> controlFrame(const testing::ViewQuery& query) {
    return pass_.controlFrame(host_.find(query).node());
  }
  bool isPlaced(const testing::ViewQuery& query) { return pass_.frame(host_.find(query).node()).has_value(); }
  Size contentSize(const testing::ViewQuery& query) { return *pass_.contentSize(host_.find(query).node()); }
  testing::Host& host() { return host_; }

 private:
  testing::Host host_;
  LayoutPass pass_{std::make_shared<FixedMetricTextMeasurer>()};
};

}  // namespace ui
