// Text tests of the highlighter by Unicode rules (user-perceived characters, general categories,
// root-locale lowercasing, canonical equivalence), with a byte-level fast path for ASCII text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Glint::detail {

bool isASCII(std::string_view text);

// A key under which canonically equivalent texts are equal: the text itself when ASCII, else its NFC form.
std::string canonicalKey(std::string_view text);

// "Is", "starts with" and "ends with" by canonical equivalence of whole user-perceived characters.
bool isCanonicallyBeyondASCII(std::string_view text, std::string_view other);
inline bool isCanonically(std::string_view text, std::string_view other) {
  if (text == other) return true;
  if (text.empty() || other.empty()) return false;
  // An ASCII character has no decomposition, so two texts that begin with different ASCII characters
  // are never equivalent: the common case, decided here.
  const auto first = static_cast<unsigned char>(text.front());
  const auto otherFirst = static_cast<unsigned char>(other.front());
  if (first < 0x80 && otherFirst < 0x80 && first != otherFirst) return false;
  return isCanonicallyBeyondASCII(text, other);
}
bool startsWith(std::string_view text, std::string_view prefix);
bool endsWith(std::string_view text, std::string_view suffix);

// The byte length of the user-perceived character that starts at `offset` (0 at the end of the text).
std::size_t characterLength(std::string_view text, std::size_t offset);
// The first user-perceived character (empty for empty text).
std::string_view firstCharacter(std::string_view text);
// The first scalar of a UTF-8 text (U+FFFD for invalid UTF-8), 0 for empty text.
char32_t firstScalar(std::string_view text);

// Letter tests on a scalar: general category L*, and L* or M* (the platform's "letters" set).
bool isLetter(char32_t scalar);
bool isLetterOrMark(char32_t scalar);
// Whether a user-perceived character is unchanged by root-locale lowercasing (compared canonically).
bool equalsItsLowercase(std::string_view character);

// How many characters of the text are exactly `character` (compared canonically).
std::size_t countOfCharacter(std::string_view text, std::string_view character);

}  // namespace Glint::detail
