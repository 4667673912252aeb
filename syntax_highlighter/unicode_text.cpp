#include "syntax_highlighter/unicode_text.h"

#include <algorithm>

#include "platform/foundation/unicode.h"

namespace Glint::detail {
namespace {

bool isASCIIByte(char byte) { return static_cast<unsigned char>(byte) < 0x80; }

// Extra bytes around a short ASCII text that the canonical comparisons look at: enough for the
// characters the comparison reaches, so that a long token or code prefix is never normalised whole.
constexpr std::size_t comparisonWindow = 64;

bool isContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Whether a character boundary certainly lies between the bytes at `offset - 1` and `offset` when both
// are ASCII: only CR LF joins two ASCII bytes into one character.
bool isASCIIBoundary(std::string_view text, std::size_t offset) {
  if (offset == 0 || offset >= text.size()) return true;
  if (!isASCIIByte(text[offset - 1]) || !isASCIIByte(text[offset])) return false;
  return !(text[offset - 1] == '\r' && text[offset] == '\n');
}

// Two texts whose first (or last) bytes are different ASCII characters cannot be canonically equivalent
// there: an ASCII character has no decomposition, so it stays the base of its character's decomposed form.
bool differInASCIIByte(char a, char b) { return isASCIIByte(a) && isASCIIByte(b) && a != b; }

}  // namespace

bool isASCII(std::string_view text) {
  unsigned char bits = 0;
  for (char byte : text) bits |= static_cast<unsigned char>(byte);
  return bits < 0x80;
}

std::string canonicalKey(std::string_view text) {
  if (isASCII(text)) return std::string(text);
  return foundation::nfc(text);
}

bool isCanonicallyBeyondASCII(std::string_view text, std::string_view other) {
  if (differInASCIIByte(text.back(), other.back())) return false;
  if (isASCII(text) && isASCII(other)) return false;
  return foundation::canonicallyEquivalent(text, other);
}

bool startsWith(std::string_view text, std::string_view prefix) {
  if (prefix.empty()) return true;
  if (text.empty() || differInASCIIByte(text.front(), prefix.front())) return false;
  if (isASCII(prefix) && text.size() >= prefix.size() && isASCII(text.substr(0, prefix.size())) &&
      isASCIIBoundary(text, prefix.size())) {
    return text.substr(0, prefix.size()) == prefix;
  }
  std::size_t windowEnd = std::min(text.size(), prefix.size() * 4 + comparisonWindow);
  while (windowEnd < text.size() && isContinuationByte(text[windowEnd])) ++windowEnd;
  return foundation::startsWithCanonically(text.substr(0, windowEnd), prefix);
}

bool endsWith(std::string_view text, std::string_view suffix) {
  if (suffix.empty()) return true;
  if (text.empty() || differInASCIIByte(text.back(), suffix.back())) return false;
  if (isASCII(suffix) && text.size() >= suffix.size()) {
    const std::size_t start = text.size() - suffix.size();
    if (isASCII(text.substr(start)) && (start == 0 || isASCIIBoundary(text, start))) {
      return text.substr(start) == suffix;
    }
  }
  std::size_t windowStart = text.size() - std::min(text.size(), suffix.size() * 4 + comparisonWindow);
  while (windowStart > 0 && isContinuationByte(text[windowStart])) --windowStart;
  return foundation::endsWithCanonically(text.substr(windowStart), suffix);
}

std::size_t characterLength(std::string_view text, std::size_t offset) {
  if (offset >= text.size()) return 0;
  if (isASCIIByte(text[offset]) && isASCIIBoundary(text, offset + 1)) return 1;
  // A character boundary depends only on the characters up to it, so the first character of a window
  // that ends before the window does is the first character of the whole text; grow the window otherwise.
  for (std::size_t window = comparisonWindow;; window *= 2) {
    std::size_t windowEnd = std::min(text.size(), offset + window);
    while (windowEnd < text.size() && isContinuationByte(text[windowEnd])) ++windowEnd;
    const auto characters = foundation::graphemeClusters(text.substr(offset, windowEnd - offset));
    if (characters.empty()) return windowEnd - offset;
    const std::size_t length = characters.front().size();
    if (offset + length < windowEnd || windowEnd == text.size())
      return std::min(length, text.size() - offset);
  }
}

std::string_view firstCharacter(std::string_view text) { return text.substr(0, characterLength(text, 0)); }

char32_t firstScalar(std::string_view text) {
  if (text.empty()) return 0;
  if (isASCIIByte(text[0])) return static_cast<unsigned char>(text[0]);
  return foundation::firstScalar(text).value_or(U'\uFFFD');
}

bool isLetter(char32_t scalar) {
  if (scalar < 0x80) return (scalar >= 'a' && scalar <= 'z') || (scalar >= 'A' && scalar <= 'Z');
  return foundation::isLetter(foundation::generalCategory(scalar));
}

bool isLetterOrMark(char32_t scalar) {
  if (scalar < 0x80) return isLetter(scalar);
  const auto category = foundation::generalCategory(scalar);
  return foundation::isLetter(category) || foundation::isMark(category);
}

bool equalsItsLowercase(std::string_view character) {
  if (character.size() == 1 && isASCIIByte(character[0]))
    return !(character[0] >= 'A' && character[0] <= 'Z');
  return foundation::canonicallyEquivalent(foundation::lowercased(character), character);
}

std::size_t countOfCharacter(std::string_view text, std::string_view character) {
  if (isASCII(text) && character.size() == 1) {
    if (character[0] == '\r' || character[0] == '\n') {
      std::size_t count = 0;
      for (std::size_t offset = 0; offset < text.size(); offset += characterLength(text, offset)) {
        count += text.substr(offset, characterLength(text, offset)) == character ? 1 : 0;
      }
      return count;
    }
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), character[0]));
  }
  std::size_t count = 0;
  for (const auto& each : foundation::graphemeClusters(text)) count += isCanonically(each, character) ? 1 : 0;
  return count;
}

}  // namespace Glint::detail
