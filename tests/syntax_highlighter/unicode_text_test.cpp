#include "syntax_highlighter/unicode_text.h"

#include <gtest/gtest.h>

#include <string>

namespace Glint::detail {
namespace {

TEST(UnicodeText, ComparesByCanonicalEquivalenceOfWholeCharacters) {
  struct Case {
    std::string text;
    std::string other;
    bool is;
    bool startsWith;
    bool endsWith;
  };
  const Case cases[] = {
      {"let", "let", true, true, true},
      {"let", "le", false, true, false},
      {"\u00E9", "e\u0301", true, true, true},  // precomposed and decomposed é
      {"\u212A", "K", true, true, true},        // KELVIN SIGN is canonically K
      {"e\u0301x", "e", false, false, false},   // é does not start with e
      {"xa\u0301", "a", false, false, false},   // nor end with a
      {"x\u212A", "K", false, false, true},
      {"\u00E9t\u00E9", "e\u0301", false, true, true},
      {"(\u0301", "(", false, false, false},  // a mark joins the parenthesis
      {"a\r\n", "\n", false, false, false},   // CR LF is one character
      {"", "", true, true, true},
      {"a", "", false, true, true},
      {"", "a", false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text + " / " + c.other);
    EXPECT_EQ(isCanonically(c.text, c.other), c.is);
    EXPECT_EQ(startsWith(c.text, c.other), c.startsWith);
    EXPECT_EQ(endsWith(c.text, c.other), c.endsWith);
  }
}

TEST(UnicodeText, LooksOnlyAtTheEndsOfLongTexts) {
  const std::string longASCII(100000, 'a');
  EXPECT_TRUE(endsWith(longASCII + " .", " ."));
  EXPECT_TRUE(endsWith("\u00E9" + longASCII + "\u00E9", "e\u0301"));
  EXPECT_TRUE(startsWith("\u00E9" + longASCII + "\u00E9", "e\u0301"));
  EXPECT_FALSE(startsWith("e" + std::string(100, '\xCC') + longASCII, "f"));
}

TEST(UnicodeText, MeasuresUserPerceivedCharacters) {
  struct Case {
    std::string text;
    std::size_t firstLength;
  };
  std::string longCluster = "a";
  for (int index = 0; index < 60; ++index) longCluster += "\u0301";  // 121 bytes in one character
  const Case cases[] = {
      {"", 0},
      {"ab", 1},
      {"\r\n", 2},
      {"\r", 1},
      {"e\u0301x", 3},
      {"\U0001F1E9\U0001F1EA!", 8},
      {longCluster + "b", 121},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(characterLength(c.text, 0), c.firstLength);
  }
}

TEST(UnicodeText, LetterAndCaseTests) {
  EXPECT_TRUE(isLetter(U'a'));
  EXPECT_TRUE(isLetter(U'\u00DF'));
  EXPECT_TRUE(isLetter(U'\u540D'));
  EXPECT_FALSE(isLetter(U'_'));
  EXPECT_FALSE(isLetter(U'\u0301'));
  EXPECT_TRUE(isLetterOrMark(U'\u0301'));
  EXPECT_FALSE(isLetterOrMark(U'1'));

  EXPECT_FALSE(equalsItsLowercase("A"));
  EXPECT_TRUE(equalsItsLowercase("a"));
  EXPECT_TRUE(equalsItsLowercase("_"));
  EXPECT_TRUE(equalsItsLowercase("\u540D"));
  EXPECT_FALSE(equalsItsLowercase("E\u0301"));
  EXPECT_FALSE(equalsItsLowercase("\u00D6"));
  EXPECT_TRUE(equalsItsLowercase("\u00E9"));
}

TEST(UnicodeText, CountsWholeCharacters) {
  EXPECT_EQ(countOfCharacter("f((x)", "("), 2u);
  EXPECT_EQ(countOfCharacter("((\u0301(", "("), 2u);
  EXPECT_EQ(countOfCharacter("\u00E9e\u0301", "\u00E9"), 2u);
}

TEST(UnicodeText, CanonicalKeysMatchForEquivalentTexts) {
  EXPECT_EQ(canonicalKey("e\u0301"), canonicalKey("\u00E9"));
  EXPECT_EQ(canonicalKey("\u212A"), "K");
  EXPECT_EQ(canonicalKey("plain"), "plain");
}

}  // namespace
}  // namespace Glint::detail
