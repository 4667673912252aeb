// Picture files of a chosen size, as a server would send them: real, decodable files filled with one
// colour, and bare headers for sizes too large to encode.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace MarkdownRender::testing {

inline std::string bigEndian32(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
          static_cast<char>(v)};
}
inline std::string littleEndian32(std::uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}

// The colour every picture below is filled with (red, green, blue, alpha).
inline constexpr std::uint8_t fill[4] = {0x20, 0x80, 0xE0, 0xFF};

// A picture encoded by gdk-pixbuf in `type` ("png", "jpeg", "webp") with the options given as key/value
// pairs.
inline std::string encoded(const char* type, int wide, int high, bool hasAlpha,
                           const std::vector<std::pair<std::string, std::string>>& options = {}) {
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, hasAlpha, 8, wide, high);
  if (!pixbuf) throw std::runtime_error("no pixbuf");
  guint32 rgba = static_cast<guint32>(fill[0]) << 24 | fill[1] << 16 | fill[2] << 8 | fill[3];
  gdk_pixbuf_fill(pixbuf, rgba);
  std::vector<char*> keys, values;
  for (const auto& [key, value] : options) {
    keys.push_back(const_cast<char*>(key.c_str()));
    values.push_back(const_cast<char*>(value.c_str()));
  }
  keys.push_back(nullptr);
  values.push_back(nullptr);
  gchar* buffer = nullptr;
  gsize size = 0;
  GError* error = nullptr;
  bool isSaved = gdk_pixbuf_save_to_bufferv(pixbuf, &buffer, &size, type, keys.data(), values.data(), &error);
  g_object_unref(pixbuf);
  if (!isSaved) {
    std::string message = error ? error->message : "unknown";
    if (error) g_error_free(error);
    throw std::runtime_error("cannot encode " + std::string(type) + ": " + message);
  }
  std::string data(buffer, size);
  g_free(buffer);
  return data;
}

// A PNG file; `pixelsPerMetre` declares its resolution (5669 is 144 dpi, a double-resolution picture).
inline std::string png(std::uint32_t wide, std::uint32_t high, std::uint32_t pixelsPerMetre = 2835) {
  const auto dpi = std::to_string(static_cast<int>(pixelsPerMetre * 0.0254 + 0.5));
  return encoded("png", static_cast<int>(wide), static_cast<int>(high), true,
                 {{"x-dpi", dpi}, {"y-dpi", dpi}});
}

// A PNG signature and header chunk alone: a size no test wants to encode.
inline std::string pngHeader(std::uint32_t wide, std::uint32_t high) {
  std::string d("\x89PNG\r\n\x1a\n", 8);
  d += bigEndian32(13) + "IHDR" + bigEndian32(wide) + bigEndian32(high) +
       std::string("\x08\x06\x00\x00\x00", 5);
  d += bigEndian32(0);
  return d;
}

inline std::string jpeg(std::uint16_t wide, std::uint16_t high) {
  return encoded("jpeg", wide, high, false, {{"quality", "95"}});
}

inline std::string webp(std::uint16_t wide, std::uint16_t high, bool isLossless = false) {
  return encoded("webp", wide, high, true,
                 {{isLossless ? "lossless" : "quality", isLossless ? "true" : "95"}});
}

// A GIF of two frames: the first in the fill colour, the second black. Its image data is LZW with a clear
// code before every second pixel, which keeps every code three bits wide.
inline std::string gif(std::uint16_t wide, std::uint16_t high) {
  auto le16 = [](std::uint16_t v) { return littleEndian32(v).substr(0, 2); };
  std::string d = "GIF89a" + le16(wide) + le16(high) + std::string("\x80\x00\x00", 3);
  d += std::string{static_cast<char>(fill[0]), static_cast<char>(fill[1]), static_cast<char>(fill[2])};
  d += std::string(3, '\0');  // colour 1: black
  auto frame = [&](int colour) {
    std::string f = "\x2C" + le16(0) + le16(0) + le16(wide) + le16(high) + std::string(1, '\0');
    f += '\x02';  // minimum code size
    std::string bytes;
    std::uint32_t bits = 0;
    int count = 0;
    auto put = [&](unsigned code) {
      bits |= code << count;
      count += 3;
      while (count >= 8) {
        bytes += static_cast<char>(bits & 0xFF);
        bits >>= 8;
        count -= 8;
      }
    };
    const long pixels = static_cast<long>(wide) * high;
    for (long i = 0; i < pixels; ++i) {
      if (i % 2 == 0) put(4);  // clear
      put(static_cast<unsigned>(colour));
    }
    put(5);  // end of information
    if (count > 0) bytes += static_cast<char>(bits & 0xFF);
    for (std::size_t at = 0; at < bytes.size(); at += 255) {
      auto piece = bytes.substr(at, 255);
      f += static_cast<char>(piece.size());
      f += piece;
    }
    f += '\0';
    return f;
  };
  d += std::string("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8) + frame(0);
  d += std::string("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8) + frame(1);
  return d + "\x3B";
}

// An uncompressed 24-bit BMP; a negative height stores the rows top-down.
inline std::string bmp(std::int32_t wide, std::int32_t high) {
  const std::int64_t rows = high < 0 ? -static_cast<std::int64_t>(high) : high;
  const std::int64_t rowBytes = wide > 0 ? (wide * 3 + 3) / 4 * 4 : 0;
  const std::int64_t pixelBytes = rows < 100000 ? rowBytes * rows : 0;
  std::string d = "BM" + littleEndian32(static_cast<std::uint32_t>(54 + pixelBytes)) + std::string(4, '\0') +
                  littleEndian32(54) + littleEndian32(40) + littleEndian32(static_cast<std::uint32_t>(wide)) +
                  littleEndian32(static_cast<std::uint32_t>(high)) + std::string("\x01\x00\x18\x00", 4) +
                  std::string(4, '\0') + littleEndian32(static_cast<std::uint32_t>(pixelBytes)) +
                  std::string(16, '\0');
  for (std::int64_t y = 0; y < rows && pixelBytes > 0; ++y) {
    std::string row;
    for (std::int32_t x = 0; x < wide; ++x) {
      row += std::string{static_cast<char>(fill[2]), static_cast<char>(fill[1]), static_cast<char>(fill[0])};
    }
    row.resize(static_cast<std::size_t>(rowBytes), '\0');
    d += row;
  }
  return d;
}

}  // namespace MarkdownRender::testing
