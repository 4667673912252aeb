// Vector pictures (SVG files) read with librsvg and drawn at any size.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/foundation/geometry.h"
#include "platform/ui/color.h"

namespace render {

// One SVG document. Thread-safe: `mutex_` serialises the uses of the document, which librsvg does not allow
// from two threads at once, and of the coverages kept.
class VectorImage {
 public:
  // The document in a file; nothing when it is missing or not SVG.
  static std::shared_ptr<VectorImage> read(const std::filesystem::path& path);
  ~VectorImage();

  // The size the document declares, in points; nothing when it declares none.
  std::optional<foundation::Size> intrinsicSize() const;
  // Draws the document stretched to `frame`.
  void draw(cairo_t* cr, const foundation::Rect& frame) const;
  // Draws the document's shape in one colour (its own colours give only coverage), fitted into `frame`
  // with its aspect ratio kept: how symbols take the colour of the text around them.
  void drawTinted(cairo_t* cr, const foundation::Rect& frame, const ui::ResolvedColor& color) const;

 private:
  struct Handle;
  // The document's coverage as last drawn at a few sizes and places on the pixel grid: a symbol shown in
  // every frame is set by librsvg once.
  struct Coverage;
  explicit VectorImage(std::unique_ptr<Handle> handle);
  std::unique_ptr<Handle> handle_;
  mutable std::mutex mutex_;
  mutable std::vector<std::shared_ptr<Coverage>> coverages_;
};

}  // namespace render
