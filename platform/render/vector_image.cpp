#include "platform/render/vector_image.h"

#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>

namespace render {

struct VectorImage::Handle {
  RsvgHandle* handle = nullptr;
  ~Handle() {
    if (handle) g_object_unref(handle);
  }
};

struct VectorImage::Coverage {
  // What the coverage was drawn for: the frame's size and the matrix's scale, and where the frame's corner
  // fell between device pixels.
  double width = 0, height = 0, scaleX = 0, scaleY = 0, offsetX = 0, offsetY = 0;
  int originX = 0, originY = 0;  // the coverage's top-left device pixel, less the frame's
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> mask{nullptr, &cairo_surface_destroy};
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
  // The coverage is drawn as large as the frame and a wide margin around it (room for a shape that
  // overflows its document), so it stays small however large the window.
  const double marginX = frame.width(), marginY = frame.height();
  const foundation::Rect area(frame.minX() - marginX, frame.minY() - marginY, frame.width() + 2 * marginX,
                              frame.height() + 2 * marginY);
  const RsvgRectangle viewport{frame.minX(), frame.minY(), frame.width(), frame.height()};
  cairo_matrix_t matrix;
  cairo_get_matrix(cr, &matrix);
  double cornerX = frame.minX(), cornerY = frame.minY();
  cairo_user_to_device(cr, &cornerX, &cornerY);
  const double pixelsWide = std::ceil(area.width() * matrix.xx) + 4,
               pixelsHigh = std::ceil(area.height() * matrix.yy) + 4;
  // Only a picture scaled and moved, and of a sensible size, is kept: one that is turned or skewed is set
  // where it is drawn.
  if (matrix.xy != 0 || matrix.yx != 0 || !(matrix.xx > 0) || !(matrix.yy > 0) || !std::isfinite(cornerX) ||
      !std::isfinite(cornerY) || !(pixelsWide * pixelsHigh <= 1024.0 * 1024.0)) {
    cairo_save(cr);
    cairo_rectangle(cr, area.minX(), area.minY(), area.width(), area.height());
    cairo_clip(cr);
    cairo_push_group(cr);
    rsvg_handle_render_document(handle_->handle, cr, &viewport, nullptr);
    cairo_pattern_t* coverage = cairo_pop_group(cr);
    cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.opacity);
    cairo_mask(cr, coverage);
    cairo_pattern_destroy(coverage);
    cairo_restore(cr);
    return;
  }
  // The same coverage lands on the same pixels wherever the frame's corner falls on the same place
  // between device pixels.
  const double cornerPixelX = std::floor(cornerX), cornerPixelY = std::floor(cornerY);
  const double offsetX = cornerX - cornerPixelX, offsetY = cornerY - cornerPixelY;
  auto found = std::find_if(coverages_.begin(), coverages_.end(), [&](const auto& kept) {
    return kept->width == frame.width() && kept->height == frame.height() && kept->scaleX == matrix.xx &&
           kept->scaleY == matrix.yy && kept->offsetX == offsetX && kept->offsetY == offsetY;
  });
  std::shared_ptr<Coverage> coverage;
  if (found != coverages_.end()) {
    coverage = *found;
    coverages_.erase(found);
  } else {
    coverage = std::make_shared<Coverage>();
    coverage->width = frame.width();
    coverage->height = frame.height();
    coverage->scaleX = matrix.xx;
    coverage->scaleY = matrix.yy;
    coverage->offsetX = offsetX;
    coverage->offsetY = offsetY;
    // The frame's corner at its place between pixels, the whole area (and a pixel or two more) inside.
    coverage->originX = -static_cast<int>(std::ceil(marginX * matrix.xx)) - 1;
    coverage->originY = -static_cast<int>(std::ceil(marginY * matrix.yy)) - 1;
    coverage->mask.reset(cairo_image_surface_create(CAIRO_FORMAT_A8, static_cast<int>(pixelsWide),
                                                    static_cast<int>(pixelsHigh)));
    cairo_t* maskCr = cairo_create(coverage->mask.get());
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_get_font_options(cr, options);
    cairo_set_font_options(maskCr, options);
    cairo_font_options_destroy(options);
    cairo_set_antialias(maskCr, cairo_get_antialias(cr));
    cairo_matrix_t placed = matrix;
    placed.x0 = matrix.x0 - cornerPixelX - coverage->originX;
    placed.y0 = matrix.y0 - cornerPixelY - coverage->originY;
    cairo_set_matrix(maskCr, &placed);
    cairo_rectangle(maskCr, area.minX(), area.minY(), area.width(), area.height());
    cairo_clip(maskCr);
    rsvg_handle_render_document(handle_->handle, maskCr, &viewport, nullptr);
    cairo_destroy(maskCr);
    cairo_surface_flush(coverage->mask.get());
  }
  // The coverages used last stay; a handful of sizes and places are shown at a time.
  coverages_.push_back(coverage);
  if (coverages_.size() > 8) coverages_.erase(coverages_.begin());
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.opacity);
  cairo_mask_surface(cr, coverage->mask.get(), cornerPixelX + coverage->originX,
                     cornerPixelY + coverage->originY);
  cairo_restore(cr);
}

}  // namespace render
