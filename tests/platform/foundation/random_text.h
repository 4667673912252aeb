// Random byte strings for round-trip properties: mostly text, with every kind of byte an XML file cannot
// hold as it is (NUL, other control characters, bytes outside well-formed UTF-8, encoded surrogates).
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace foundation::testing {

class RandomText {
 public:
  explicit RandomText(std::uint32_t seed) : engine_(seed) {}

  std::string next(std::size_t maximumPieces = 24) {
    std::string text;
    const std::size_t pieces = below(maximumPieces + 1);
    for (std::size_t i = 0; i < pieces; ++i) appendPiece(text);
    return text;
  }

 private:
  std::size_t below(std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(engine_);
  }

  void appendScalar(std::string& text, std::uint32_t scalar) {
    if (scalar < 0x80) {
      text += static_cast<char>(scalar);
    } else if (scalar < 0x800) {
      text += static_cast<char>(0xC0 | (scalar >> 6));
      text += static_cast<char>(0x80 | (scalar & 0x3F));
    } else if (scalar < 0x10000) {
      text += static_cast<char>(0xE0 | (scalar >> 12));
      text += static_cast<char>(0x80 | ((scalar >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (scalar & 0x3F));
    } else {
      text += static_cast<char>(0xF0 | (scalar >> 18));
      text += static_cast<char>(0x80 | ((scalar >> 12) & 0x3F));
      text += static_cast<char>(0x80 | ((scalar >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (scalar & 0x3F));
    }
  }

  void appendPiece(std::string& text) {
    static const char* const markup[] = {"&",     "<",         ">",    "\"",   "'",  "]]>", "&amp;", "&#0;",
                                         "<key>", "</string>", "<!--", "\r\n", "\t", " ",   "\n\n"};
    switch (below(9)) {
      case 0:  // any byte at all
        text += static_cast<char>(below(256));
        break;
      case 1:
        text += '\0';
        break;
      case 2: {  // another control character, or DEL
        const std::size_t control = below(33);
        text += static_cast<char>(control == 32 ? 0x7F : control);
        break;
      }
      case 3:  // an encoded surrogate: well-formed in shape, never valid
        text += '\xED';
        text += static_cast<char>(0xA0 + below(0x20));
        text += static_cast<char>(0x80 + below(0x40));
        break;
      case 4:  // a lead byte, or a continuation byte, alone
        text += static_cast<char>(below(2) ? 0xC2 + below(0x33) : 0x80 + below(0x40));
        break;
      case 5:
        text += markup[below(std::size(markup))];
        break;
      case 6: {  // a character from anywhere in Unicode
        std::uint32_t scalar = static_cast<std::uint32_t>(below(0x110000));
        if (scalar >= 0xD800 && scalar <= 0xDFFF) scalar -= 0x800;
        appendScalar(text, scalar);
        break;
      }
      default:  // plain words
        for (std::size_t n = 1 + below(8); n > 0; --n) text += static_cast<char>('a' + below(26));
    }
  }

  std::mt19937 engine_;
};

}  // namespace foundation::testing
