// Damaged pictures of every format the decoder reads, made by a seeded mutator and run under the
// sanitizers: the decoder either refuses them or gives a picture within its limits, and never crashes.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

#include "MarkdownRender/views/bitmap_image.h"
#include "picture_bytes.h"

namespace MarkdownRender {
namespace {

using namespace testing;

// The fuzz entry: one input, any bytes.
void decodeOneInput(const std::string& data) {
  auto image = BitmapImage::decode(data);
  if (!image) return;
  ASSERT_GT(image->pixelsWide(), 0);
  ASSERT_GT(image->pixelsHigh(), 0);
  ASSERT_LE(image->pixelsWide() * image->pixelsHigh(), BitmapImage::maximumPixelCount);
  ASSERT_EQ(image->bitmap()->pixels().size(),
            static_cast<std::size_t>(image->pixelsWide() * image->pixelsHigh()));
}

// One damaged copy of `seed`: cut short, bytes flipped, bytes overwritten with extreme values, a stretch
// repeated or removed.
std::string mutated(const std::string& seed, std::mt19937& random) {
  std::string data = seed;
  auto at = [&](std::size_t size) {
    return size == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, size - 1)(random);
  };
  const int edits = std::uniform_int_distribution<int>(1, 4)(random);
  for (int i = 0; i < edits && !data.empty(); ++i) {
    switch (std::uniform_int_distribution<int>(0, 4)(random)) {
      case 0:
        data.resize(at(data.size()));
        break;
      case 1:
        data[at(data.size())] ^= static_cast<char>(1 << std::uniform_int_distribution<int>(0, 7)(random));
        break;
      case 2: {
        static constexpr unsigned char extremes[] = {0x00, 0xFF, 0x7F, 0x80};
        data[at(data.size())] = static_cast<char>(extremes[at(4)]);
        break;
      }
      case 3: {
        std::size_t from = at(data.size()), length = std::min<std::size_t>(at(64) + 1, data.size() - from);
        data.insert(at(data.size()), data.substr(from, length));
        break;
      }
      default: {
        std::size_t from = at(data.size());
        data.erase(from, std::min<std::size_t>(at(64) + 1, data.size() - from));
        break;
      }
    }
  }
  return data;
}

TEST(BitmapImageFuzz, DamagedFilesOfEveryFormatNeverCrashTheDecoder) {
  struct Seed {
    const char* name;
    std::string data;
  };
  const Seed seeds[] = {
      {"png", png(9, 7)},
      {"jpeg", jpeg(17, 9)},
      {"gif", gif(5, 3)},
      {"lossy webp", webp(9, 5)},
      {"lossless webp", webp(9, 5, true)},
      {"bmp", bmp(5, -3)},
  };
  std::mt19937 random(20231);
  for (const auto& seed : seeds) {
    SCOPED_TRACE(seed.name);
    decodeOneInput(seed.data);
    for (std::size_t length = 0; length < seed.data.size(); length += 1 + seed.data.size() / 64) {
      decodeOneInput(seed.data.substr(0, length));
    }
    for (int i = 0; i < 400; ++i) decodeOneInput(mutated(seed.data, random));
  }
}

}  // namespace
}  // namespace MarkdownRender
