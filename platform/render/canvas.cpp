#include "platform/render/canvas.h"

#include "platform/foundation/text_error.h"

namespace render {

Canvas::Canvas(int pixelsWide, int pixelsHigh)
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(pixelsWide, 1),
                                          std::max(pixelsHigh, 1))) {}

std::optional<Canvas> Canvas::readPNG(const std::filesystem::path& path) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return std::nullopt;
  }
  if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) {
    // Opaque files come back without alpha; draw them onto a canvas of the usual form.
    Canvas canvas(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
    cairo_t* cr = cairo_create(canvas.surface());
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return canvas;
  }
  return Canvas(surface);
}

int Canvas::pixelsWide() const { return cairo_image_surface_get_width(surface_.get()); }
int Canvas::pixelsHigh() const { return cairo_image_surface_get_height(surface_.get()); }

std::uint32_t Canvas::pixel(int x, int y) const {
  cairo_surface_flush(surface_.get());
  const unsigned char* data = cairo_image_surface_get_data(surface_.get());
  const int stride = cairo_image_surface_get_stride(surface_.get());
  return *reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride + x * 4);
}

void Canvas::writePNG(const std::filesystem::path& path) const {
  cairo_surface_flush(surface_.get());
  if (cairo_surface_write_to_png(surface_.get(), path.c_str()) != CAIRO_STATUS_SUCCESS) {
    throw foundation::TextError("The picture could not be written to " + path.string() + ".");
  }
}

}  // namespace render
