// A picture in memory that the renderer draws into: 32-bit premultiplied ARGB pixels, read and written
// as PNG files.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace render {

class Canvas {
 public:
  // A transparent canvas of `pixelsWide` by `pixelsHigh` pixels.
  Canvas(int pixelsWide, int pixelsHigh);
  // The picture of a PNG file; nothing when the file is missing or not a PNG.
  static std::optional<Canvas> readPNG(const std::filesystem::path& path);

  int pixelsWide() const;
  int pixelsHigh() const;
  // Premultiplied ARGB of one pixel.
  std::uint32_t pixel(int x, int y) const;
  // Writes the picture as a PNG file; throws foundation::TextError when it cannot.
  void writePNG(const std::filesystem::path& path) const;

  cairo_surface_t* surface() const { return surface_.get(); }

 private:
  struct Release {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
  };
  explicit Canvas(cairo_surface_t* surface) : surface_(surface) {}

  std::unique_ptr<cairo_surface_t, Release> surface_;
};

}  // namespace render
