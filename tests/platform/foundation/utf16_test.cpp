#include "platform/foundation/utf16.h"

#include <gtest/gtest.h>

namespace foundation {
namespace {

TEST(Utf16, LengthCountsCodeUnits) {
  struct Case {
    std::string text;
    std::size_t units;
  };
  const Case cases[] = {
      {"", 0},
      {"abc", 3},
      {"é", 1},
      {"e\u0301", 2},      // combining acute
      {"日本語", 3},       // CJK in the BMP
      {"😀", 2},            // outside the BMP: a surrogate pair
      {"𠀋", 2},           // CJK extension B
      {"👩‍💻", 5},  // woman, joiner, laptop
      {"a😀b", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(utf16Length(c.text), c.units);
    EXPECT_EQ(toUtf16(c.text).size(), c.units);
    EXPECT_EQ(toUtf8(toUtf16(c.text)), c.text);
  }
}

TEST(Utf16, OffsetsConvertBothWaysWithoutSplittingCharacters) {
  const std::string text = "a😀b日e\u0301";  // bytes: a 0, 😀 1-4, b 5, 日 6-8, e 9, U+0301 10-11
  struct Case {
    std::size_t utf16;
    std::size_t utf8;
  };
  const Case forward[] = {{0, 0},  {1, 1},  {2, 1} /* inside the pair: its start */,
                          {3, 5},  {4, 6},  {5, 9},
                          {6, 10}, {7, 12}, {100, 12}};
  for (const auto& c : forward) {
    SCOPED_TRACE(c.utf16);
    EXPECT_EQ(utf8Offset(text, c.utf16), c.utf8);
  }
  const Case backward[] = {{0, 0},  {1, 1},  {1, 2} /* inside the emoji */,
                           {1, 4},  {3, 5},  {4, 6},
                           {4, 8},  {5, 9},  {6, 10},
                           {6, 11}, {7, 12}, {7, 100}};
  for (const auto& c : backward) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(utf16Offset(text, c.utf8), c.utf16);
  }
}

TEST(Utf16, SubstringsByUtf16Range) {
  const std::string text = "x😀y日z";
  struct Case {
    Utf16Range range;
    std::string part;
  };
  const Case cases[] = {
      {{0, 1}, "x"},  {{1, 2}, "😀"},           {{3, 2}, "y日"}, {{0, 100}, text},
      {{1, 1}, ""},    // ends inside the pair: the half character is left out
      {{2, 2}, "😀y"},  // starts inside the pair: the whole character is taken
      {{50, 3}, ""},  {{3, SIZE_MAX}, "y日z"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.range.location);
    EXPECT_EQ(utf16Substring(text, c.range), c.part);
  }
}

TEST(Utf16, RangeWithinLength) {
  EXPECT_TRUE(isUtf16RangeWithin({0, 4}, 4));
  EXPECT_TRUE(isUtf16RangeWithin({4, 0}, 4));
  EXPECT_FALSE(isUtf16RangeWithin({3, 2}, 4));
  EXPECT_FALSE(isUtf16RangeWithin({5, 0}, 4));
  EXPECT_FALSE(isUtf16RangeWithin({2, SIZE_MAX}, 4));
}

TEST(Utf16, InvalidUtf8ReadsAsReplacementCharacters) {
  struct Case {
    std::string text;
    std::string sanitized;
  };
  const Case cases[] = {
      {"a\xFF"
       "b",
       "a\uFFFDb"},
      {"\xC3", "\uFFFD"},                                // truncated two-byte sequence
      {"\xE6\x97", "\uFFFD"},                            // truncated three-byte sequence: one maximal subpart
      {"\xC0\xAF", "\uFFFD\uFFFD"},                      // overlong
      {"\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
      {"\xF4\x90\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sanitized);
    EXPECT_FALSE(isValidUtf8(c.text));
    EXPECT_EQ(sanitizedUtf8(c.text), c.sanitized);
    EXPECT_EQ(toUtf8(toUtf16(c.text)), c.sanitized);
    EXPECT_EQ(utf16Length(c.text), utf16Length(c.sanitized));
  }
  EXPECT_TRUE(isValidUtf8("ok é 😀"));
}

TEST(Utf16, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::u16string units = {u'a', 0xD83D, u'b', 0xDE00};
  EXPECT_EQ(toUtf8(units), "a\uFFFDb\uFFFD");
}

TEST(Utf16, ScalarsAndTheirEncoding) {
  EXPECT_EQ(unicodeScalars("a😀é"), (std::vector<char32_t>{U'a', U'😀', U'é'}));
  EXPECT_EQ(utf8(U'😀'), "😀");
  EXPECT_EQ(utf8(0xD800), "\uFFFD");
  EXPECT_EQ(utf8(0x110000), "\uFFFD");
}

}  // namespace
}  // namespace foundation
