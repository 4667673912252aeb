#include "GPTEncoder/pre_tokenizer.h"

#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "icu_pieces.h"
#include "platform/foundation/utf16.h"

using GPTTokenizer::PreTokenizer;
using Pieces = std::vector<std::string>;

namespace {

Pieces pieces(std::string_view text) {
  Pieces found;
  PreTokenizer::forEachPiece(text, [&](std::string_view piece) { found.emplace_back(piece); });
  return found;
}

// Compares with ICU piece by piece, so that a failure names the first piece that differs.
void expectPiecesAsICU(const std::string& text) {
  const Pieces expected = icuPieces(text);
  const Pieces actual = pieces(text);
  const std::size_t common = std::min(expected.size(), actual.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (expected[i] != actual[i]) {
      ADD_FAILURE() << "piece " << i << ": \"" << actual[i] << "\", ICU: \"" << expected[i] << "\" after \""
                    << (i > 0 ? expected[i - 1] : "") << "\"";
      return;
    }
  }
  EXPECT_EQ(actual.size(), expected.size());
}

// The class the expression gives a code point: letter, number, white space or other.
int expressionClass(char32_t scalar) {
  if (u_isUWhiteSpace(static_cast<UChar32>(scalar))) return 2;
  const auto category = U_MASK(u_charType(static_cast<UChar32>(scalar)));
  if (category & U_GC_L_MASK) return 0;
  if (category & U_GC_N_MASK) return 1;
  return 3;
}

bool isScalar(char32_t c) { return c < 0xD800 || (c > 0xDFFF && c <= 0x10FFFF); }

}  // namespace

TEST(PreTokenizer, SplitsAsTheExpressionDoes) {
  struct Case {
    const char* text;
    Pieces pieces;
  };
  const Case cases[] = {
      {"Hello world", {"Hello", " world"}},
      {"it's they're I'll we've I'm he'd don't",
       {"it", "'s", " they", "'re", " I", "'ll", " we", "'ve", " I", "'m", " he", "'d", " don", "'t"}},
      {"'sam ''s IT'S", {"'s", "am", " ''", "s", " IT", "'", "S"}},
      {"a  b", {"a", " ", " b"}},  // a run of spaces leaves its last one to the word
      {"a \t b", {"a", " \t", " b"}},
      {"a\tb", {"a", "\t", "b"}},  // a single white space before a word stands alone
      {"a\n\nb", {"a", "\n", "\n", "b"}},
      {"a   ", {"a", "   "}},  // at the end the whole run
      {"x = 3.14;", {"x", " =", " 3", ".", "14", ";"}},
      {"abc123def", {"abc", "123", "def"}},
      {" !?", {" !?"}},
      {"naïve Ⅻ½ 東京", {"na\xC3\xAFve", " Ⅻ½", " 東京"}},
      {"a\xC2\xA0"
       "b",
       {"a", "\xC2\xA0", "b"}},  // a no-break space is white space but not " "
      {"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(pieces(c.text), c.pieces);
    EXPECT_EQ(icuPieces(c.text), c.pieces);
  }
}

TEST(PreTokenizer, AgreesWithICUOnALargeMixedText) {
  std::ifstream file(std::filesystem::path(QUILLO_TEST_DIR) / "fixtures/mixed/text.txt", std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  ASSERT_GT(text.str().size(), 30000u);
  expectPiecesAsICU(text.str());
}

TEST(PreTokenizer, AgreesWithICUOnEveryCharacterClassBoundary) {
  // Every pair of neighbouring code points whose classes differ, each in the contexts the alternatives of
  // the expression look at: joined, after a space, after two spaces, after an apostrophe, around tabs.
  std::string text;
  std::size_t boundaries = 0;
  for (char32_t c = 1; c <= 0x10FFFF; ++c) {
    if (!isScalar(c) || !isScalar(c - 1) || expressionClass(c) == expressionClass(c - 1)) continue;
    ++boundaries;
    const std::string a = foundation::utf8(c - 1);
    const std::string b = foundation::utf8(c);
    text += a + b + " " + b + a + "  " + a + "'" + b + "\t" + b + " " + a + a + "'s" + b + "\n";
  }
  EXPECT_GT(boundaries, 1000u);
  expectPiecesAsICU(text);
}

TEST(PreTokenizer, AgreesWithICUOnEveryCodePoint) {
  // All code points in order, so every one meets its neighbours; then every one after a space.
  std::string joined, spaced;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (!isScalar(c)) continue;
    joined += foundation::utf8(c);
    if (c % 16 == 0) spaced += ' ' + foundation::utf8(c) + "x ";
  }
  expectPiecesAsICU(joined);
  expectPiecesAsICU(spaced);
}

TEST(PreTokenizer, ValidatesUTF8) {
  struct Case {
    const char* name;
    std::string text;
    bool isValid;
  };
  const Case cases[] = {
      {"ASCII", "plain text that is longer than eight bytes", true},
      {"two bytes", "caf\xC3\xA9", true},
      {"three bytes", "\xE2\x82\xAC", true},
      {"four bytes", "\xF0\x9F\x91\x8D", true},
      {"stray continuation", "a\x80", false},
      {"truncated", "abc\xE2\x82", false},
      {"overlong", "\xC0\xAF", false},
      {"overlong three bytes", "\xE0\x80\xAF", false},
      {"surrogate", "\xED\xA0\x80", false},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", false},
      {"invalid lead", "\xFF", false},
      {"continuation missing", "\xC3(", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GPTTokenizer::isValidUTF8(c.text), c.isValid);
    EXPECT_EQ(GPTTokenizer::isValidUTF8(c.text), foundation::isValidUtf8(c.text));
  }
}
