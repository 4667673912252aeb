#include "MarkdownRender/views/bitmap_image.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "picture_bytes.h"
#include "platform/ui/views.h"

namespace MarkdownRender {
namespace {

using namespace testing;

// The colour of a decoded pixel, allowing for lossy formats.
void expectFillColour(std::uint32_t pixel, int tolerance) {
  const int alpha = static_cast<int>(pixel >> 24), red = static_cast<int>((pixel >> 16) & 0xFF);
  const int green = static_cast<int>((pixel >> 8) & 0xFF), blue = static_cast<int>(pixel & 0xFF);
  EXPECT_EQ(alpha, 0xFF);
  EXPECT_LE(std::abs(red - fill[0]), tolerance);
  EXPECT_LE(std::abs(green - fill[1]), tolerance);
  EXPECT_LE(std::abs(blue - fill[2]), tolerance);
}

TEST(BitmapImage, DecodesCommonPictureFilesAsOnePointPerPixel) {
  struct Case {
    const char* name;
    std::string data;
    foundation::Size size;
    int tolerance;
  };
  const Case cases[] = {
      {"png", png(640, 480), {640, 480}, 0},
      {"png at double resolution", png(1600, 800, 5669), {1600, 800}, 0},
      {"gif, its first frame", gif(32, 16), {32, 16}, 0},
      {"jpeg", jpeg(300, 200), {300, 200}, 4},
      {"lossy webp", webp(64, 48), {64, 48}, 6},
      {"webp asked to be lossless", webp(64, 48, true), {64, 48}, 6},
      {"bmp stored bottom-up", bmp(7, 5), {7, 5}, 0},
      {"bmp stored top-down", bmp(7, -5), {7, 5}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto image = BitmapImage::decode(c.data);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->size(), c.size);
    const auto& bitmap = *image->bitmap();
    ASSERT_EQ(bitmap.pixels().size(), static_cast<std::size_t>(c.size.width * c.size.height));
    EXPECT_EQ(image->byteCount(), bitmap.pixels().size() * 4);
    expectFillColour(bitmap.pixel(0, 0), c.tolerance);
    expectFillColour(bitmap.pixel(bitmap.pixelsWide() - 1, bitmap.pixelsHigh() - 1), c.tolerance);
  }
}

TEST(BitmapImage, TranslucentPixelsArePremultiplied) {
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, true, 8, 2, 1);
  gdk_pixbuf_fill(pixbuf, 0xFF800080);  // red 255, green 128, blue 0, alpha 128
  gchar* buffer = nullptr;
  gsize size = 0;
  ASSERT_TRUE(gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "png", nullptr, nullptr));
  g_object_unref(pixbuf);
  auto image = BitmapImage::decode(std::string(buffer, size));
  g_free(buffer);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->bitmap()->pixel(1, 0), 0x80804000u);
}

TEST(BitmapImage, AnythingElseIsNoPicture) {
  struct Case {
    const char* name;
    std::string data;
  };
  std::string damagedPng = png(64, 64);
  for (std::size_t i = damagedPng.size() / 2; i < damagedPng.size() / 2 + 16; ++i) damagedPng[i] ^= 0x5A;
  const Case cases[] = {
      {"empty", ""},
      {"html", "<!doctype html><html><body>Not found</body></html>"},
      {"png cut inside its header", png(640, 480).substr(0, 20)},
      {"png cut inside its pixels", png(640, 480).substr(0, 60)},
      {"png with damaged pixels", damagedPng},
      {"png without width", pngHeader(0, 480)},
      {"gif without height", gif(32, 0)},
      {"jpeg without a frame", jpeg(300, 200).substr(0, 20) + std::string("\xFF\xD9", 2)},
      {"jpeg with a bad segment length", std::string("\xFF\xD8\xFF\xE0\x00\x00", 6)},
      {"webp cut short", webp(64, 48).substr(0, 40)},
      {"bmp of the lowest height", bmp(7, INT32_MIN)},
      {"bmp with negative width", bmp(-7, 5)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(BitmapImage::decode(c.data).has_value());
  }
}

TEST(BitmapImage, APictureOfMoreThanFiftyMegapixelsIsRefusedBeforeDecoding) {
  struct Case {
    const char* name;
    std::string data;
  };
  const Case cases[] = {
      {"png", pngHeader(8000, 6251)},
      {"png far too large", pngHeader(0x7FFFFFFF, 0x7FFFFFFF)},
      {"gif", "GIF89a" + std::string("\xFF\xFF\xFF\xFF", 4) + std::string(3, '\0')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(BitmapImage::decode(c.data).has_value());
  }
}

TEST(BitmapImage, AViewCarriesThePixelsToBeDrawn) {
  auto image = std::make_shared<const BitmapImage>(*BitmapImage::decode(png(4, 3)));
  auto view = bitmapImageView(image, "https://example.com/a.png", false);
  const ui::detail::ViewSpec* spec = view.spec().get();
  while (auto* modified = dynamic_cast<const ui::detail::ModifiedSpec*>(spec))
    spec = modified->content().get();
  auto* imageSpec = dynamic_cast<const ui::detail::ImageSpec*>(spec);
  ASSERT_NE(imageSpec, nullptr);
  EXPECT_EQ(imageSpec->bitmap, image->bitmap());
}

}  // namespace
}  // namespace MarkdownRender
