#include "platform/render/shapes.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

// How far a continuous corner reaches along each edge, and where its control points lie, in multiples of
// the radius. The curve leaves each edge tangentially and passes the diagonal as close to the corner as a
// circular arc of the same radius does.
constexpr double continuousReach = 1.528;
constexpr double continuousControl = 0.2717;
// The control points of a cubic that follows a quarter circle.
constexpr double circularControl = 0.4477;

}  // namespace

void addRoundedRectangle(cairo_t* cr, const foundation::Rect& frame, double radius, ui::CornerStyle style) {
  const double x = frame.minX(), y = frame.minY(), w = frame.width(), h = frame.height();
  const double limit = std::min(w, h) / 2;
  radius = std::clamp(std::isfinite(radius) ? radius : 0.0, 0.0, limit);
  if (radius <= 0) {
    cairo_rectangle(cr, x, y, w, h);
    return;
  }
  double reach = radius, control = radius * circularControl;
  if (style == ui::CornerStyle::continuous) {
    // A corner too large for the rectangle keeps its shape, scaled down to fit.
    reach = std::min(radius * continuousReach, limit);
    control = reach * (continuousControl / continuousReach);
  }
  cairo_new_sub_path(cr);
  cairo_move_to(cr, x + reach, y);
  cairo_line_to(cr, x + w - reach, y);
  cairo_curve_to(cr, x + w - control, y, x + w, y + control, x + w, y + reach);
  cairo_line_to(cr, x + w, y + h - reach);
  cairo_curve_to(cr, x + w, y + h - control, x + w - control, y + h, x + w - reach, y + h);
  cairo_line_to(cr, x + reach, y + h);
  cairo_curve_to(cr, x + control, y + h, x, y + h - control, x, y + h - reach);
  cairo_line_to(cr, x, y + reach);
  cairo_curve_to(cr, x, y + control, x + control, y, x + reach, y);
  cairo_close_path(cr);
}

void addOutline(cairo_t* cr, const ui::ShapeOutline& shape, const foundation::Rect& frame) {
  using Kind = ui::ShapeOutline::Kind;
  switch (shape.kind) {
    case Kind::rectangle:
      cairo_rectangle(cr, frame.minX(), frame.minY(), frame.width(), frame.height());
      return;
    case Kind::roundedRectangle:
      addRoundedRectangle(cr, frame, shape.cornerRadius, shape.cornerStyle);
      return;
    case Kind::capsule:
      addRoundedRectangle(cr, frame, std::min(frame.width(), frame.height()) / 2, ui::CornerStyle::circular);
      return;
    case Kind::circle: {
      const double radius = std::min(frame.width(), frame.height()) / 2;
      cairo_new_sub_path(cr);
      cairo_arc(cr, frame.midX(), frame.midY(), radius, 0, 2 * M_PI);
      cairo_close_path(cr);
      return;
    }
    case Kind::ellipse:
      if (frame.isEmpty()) return;
      cairo_save(cr);
      cairo_translate(cr, frame.midX(), frame.midY());
      cairo_scale(cr, frame.width() / 2, frame.height() / 2);
      cairo_new_sub_path(cr);
      cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
      cairo_close_path(cr);
      cairo_restore(cr);
      return;
  }
}

}  // namespace render
