// The outlines of shapes as Cairo paths: rectangles, rounded rectangles with circular or continuous
// corners, circles, ellipses and capsules.
#pragma once

#include <cairo.h>

#include "platform/foundation/geometry.h"
#include "platform/ui/view_values.h"

namespace render {

// Adds the outline of `shape` in `frame` to the current path, as a closed sub-path.
void addOutline(cairo_t* cr, const ui::ShapeOutline& shape, const foundation::Rect& frame);

// A rounded rectangle; continuous corners start farther from the corner and bend in more gently than
// circular arcs of the same radius, without a kink where the straight edge meets the curve.
void addRoundedRectangle(cairo_t* cr, const foundation::Rect& frame, double radius, ui::CornerStyle style);

}  // namespace render
