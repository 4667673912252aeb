#include "platform/render/vector_image.h"

#include <librsvg/rsvg.h>

#include <cmath>

namespace render {

struct VectorImage::Handle {
  RsvgHandle* handle = nullptr;
  ~Handle() {
    if (handle) g_object_unref(handle);
  }
};

VectorImage::VectorImage(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
VectorImage::~VectorImage() = default;

std::shared_ptr<VectorImage> VectorImage::read(const std::filesystem::path& path) {
  GError* error = nullptr;
  RsvgHandle* handle = rsvg_handle_new_from_file(path.c_str(), &error);
  if (error) g_error_free(error);
  if (!handle) return nullptr;
  auto owned = std::make_unique<Handle>();
  owned->handle = handle;
  return std::shared_ptr<VectorImage>(new VectorImage(std::move(owned)));
}

std::optional<foundation::Size> VectorImage::intrinsicSize() const {
  std::lock_guard lock(mutex_);
  double width = 0, height = 0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(handle_->handle, &width, &height) || width <= 0 ||
      height <= 0) {
    return std::nullopt;
  }
  return foundation::Size{width, height};
}

void VectorImage::draw(cairo_t* cr, const foundation::Rect& frame) const {
  if (frame.isEmpty()) return;
  std::lock_guard lock(mutex_);
  double width = 0, height = 0;
  cairo_save(cr);
  if (rsvg_handle_get_intrinsic_size_in_pixels(handle_->handle, &width, &height) && width > 0 && height > 0) {
    // Stretched as a resizable picture is: the viewport is the document's own size, scaled to the frame.
    cairo_translate(cr, frame.minX(), frame.minY());
    cairo_scale(cr, frame.width() / width, frame.height() / height);
    RsvgRectangle viewport{0, 0, width, height};
    rsvg_handle_render_document(handle_->handle, cr, &viewport, nullptr);
  } else {
    RsvgRectangle viewport{frame.minX(), frame.minY(), frame.width(), frame.height()};
    rsvg_handle_render_document(handle_->handle, cr, &viewport, nullptr);
  }
  cairo_restore(cr);
}

void VectorImage::drawTinted(cairo_t* cr, const foundation::Rect& frame,
                             const ui::ResolvedColor& color) const {
  if (frame.isEmpty()) return;
  std::lock_guard lock(mutex_);
  // The group the coverage is drawn into is as large as the clip: clipped to the frame and a wide margin
  // around it (room for a shape that overflows its document), it stays small however large the window.
  cairo_save(cr);
  const double marginX = frame.width(), marginY = frame.height();
  cairo_rectangle(cr, frame.minX() - marginX, frame.minY() - marginY, frame.width() + 2 * marginX,
                  frame.height() + 2 * marginY);
  cairo_clip(cr);
  cairo_push_group(cr);
  RsvgRectangle viewport{frame.minX(), frame.minY(), frame.width(), frame.height()};
  rsvg_handle_render_document(handle_->handle, cr, &viewport, nullptr);
  cairo_pattern_t* coverage = cairo_pop_group(cr);
  cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.opacity);
  cairo_mask(cr, coverage);
  cairo_pattern_destroy(coverage);
  cairo_restore(cr);
}

}  // namespace render
