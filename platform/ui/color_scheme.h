// The appearance a view is shown in: light or dark.
#pragma once

#include <array>

namespace ui {

enum class ColorScheme { light, dark };

inline constexpr std::array<ColorScheme, 2> allColorSchemes{ColorScheme::light, ColorScheme::dark};

}  // namespace ui
