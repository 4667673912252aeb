// The spinning indicator of work whose length is not known, at the platform's regular size.
#pragma once

#include "platform/ui/view.h"

namespace ui {

// The side of the regular spinner, in points.
inline constexpr double kProgressViewSide = 32;

// A spinner: the built-in view "ProgressView", kProgressViewSide square.
AnyView ProgressView();

}  // namespace ui
