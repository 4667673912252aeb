// Colours of the application kit's own objects (a window's background), as sRGB components with opacity.
#pragma once

namespace appkit {

struct Color {
  double red = 0;
  double green = 0;
  double blue = 0;
  double alpha = 1;

  // Nothing at all: fully transparent.
  static constexpr Color clear() { return {0, 0, 0, 0}; }
  // The background of an ordinary window in light appearance.
  static constexpr Color windowBackgroundColor() { return {236.0 / 255, 236.0 / 255, 236.0 / 255, 1}; }
  bool isClear() const { return alpha <= 0; }
  bool operator==(const Color&) const = default;
};

}  // namespace appkit
