// The first bytes of picture files of a chosen size, as a server would send them.
#pragma once

#include <cstdint>
#include <string>

namespace MarkdownRender::testing {

inline std::string bigEndian32(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
          static_cast<char>(v)};
}
inline std::string littleEndian32(std::uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
          static_cast<char>(v >> 24)};
}

// A PNG signature and header chunk, followed by a pHYs chunk declaring `pixelsPerMetre` (5669 is 144
// dpi, a double-resolution picture) and the end chunk. Checksums are not checked by the reader.
inline std::string png(std::uint32_t wide, std::uint32_t high, std::uint32_t pixelsPerMetre = 2835) {
  std::string d("\x89PNG\r\n\x1a\n", 8);
  d += bigEndian32(13) + "IHDR" + bigEndian32(wide) + bigEndian32(high) +
       std::string("\x08\x06\x00\x00\x00", 5);
  d += bigEndian32(0);
  d += bigEndian32(9) + "pHYs" + bigEndian32(pixelsPerMetre) + bigEndian32(pixelsPerMetre) +
       std::string(1, '\x01');
  d += bigEndian32(0);
  d += bigEndian32(0) + "IEND" + bigEndian32(0);
  return d;
}

inline std::string gif(std::uint16_t wide, std::uint16_t high) {
  return "GIF89a" + littleEndian32(wide).substr(0, 2) + littleEndian32(high).substr(0, 2) +
         std::string(3, '\0');
}

// Start of image, an APP0 segment, then a baseline frame header.
inline std::string jpeg(std::uint16_t wide, std::uint16_t high) {
  std::string d("\xFF\xD8", 2);
  d += std::string("\xFF\xE0\x00\x10", 4) + "JFIF" + std::string(10, '\0');
  d += std::string("\xFF\xC0\x00\x11\x08", 5) + bigEndian32(high).substr(2) + bigEndian32(wide).substr(2) +
       std::string(10, '\0');
  return d;
}

inline std::string bmp(std::int32_t wide, std::int32_t high) {
  return "BM" + std::string(12, '\0') + littleEndian32(40) +
         littleEndian32(static_cast<std::uint32_t>(wide)) + littleEndian32(static_cast<std::uint32_t>(high)) +
         std::string(28, '\0');
}

}  // namespace MarkdownRender::testing
