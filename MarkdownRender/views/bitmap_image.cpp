#include "MarkdownRender/views/bitmap_image.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstddef>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

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

// "RIFF", size, "WEBP", then the first chunk: an extended header (canvas size less one, 24 bits each), a
// lossless stream (signature 0x2F, then 14 bits each of width and height less one) or a lossy key frame
// (start code 9D 01 2A, then 14 bits each of width and height). A file shorter than its container says is
// no picture.
std::optional<Dimensions> webpSize(std::string_view d) {
  if (d.size() < 30 || d.substr(0, 4) != "RIFF" || d.substr(8, 4) != "WEBP") return std::nullopt;
  // The decoder gives what it has of a file cut short without a word: the container's length tells.
  if (std::size_t{littleEndian(d, 4, 4)} + 8 > d.size()) return std::nullopt;
  const auto chunk = d.substr(12, 4);
  if (chunk == "VP8X") return Dimensions{littleEndian(d, 24, 3) + 1, littleEndian(d, 27, 3) + 1};
  if (chunk == "VP8L") {
    if (static_cast<unsigned char>(d[20]) != 0x2F) return std::nullopt;
    const std::uint32_t bits = littleEndian(d, 21, 4);
    return Dimensions{(bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1};
  }
  if (chunk == "VP8 ") {
    if (d.substr(23, 3) != std::string_view("\x9D\x01\x2A", 3)) return std::nullopt;
    return Dimensions{littleEndian(d, 26, 2) & 0x3FFF, littleEndian(d, 28, 2) & 0x3FFF};
  }
  return std::nullopt;
}

struct Format {
  const char* loaderType;  // the decoder's name
  std::optional<Dimensions> (*size)(std::string_view);
};

// Only these decoders are ever reached: bytes from the network never choose one by themselves.
constexpr Format formats[] = {
    {"png", pngSize}, {"gif", gifSize}, {"jpeg", jpegSize}, {"webp", webpSize}, {"bmp", bmpSize},
};

struct GObjectRelease {
  void operator()(void* object) const { g_object_unref(object); }
};
using LoaderPointer = std::unique_ptr<GdkPixbufLoader, GObjectRelease>;

struct ErrorRelease {
  void operator()(GError* error) const { g_error_free(error); }
};

struct Decoding {
  std::int64_t pixelCount = 0;
  bool isRefused = false;
};

// The decoder announces the size before it allocates anything: a picture whose header understated it is
// refused there, and shrunk to one pixel so that nothing large is allocated on its way out.
void sizePrepared(GdkPixbufLoader* loader, int wide, int high, gpointer data) {
  auto* decoding = static_cast<Decoding*>(data);
  const std::int64_t count = static_cast<std::int64_t>(wide) * high;
  if (wide <= 0 || high <= 0 || count > BitmapImage::maximumPixelCount) {
    decoding->isRefused = true;
    gdk_pixbuf_loader_set_size(loader, 1, 1);
  }
}

std::optional<std::vector<std::uint32_t>> premultipliedPixels(GdkPixbuf* pixbuf) {
  const int wide = gdk_pixbuf_get_width(pixbuf), high = gdk_pixbuf_get_height(pixbuf);
  const int channels = gdk_pixbuf_get_n_channels(pixbuf), stride = gdk_pixbuf_get_rowstride(pixbuf);
  const bool hasAlpha = gdk_pixbuf_get_has_alpha(pixbuf);
  if (gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || channels < (hasAlpha ? 4 : 3)) return std::nullopt;
  const guchar* rows = gdk_pixbuf_read_pixels(pixbuf);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(wide) * static_cast<std::size_t>(high));
  auto premultiplied = [](unsigned component, unsigned alpha) { return (component * alpha + 127) / 255; };
  for (int y = 0; y < high; ++y) {
    const guchar* p = rows + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < wide; ++x, p += channels) {
      const unsigned alpha = hasAlpha ? p[3] : 255;
      pixels[static_cast<std::size_t>(y) * wide + x] = alpha << 24 | premultiplied(p[0], alpha) << 16 |
                                                       premultiplied(p[1], alpha) << 8 |
                                                       premultiplied(p[2], alpha);
    }
  }
  return pixels;
}

std::shared_ptr<const ui::Bitmap> decodePixels(const Format& format, std::string_view data) {
  GError* rawError = nullptr;
  LoaderPointer loader(gdk_pixbuf_loader_new_with_type(format.loaderType, &rawError));
  std::unique_ptr<GError, ErrorRelease> error(rawError);
  if (!loader) return nullptr;
  Decoding decoding;
  g_signal_connect(loader.get(), "size-prepared", G_CALLBACK(sizePrepared), &decoding);
  bool isWritten = gdk_pixbuf_loader_write(loader.get(), reinterpret_cast<const guchar*>(data.data()),
                                           data.size(), &rawError);
  error.reset(rawError);
  rawError = nullptr;
  // Closing is required even after a failed write; it reports a picture that ended too early.
  bool isClosed = gdk_pixbuf_loader_close(loader.get(), &rawError);
  error.reset(rawError);
  GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader.get());  // owned by the loader
  if (!isWritten || !isClosed || decoding.isRefused || !pixbuf) return nullptr;
  auto pixels = premultipliedPixels(pixbuf);
  if (!pixels) return nullptr;
  return std::make_shared<const ui::Bitmap>(gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf),
                                            std::move(*pixels));
}

}  // namespace

std::optional<BitmapImage> BitmapImage::decode(std::string data) {
  for (const auto& format : formats) {
    auto size = format.size(data);
    if (!size) continue;
    // The header's size is checked first, so that a picture too large is never handed to a decoder.
    if (size->first <= 0 || size->second <= 0 || size->first * size->second > maximumPixelCount) {
      return std::nullopt;
    }
    auto bitmap = decodePixels(format, data);
    if (!bitmap) return std::nullopt;
    return BitmapImage(std::move(bitmap));
  }
  return std::nullopt;
}

ui::AnyView bitmapImageView(const std::shared_ptr<const BitmapImage>& image, std::string name,
                            bool isResizable) {
  auto picture = ui::Image::picture(std::move(name), image ? image->size() : foundation::Size{},
                                    image ? image->bitmap() : nullptr);
  return isResizable ? picture.resizable() : picture;
}

}  // namespace MarkdownRender
