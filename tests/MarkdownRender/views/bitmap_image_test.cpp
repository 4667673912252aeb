#include "MarkdownRender/views/bitmap_image.h"

#include <gtest/gtest.h>

#include "picture_bytes.h"

namespace MarkdownRender {
namespace {

using namespace testing;

TEST(BitmapImage, ReadsTheSizeOfCommonPictureFilesAsOnePointPerPixel) {
  struct Case {
    const char* name;
    std::string data;
    foundation::Size size;
  };
  const Case cases[] = {
      {"png", png(640, 480), {640, 480}},
      {"png at double resolution", png(1600, 800, 5669), {1600, 800}},
      {"gif", gif(32, 16), {32, 16}},
      {"jpeg", jpeg(300, 200), {300, 200}},
      {"bmp stored bottom-up", bmp(7, 5), {7, 5}},
      {"bmp stored top-down", bmp(7, -5), {7, 5}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto image = BitmapImage::decode(c.data);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->size(), c.size);
    EXPECT_EQ(image->data(), c.data);
  }
}

TEST(BitmapImage, AnythingElseIsNoPicture) {
  struct Case {
    const char* name;
    std::string data;
  };
  const Case cases[] = {
      {"empty", ""},
      {"html", "<!doctype html><html><body>Not found</body></html>"},
      {"png cut inside its header", png(640, 480).substr(0, 20)},
      {"png without width", png(0, 480)},
      {"gif without height", gif(32, 0)},
      {"jpeg without a frame", jpeg(300, 200).substr(0, 20) + std::string("\xFF\xD9", 2)},
      {"jpeg with a bad segment length", std::string("\xFF\xD8\xFF\xE0\x00\x00", 6)},
      {"bmp of the lowest height", bmp(7, INT32_MIN)},
      {"bmp with negative width", bmp(-7, 5)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(BitmapImage::decode(c.data).has_value());
  }
}

}  // namespace
}  // namespace MarkdownRender
