#include "platform/foundation/unicode.h"

#include <gtest/gtest.h>

#include <thread>

namespace foundation {
namespace {

using Clusters = std::vector<std::string>;

TEST(Unicode, GraphemeClustersAreUserPerceivedCharacters) {
  struct Case {
    std::string text;
    Clusters clusters;
  };
  const Case cases[] = {
      {"", {}},
      {"ab", {"a", "b"}},
      {"a\r\nb\rc\n", {"a", "\r\n", "b", "\r", "c", "\n"}},
      {"e\u0301x", {"e\u0301", "x"}},
      {"👩‍👩‍👧‍👦!",
       {"👩‍👩‍👧‍👦", "!"}},    // a family joined by ZERO WIDTH JOINERs
      {"🇫🇷🇩🇪", {"🇫🇷", "🇩🇪"}},                  // regional indicator pairs
      {"👍🏽ok", {"👍🏽", "o", "k"}},  // skin-tone modifier
      {"1️⃣", {"1️⃣"}},                // keycap sequence
      {"日本", {"日", "本"}},
      {"\u2028x", {"\u2028", "x"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(graphemeClusters(c.text), c.clusters);
    EXPECT_EQ(graphemeCount(c.text), c.clusters.size());
  }
}

TEST(Unicode, GraphemeClustersOnTwoThreadsAtOnce) {
  // Each thread segments with its own break iterator.
  auto segment = [] {
    for (int i = 0; i < 200; ++i) EXPECT_EQ(graphemeCount("👩‍👩‍👧‍👦 e\u0301 日本"), 6u);
  };
  std::thread other(segment);
  segment();
  other.join();
}

TEST(Unicode, GraphemeClustersOfInvalidUtf8UseReplacementCharacters) {
  EXPECT_EQ(graphemeClusters("a\xFF"
                             "é"),
            (Clusters{"a", "\uFFFD", "é"}));
}

TEST(Unicode, GeneralCategories) {
  struct Case {
    char32_t scalar;
    std::string_view category;
  };
  const Case cases[] = {
      {U'A', "Lu"},   {U'a', "Ll"},   {U'ǅ', "Lt"},   {U'日', "Lo"},    {0x0301, "Mn"}, {U'7', "Nd"},
      {U'Ⅻ', "Nl"},   {U'½', "No"},   {U'_', "Pc"},   {U'-', "Pd"},     {U'(', "Ps"},   {U')', "Pe"},
      {U'«', "Pi"},   {U'»', "Pf"},   {U'!', "Po"},   {U'+', "Sm"},     {U'€', "Sc"},   {U'^', "Sk"},
      {U'😀', "So"},   {U' ', "Zs"},   {0x00A0, "Zs"}, {0x2028, "Zl"},   {0x2029, "Zp"}, {U'\n', "Cc"},
      {0x200D, "Cf"}, {0xE000, "Co"}, {0x0378, "Cn"}, {0x110000, "Cn"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<unsigned>(c.scalar));
    EXPECT_EQ(abbreviation(generalCategory(c.scalar)), c.category);
  }
  EXPECT_EQ(generalCategoryOfFirstScalar("é!"), GeneralCategory::lowercaseLetter);
  EXPECT_EQ(generalCategoryOfFirstScalar("😀"), GeneralCategory::otherSymbol);
  EXPECT_EQ(generalCategoryOfFirstScalar(""), std::nullopt);
  EXPECT_EQ(firstScalar("\xFF"
                        "a"),
            U'\uFFFD');
  EXPECT_TRUE(isLetter(GeneralCategory::titlecaseLetter));
  EXPECT_TRUE(isPunctuation(GeneralCategory::finalPunctuation));
  EXPECT_FALSE(isSymbol(GeneralCategory::otherPunctuation));
}

TEST(Unicode, WhitespaceAndNewlineSets) {
  for (char32_t c : {U' ', U'\t', char32_t{0xA0}, char32_t{0x3000}, char32_t{0x2003}}) {
    SCOPED_TRACE(static_cast<unsigned>(c));
    EXPECT_TRUE(isWhitespace(c));
    EXPECT_FALSE(isNewline(c));
  }
  for (char32_t c :
       {U'\n', char32_t{0x0B}, char32_t{0x0C}, U'\r', char32_t{0x85}, char32_t{0x2028}, char32_t{0x2029}}) {
    SCOPED_TRACE(static_cast<unsigned>(c));
    EXPECT_TRUE(isNewline(c));
    EXPECT_FALSE(isWhitespace(c));
    EXPECT_TRUE(isWhitespaceOrNewline(c));
  }
  EXPECT_FALSE(isWhitespaceOrNewline(U'a'));
  EXPECT_FALSE(isWhitespaceOrNewline(0x200B));  // ZERO WIDTH SPACE is a format character
}

TEST(Unicode, RootLocaleCaseMapping) {
  struct Case {
    std::string text;
    std::string lower;
    std::string upper;
  };
  const Case cases[] = {
      {"Swift", "swift", "SWIFT"},
      {"ÉCOLE", "école", "ÉCOLE"},
      {"İstanbul", "i̇stanbul", "İSTANBUL"},  // no Turkish rules: dotted capital I keeps its dot
      {"Straße", "straße", "STRASSE"},
      {"ΣΑΣ", "σας", "ΣΑΣ"},  // final sigma
      {"gh-Dark-Mode-Only", "gh-dark-mode-only", "GH-DARK-MODE-ONLY"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(lowercased(c.text), c.lower);
    EXPECT_EQ(uppercased(c.text), c.upper);
  }
}

TEST(Unicode, CanonicalEquivalence) {
  EXPECT_TRUE(canonicallyEquivalent("\u00E9", "e\u0301"));
  EXPECT_TRUE(canonicallyEquivalent("\u1E69", "s\u0323\u0307"));
  EXPECT_TRUE(canonicallyEquivalent("s\u0307\u0323", "s\u0323\u0307"));  // mark order normalised
  EXPECT_FALSE(canonicallyEquivalent("e", "é"));
  EXPECT_FALSE(canonicallyEquivalent("ﬁ", "fi"));  // compatibility, not canonical
  EXPECT_EQ(nfc("e\u0301"), "\u00E9");
  EXPECT_EQ(nfd("\u00E9"), "e\u0301");

  EXPECT_TRUE(startsWithCanonically("\u00E9t\u00E9", "e\u0301"));
  EXPECT_FALSE(startsWithCanonically("e\u0301", "e"));  // whole characters only
  EXPECT_TRUE(endsWithCanonically("caf\u00E9", "e\u0301"));
  EXPECT_FALSE(endsWithCanonically("a\r\n", "\n"));
  EXPECT_TRUE(startsWithCanonically("abc", ""));
  EXPECT_TRUE(startsWithCanonically("abc", "ab"));
  EXPECT_FALSE(startsWithCanonically("ab", "abc"));
}

TEST(Unicode, ContainmentIgnoringCaseAndDiacritics) {
  struct Case {
    std::string haystack;
    std::string needle;
    bool contains;
  };
  const Case cases[] = {
      {"You Exceeded Your Current quota", "exceeded your current", true},
      {"éxceeded your current quota", "exceeded your current", true},
      {"e\u0301xceeded your current", "EXCEEDED", true},
      {"The model does not exist or you do not have access", "does not exist or you do not", true},
      {"résumé", "RESUME", true},
      {"Straße", "STRASSE", true},
      {"exceeded your quota", "exceeded your current", false},
      {"abc", "", false},
      {"", "a", false},
      {"naïve", "naive", true},
      {"ÅNGSTRÖM", "angstrom", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.haystack + " / " + c.needle);
    EXPECT_EQ(containsIgnoringCaseAndDiacritics(c.haystack, c.needle), c.contains);
  }
  EXPECT_EQ(foldedIgnoringCaseAndDiacritics("Éclair"), "eclair");
}

}  // namespace
}  // namespace foundation
