#include "GPTEncoder/byte_alphabet.h"

#include <array>

namespace GPTTokenizer {
namespace {

struct ByteTables {
  std::array<std::string, 256> characters;
  std::array<int, 324> bytes;  // code point → byte, -1 where none

  ByteTables() {
    bytes.fill(-1);
    int next = 256;
    for (int byte = 0; byte < 256; ++byte) {
      const bool printable = (byte >= 33 && byte <= 126) || (byte >= 161 && byte <= 172) || byte >= 174;
      const int codePoint = printable ? byte : next++;
      std::string utf8;
      if (codePoint < 0x80) {
        utf8.push_back(static_cast<char>(codePoint));
      } else {
        utf8.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        utf8.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
      }
      characters[byte] = std::move(utf8);
      bytes[codePoint] = byte;
    }
  }
};

const ByteTables& tables() {
  static const ByteTables made;
  return made;
}

}  // namespace

std::string_view byteCharacter(unsigned char byte) { return tables().characters[byte]; }

std::string byteEncoded(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (char byte : bytes) text.append(byteCharacter(static_cast<unsigned char>(byte)));
  return text;
}

int byteOfCharacter(char32_t codePoint) {
  const auto& bytes = tables().bytes;
  return codePoint < bytes.size() ? bytes[codePoint] : -1;
}

}  // namespace GPTTokenizer
