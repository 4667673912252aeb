// Small geometry values shared by the desktop and the layers above it: point, size, rectangle.
#pragma once

#include <algorithm>

namespace foundation {

struct Point {
  double x = 0;
  double y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  double width = 0;
  double height = 0;
  bool operator==(const Size&) const = default;
};

// A rectangle by origin (its minimum corner) and size; sizes are expected to be non-negative.
struct Rect {
  Point origin;
  Size size;

  Rect() = default;
  Rect(Point origin, Size size) : origin(origin), size(size) {}
  Rect(double x, double y, double width, double height) : origin{x, y}, size{width, height} {}

  double minX() const { return origin.x; }
  double minY() const { return origin.y; }
  double maxX() const { return origin.x + size.width; }
  double maxY() const { return origin.y + size.height; }
  double midX() const { return origin.x + size.width / 2; }
  double midY() const { return origin.y + size.height / 2; }
  double width() const { return size.width; }
  double height() const { return size.height; }
  // Whether the rectangle has no area.
  bool isEmpty() const { return size.width <= 0 || size.height <= 0; }
  // Whether a point lies inside (minimum edges included, maximum edges excluded).
  bool contains(Point p) const { return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY(); }
  // Whether the two rectangles overlap with a non-empty area.
  bool intersects(const Rect& other) const {
    return std::max(minX(), other.minX()) < std::min(maxX(), other.maxX()) &&
           std::max(minY(), other.minY()) < std::min(maxY(), other.maxY());
  }
  bool operator==(const Rect&) const = default;
};

}  // namespace foundation
