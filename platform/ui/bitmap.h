// Decoded pixels of a picture, as image views carry them to whatever draws them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace ui {

// Premultiplied 32-bit ARGB pixels in native byte order, rows from top to bottom, without padding between
// rows: the form a drawing surface takes without conversion. Immutable once made, so it is shared
// between threads freely.
class Bitmap {
 public:
  Bitmap(int pixelsWide, int pixelsHigh, std::vector<std::uint32_t> pixels)
      : pixelsWide_(pixelsWide), pixelsHigh_(pixelsHigh), pixels_(std::move(pixels)) {}

  int pixelsWide() const { return pixelsWide_; }
  int pixelsHigh() const { return pixelsHigh_; }
  // pixelsWide() * pixelsHigh() values.
  const std::vector<std::uint32_t>& pixels() const { return pixels_; }
  std::size_t byteCount() const { return pixels_.size() * sizeof(std::uint32_t); }
  std::uint32_t pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * pixelsWide_ + x]; }

 private:
  int pixelsWide_;
  int pixelsHigh_;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace ui
