#include "GPTEncoder/pre_tokenizer.h"

#include <unicode/uchar.h>

#include <array>
#include <cstdint>
#include <cstring>

namespace GPTTokenizer {
namespace {

enum class CharacterClass : std::uint8_t { letter, number, space, other };

constexpr std::array<CharacterClass, 128> asciiClasses = [] {
  std::array<CharacterClass, 128> classes{};
  for (int c = 0; c < 128; ++c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
      classes[c] = CharacterClass::letter;
    } else if (c >= '0' && c <= '9') {
      classes[c] = CharacterClass::number;
    } else if ((c >= '\t' && c <= '\r') || c == ' ') {
      classes[c] = CharacterClass::space;
    } else {
      classes[c] = CharacterClass::other;
    }
  }
  return classes;
}();

CharacterClass classOf(char32_t scalar) {
  if (u_isUWhiteSpace(static_cast<UChar32>(scalar))) return CharacterClass::space;
  const std::uint32_t category = U_MASK(u_charType(static_cast<UChar32>(scalar)));
  if (category & U_GC_L_MASK) return CharacterClass::letter;
  if (category & U_GC_N_MASK) return CharacterClass::number;
  return CharacterClass::other;
}

// One character of valid UTF-8: its class and its length in bytes.
struct Character {
  CharacterClass characterClass;
  std::size_t length;
};

inline Character characterAt(std::string_view text, std::size_t offset) {
  const auto lead = static_cast<unsigned char>(text[offset]);
  if (lead < 0x80) return {asciiClasses[lead], 1};
  auto continuation = [&](std::size_t i) { return static_cast<char32_t>(text[offset + i]) & 0x3F; };
  if (lead < 0xE0) return {classOf((static_cast<char32_t>(lead & 0x1F) << 6) | continuation(1)), 2};
  if (lead < 0xF0) {
    return {classOf((static_cast<char32_t>(lead & 0x0F) << 12) | (continuation(1) << 6) | continuation(2)),
            3};
  }
  return {classOf((static_cast<char32_t>(lead & 0x07) << 18) | (continuation(1) << 12) |
                  (continuation(2) << 6) | continuation(3)),
          4};
}

// The end of the run of characters of one class that starts at `offset`.
inline std::size_t runEnd(std::string_view text, std::size_t offset, CharacterClass runClass) {
  while (offset < text.size()) {
    const auto byte = static_cast<unsigned char>(text[offset]);
    if (byte < 0x80) {
      if (asciiClasses[byte] != runClass) break;
      ++offset;
      continue;
    }
    const Character next = characterAt(text, offset);
    if (next.characterClass != runClass) break;
    offset += next.length;
  }
  return offset;
}

// The length of a contraction ('s 't 're 've 'm 'll 'd) at an apostrophe, or 0.
inline std::size_t contractionLength(std::string_view text, std::size_t offset) {
  if (offset + 1 >= text.size()) return 0;
  const char first = text[offset + 1];
  if (first == 's' || first == 't' || first == 'm' || first == 'd') return 2;
  if (offset + 2 >= text.size()) return 0;
  const char second = text[offset + 2];
  if ((first == 'r' && second == 'e') || (first == 'v' && second == 'e') || (first == 'l' && second == 'l'))
    return 3;
  return 0;
}

}  // namespace

std::size_t PreTokenizer::pieceEnd(std::string_view text, std::size_t start) {
  if (text[start] == '\'') {
    if (const std::size_t length = contractionLength(text, start)) return start + length;
  }
  const Character first = characterAt(text, start);
  if (first.characterClass != CharacterClass::space)
    return runEnd(text, start + first.length, first.characterClass);

  // A space joins the letters, digits or other characters that follow it.
  if (text[start] == ' ' && start + 1 < text.size()) {
    const Character next = characterAt(text, start + 1);
    if (next.characterClass != CharacterClass::space) {
      return runEnd(text, start + 1 + next.length, next.characterClass);
    }
  }
  // White space: the whole run when it ends the text or is one character long; otherwise all of it but
  // its last character, which stays with what follows.
  std::size_t lastStart = start;
  std::size_t offset = start + first.length;
  while (offset < text.size()) {
    const Character next = characterAt(text, offset);
    if (next.characterClass != CharacterClass::space) break;
    lastStart = offset;
    offset += next.length;
  }
  if (offset == text.size() || lastStart == start) return offset;
  return lastStart;
}

bool isValidUTF8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    if (i + 8 <= size) {
      std::uint64_t word;
      std::memcpy(&word, bytes + i, 8);
      if ((word & 0x8080808080808080ULL) == 0) {
        i += 8;
        continue;
      }
    }
    const unsigned char lead = bytes[i];
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;   // no overlong forms
      if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
      return false;
    }
    if (i + length > size) return false;
    if (bytes[i + 1] < low || bytes[i + 1] > high) return false;
    for (std::size_t k = 2; k < length; ++k) {
      if ((bytes[i + k] & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

}  // namespace GPTTokenizer
