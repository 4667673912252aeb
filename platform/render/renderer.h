// Draws a window's view hierarchy with Cairo: the views each hosting view evaluated (text set with Pango,
// images, shapes and colours, with their backgrounds, overlays, clip shapes, opacity, shadows and offsets)
// and the platform's controls, at the frames layout gave them, scrolled as their scroll views are.
#pragma once

#include <cairo.h>

#include "platform/appkit/view.h"
#include "platform/appkit/window.h"
#include "platform/render/canvas.h"
#include "platform/render/image_library.h"
#include "platform/render/text_engine.h"

namespace render {

// Main thread only, like the views it draws.
class Renderer {
 public:
  explicit Renderer(TextEngine& textEngine = TextEngine::shared(),
                    ImageLibrary& images = ImageLibrary::shared());

  // The window's content at `scale` pixels per point, over the window background colour of the colour
  // scheme its views are shown in.
  Canvas draw(const appkit::Window& window, double scale = 1) const;
  // The same into a surface of the caller's (a window's surface, drawn again for every frame).
  void draw(const appkit::Window& window, cairo_t* cr) const;
  // Draws `view` and its subviews, the view's top-left corner at the current origin of `cr`.
  void draw(const appkit::View& view, cairo_t* cr) const;

 private:
  TextEngine& textEngine_;
  ImageLibrary& images_;
};

}  // namespace render
