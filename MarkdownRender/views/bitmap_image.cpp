#include "MarkdownRender/views/bitmap_image.h"

#include <utility>

#include "platform/ui/modifiers.h"
#include "platform/ui/views.h"

namespace MarkdownRender {

namespace {

using Dimensions = std::pair<std::int64_t, std::int64_t>;

std::uint32_t bigEndian(std::string_view d, std::size_t at, std::size_t bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < bytes; ++i) value = (value << 8) | static_cast<unsigned char>(d[at + i]);
  return value;
}

std::uint32_t littleEndian(std::string_view d, std::size_t at, std::size_t bytes) {
  std::uint32_t value = 0;
  for (std::size_t i = bytes; i > 0; --i) value = (value << 8) | static_cast<unsigned char>(d[at + i - 1]);
  return value;
}

// Signature, then the IHDR chunk first of all: length 13, "IHDR", width, height.
std::optional<Dimensions> pngSize(std::string_view d) {
  if (d.size() < 33 || d.substr(0, 8) != std::string_view("\x89PNG\r\n\x1a\n", 8)) return std::nullopt;
  if (bigEndian(d, 8, 4) != 13 || d.substr(12, 4) != "IHDR") return std::nullopt;
  return Dimensions{bigEndian(d, 16, 4), bigEndian(d, 20, 4)};
}

std::optional<Dimensions> gifSize(std::string_view d) {
  if (d.size() < 13 || (d.substr(0, 6) != "GIF87a" && d.substr(0, 6) != "GIF89a")) return std::nullopt;
  return Dimensions{littleEndian(d, 6, 2), littleEndian(d, 8, 2)};
}

// Walks the marker segments up to the first start-of-frame, which holds the height and the width.
std::optional<Dimensions> jpegSize(std::string_view d) {
  if (d.size() < 4 || static_cast<unsigned char>(d[0]) != 0xFF || static_cast<unsigned char>(d[1]) != 0xD8) {
    return std::nullopt;
  }
  std::size_t at = 2;
  while (at + 4 <= d.size()) {
    if (static_cast<unsigned char>(d[at]) != 0xFF) return std::nullopt;
    auto marker = static_cast<unsigned char>(d[at + 1]);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length follows
      at += 2;
      continue;
    }
    std::size_t length = bigEndian(d, at + 2, 2);
    if (length < 2) return std::nullopt;
    bool isFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (isFrame) {
      if (at + 9 > d.size() || length < 7) return std::nullopt;
      return Dimensions{bigEndian(d, at + 7, 2), bigEndian(d, at + 5, 2)};
    }
    if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // image data or end before any frame
    at += 2 + length;
  }
  return std::nullopt;
}

// File header, then a BITMAPINFOHEADER (or larger) with a signed width and height; a negative height
// means rows are stored top-down.
std::optional<Dimensions> bmpSize(std::string_view d) {
  if (d.size() < 26 || d.substr(0, 2) != "BM" || littleEndian(d, 14, 4) < 40) return std::nullopt;
  auto width = static_cast<std::int32_t>(littleEndian(d, 18, 4));
  auto height = static_cast<std::int32_t>(littleEndian(d, 22, 4));
  if (width <= 0 || height == INT32_MIN) return std::nullopt;
  return Dimensions{width, height < 0 ? -static_cast<std::int64_t>(height) : height};
}

}  // namespace

std::optional<BitmapImage> BitmapImage::decode(std::string data) {
  std::optional<Dimensions> size;
  for (auto read : {pngSize, gifSize, jpegSize, bmpSize}) {
    if ((size = read(data))) break;
  }
  if (!size || size->first <= 0 || size->second <= 0) return std::nullopt;
  return BitmapImage(std::move(data), size->first, size->second);
}

ui::AnyView bitmapImageView(const std::shared_ptr<const BitmapImage>& image, std::string name,
                            bool isResizable) {
  auto picture = ui::Image::picture(std::move(name), image ? image->size() : foundation::Size{});
  return isResizable ? picture.resizable() : picture;
}

}  // namespace MarkdownRender
