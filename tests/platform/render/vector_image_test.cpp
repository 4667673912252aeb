// A vector picture drawn in one colour, again and again at other places, sizes, scales and colours, looks
// each time as the same document read afresh and drawn once.
#include "platform/render/vector_image.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/render/canvas.h"

namespace {

using foundation::Rect;

// A disc and a bar beside it, in colours the tint replaces.
constexpr const char* kDocument = R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16">
  <circle cx="6" cy="8" r="5" fill="#336699"/>
  <rect x="12" y="2" width="3" height="12" fill="#993366"/>
</svg>)";

struct Drawing {
  Rect frame;
  ui::ResolvedColor color;
  double scale;
};

render::Canvas drawn(const render::VectorImage& image, const Drawing& drawing) {
  render::Canvas canvas(120, 120);
  cairo_t* cr = cairo_create(canvas.surface());
  cairo_scale(cr, drawing.scale, drawing.scale);
  image.drawTinted(cr, drawing.frame, drawing.color);
  cairo_destroy(cr);
  cairo_surface_flush(canvas.surface());
  return canvas;
}

int differingPixels(const render::Canvas& a, const render::Canvas& b) {
  int count = 0;
  for (int y = 0; y < a.pixelsHigh(); ++y) {
    for (int x = 0; x < a.pixelsWide(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
  }
  return count;
}

TEST(VectorImage, ATintedPictureDrawnAgainLooksAsOneDrawnForTheFirstTime) {
  const auto file =
      std::filesystem::temp_directory_path() / ("quillo-tinted-" + std::to_string(::getpid()) + ".svg");
  std::ofstream(file) << kDocument;
  auto kept = render::VectorImage::read(file);
  ASSERT_NE(kept, nullptr);
  const ui::ResolvedColor red{1, 0, 0, 1}, blue{0, 0, 1, 0.5};
  const Drawing drawings[] = {
      {Rect(10, 10, 16, 16), red, 1},      {Rect(10, 10, 16, 16), red, 1},  // the same again
      {Rect(10, 10, 16, 16), blue, 1},                                      // another colour
      {Rect(10.5, 10.25, 16, 16), red, 1},                                  // between pixels
      {Rect(40, 30, 16, 16), red, 1},                                       // elsewhere on the pixel grid
      {Rect(10, 10, 24, 20), red, 1},                                       // larger
      {Rect(10, 10, 16, 16), red, 2},                                       // at twice the scale
      {Rect(10, 10, 16, 16), red, 1},                                       // as at first
  };
  render::Canvas first = drawn(*kept, drawings[0]);
  for (const auto& drawing : drawings) {
    SCOPED_TRACE(std::to_string(drawing.frame.minX()) + ", " + std::to_string(drawing.frame.minY()) + " at " +
                 std::to_string(drawing.scale));
    auto fresh = render::VectorImage::read(file);
    EXPECT_EQ(differingPixels(drawn(*kept, drawing), drawn(*fresh, drawing)), 0);
  }
  EXPECT_GT(differingPixels(first, drawn(*kept, drawings[3])), 0);  // a picture that moved is drawn moved
  std::filesystem::remove(file);
}

}  // namespace
