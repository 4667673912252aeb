// Cuts a text into the pieces that byte-pair encoding merges within, the way the GPT-2 models do: English
// contractions, runs of letters, of digits or of other visible characters (each with at most one space
// before it), and runs of white space (a run before a word leaves its last character to that word).
#pragma once

#include <cstddef>
#include <string_view>

namespace GPTTokenizer {

// The pieces follow the expression
//   's|'t|'re|'ve|'m|'ll|'d| ?\p{L}+| ?\p{N}+| ?[^\s\p{L}\p{N}]+|\s+(?!\S)|\s+
// with \p{L} the letters, \p{N} the numbers and \s the white space of the Unicode character database,
// matched leftmost-first as a backtracking engine does. It is written out by hand for this one pattern:
// it reads the UTF-8 bytes once, without converting the text or allocating.
class PreTokenizer {
 public:
  // The text must be valid UTF-8 (see isValidUTF8). Calls `piece(std::string_view)` for each piece, in
  // order; together the pieces are the whole text.
  template <typename F>
  static void forEachPiece(std::string_view text, F&& piece) {
    for (std::size_t start = 0; start < text.size();) {
      const std::size_t end = pieceEnd(text, start);
      piece(text.substr(start, end - start));
      start = end;
    }
  }

  // Where the piece that starts at `start` (a character boundary before the end) ends.
  static std::size_t pieceEnd(std::string_view text, std::size_t start);
};

// Whether the text is well-formed UTF-8 (no stray, truncated or overlong sequence, no encoded surrogate).
bool isValidUTF8(std::string_view text);

}  // namespace GPTTokenizer
