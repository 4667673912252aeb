#include "syntax_highlighter/tokenizer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <thread>
#include <vector>

#include "syntax_highlighter/swift_grammar.h"

namespace Glint {
namespace {

// Delimiters are ASCII punctuation; which of them join is up to the test.
class TestGrammar : public Grammar {
 public:
  explicit TestGrammar(std::function<bool(std::string_view, std::string_view)> canMerge =
                           [](std::string_view, std::string_view) { return true; })
      : canMerge_(std::move(canMerge)) {}

  const CharacterSet& delimiters() const override { return delimiters_; }
  const std::vector<std::shared_ptr<const SyntaxRule>>& syntaxRules() const override { return rules_; }
  bool canMergeDelimiters(std::string_view last, std::string_view delimiter) const override {
    return canMerge_(last, delimiter);
  }

 private:
  std::function<bool(std::string_view, std::string_view)> canMerge_;
  CharacterSet delimiters_{[](char32_t scalar) {
    return scalar < 0x80 && scalar > ' ' &&
           !((scalar >= 'a' && scalar <= 'z') || (scalar >= 'A' && scalar <= 'Z') ||
             (scalar >= '0' && scalar <= '9'));
  }};
  std::vector<std::shared_ptr<const SyntaxRule>> rules_;
};

std::vector<Segment> segmentsOf(std::string_view code, const Grammar& grammar) {
  std::vector<Segment> segments;
  for (const Segment& segment : Tokenizer().segments(code, grammar)) segments.push_back(segment);
  return segments;
}

std::vector<std::string> tokensOf(std::string_view code, const Grammar& grammar) {
  std::vector<std::string> tokens;
  for (const Segment& segment : segmentsOf(code, grammar)) tokens.push_back(segment.tokens.current);
  return tokens;
}

using Strings = std::vector<std::string>;

TEST(Tokenizer, EmptyCodeHasNoSegments) { EXPECT_TRUE(segmentsOf("", TestGrammar()).empty()); }

TEST(Tokenizer, WhitespaceOnlyCodeIsOneSegmentWithAnEmptyToken) {
  struct Case {
    std::string code;
    bool isLastOnLine;
  };
  const Case cases[] = {{"   ", false}, {" \n\t", true}, {"\n\n", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    const auto segments = segmentsOf(c.code, TestGrammar());
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0].tokens.current, "");
    EXPECT_EQ(segments[0].trailingWhitespace, c.code);
    EXPECT_EQ(segments[0].isLastOnLine, c.isLastOnLine);
    EXPECT_FALSE(segments[0].tokens.previous);
    EXPECT_FALSE(segments[0].tokens.next);
  }
}

TEST(Tokenizer, LeadingWhitespaceGivesAnEmptyFirstToken) {
  const auto segments = segmentsOf("  word", TestGrammar());
  ASSERT_EQ(segments.size(), 2u);
  EXPECT_EQ(segments[0].tokens.current, "");
  EXPECT_EQ(segments[0].trailingWhitespace, "  ");
  EXPECT_EQ(segments[0].tokens.next, "word");
  EXPECT_EQ(segments[1].tokens.current, "word");
  EXPECT_EQ(segments[1].prefix.view(), "  ");
  EXPECT_EQ(segments[1].tokens.previous, "");
  EXPECT_EQ(segments[1].tokens.all.toVector(), Strings{""});
}

TEST(Tokenizer, KeepsLineBookkeepingAndNeighbours) {
  const auto segments = segmentsOf("A  B\nC", TestGrammar());
  ASSERT_EQ(segments.size(), 3u);
  const Segment& a = segments[0];
  const Segment& b = segments[1];
  const Segment& c = segments[2];

  EXPECT_EQ(a.trailingWhitespace, "  ");
  EXPECT_FALSE(a.isLastOnLine);
  EXPECT_FALSE(a.tokens.previous);
  EXPECT_EQ(a.tokens.next, "B");
  EXPECT_TRUE(a.tokens.all.empty());

  EXPECT_EQ(b.trailingWhitespace, "\n");
  EXPECT_TRUE(b.isLastOnLine);
  EXPECT_EQ(b.tokens.onSameLine.toVector(), Strings{"A"});
  EXPECT_EQ(b.prefix.view(), "A  ");

  EXPECT_FALSE(c.trailingWhitespace);
  EXPECT_TRUE(c.tokens.onSameLine.empty());
  EXPECT_EQ(c.tokens.previous, "B");
  EXPECT_FALSE(c.tokens.next);
  EXPECT_EQ(c.tokens.all.toVector(), (Strings{"A", "B"}));
  EXPECT_EQ(c.tokens.counts.count("A"), 1u);
  EXPECT_EQ(c.tokens.counts.count("B"), 1u);
  EXPECT_EQ(c.tokens.counts.count("C"), 0u);
  EXPECT_EQ(c.tokens.counts.size(), 2u);
  EXPECT_EQ(c.prefix.view(), "A  B\n");
}

TEST(Tokenizer, SplitsAtTheChangeBetweenPlainAndDelimiter) {
  const auto segments = segmentsOf("call(x)", TestGrammar([](auto, auto) { return false; }));
  ASSERT_EQ(segments.size(), 4u);
  EXPECT_EQ(segments[0].tokens.current, "call");
  EXPECT_FALSE(segments[0].trailingWhitespace);
  EXPECT_EQ(segments[0].tokens.next, "(");
  EXPECT_FALSE(segments[0].currentTokenIsDelimiter);
  EXPECT_EQ(segments[1].tokens.current, "(");
  EXPECT_TRUE(segments[1].currentTokenIsDelimiter);
  EXPECT_EQ(segments[2].tokens.current, "x");
  EXPECT_EQ(segments[3].tokens.current, ")");
}

TEST(Tokenizer, JoinsDelimitersPairByPairAsTheGrammarSays) {
  // Only "-" followed by ">" and ">" followed by ">" join.
  const TestGrammar grammar([](std::string_view last, std::string_view next) {
    return (last == "-" && next == ">") || (last == ">" && next == ">");
  });
  struct Case {
    std::string code;
    Strings tokens;
  };
  const Case cases[] = {
      {"->", {"->"}},
      {"->>", {"->>"}},  // the third character is tested against the last one, ">"
      {"-->", {"-", "->"}},
      {">-", {">", "-"}},
      {"- >", {"-", ">"}},  // whitespace always ends a token
      {"a->b", {"a", "->", "b"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(tokensOf(c.code, grammar), c.tokens);
  }
}

TEST(Tokenizer, CountsOnlyEarlierSegments) {
  const auto segments = segmentsOf("x x x", TestGrammar());
  ASSERT_EQ(segments.size(), 3u);
  EXPECT_EQ(segments[0].tokens.counts.count("x"), 0u);
  EXPECT_EQ(segments[1].tokens.counts.count("x"), 1u);
  EXPECT_EQ(segments[2].tokens.counts.count("x"), 2u);
  EXPECT_EQ(segments[2].tokens.counts.toMap(), (std::map<std::string, std::size_t>{{"x", 2}}));
}

TEST(Tokenizer, StartsEachLineAfresh) {
  const auto segments = segmentsOf("a b\n\n  c d\r\ne", TestGrammar());
  ASSERT_EQ(segments.size(), 5u);
  EXPECT_EQ(segments[1].trailingWhitespace, "\n\n  ");  // a blank line makes no segment
  EXPECT_TRUE(segments[2].tokens.onSameLine.empty());
  EXPECT_EQ(segments[3].tokens.onSameLine.toVector(), Strings{"c"});
  EXPECT_EQ(segments[3].trailingWhitespace, "\r\n");
  EXPECT_TRUE(segments[3].isLastOnLine);
  EXPECT_TRUE(segments[4].tokens.onSameLine.empty());
  EXPECT_EQ(segments[4].tokens.all.toVector(), (Strings{"a", "b", "c", "d"}));
}

TEST(Tokenizer, LastSegmentKeepsTheFinalWhitespace) {
  const auto segments = segmentsOf("end \n", TestGrammar());
  ASSERT_EQ(segments.size(), 1u);
  EXPECT_EQ(segments[0].trailingWhitespace, " \n");
  EXPECT_FALSE(segments[0].tokens.next);
}

TEST(Tokenizer, ReadsUserPerceivedCharacters) {
  // "e" with a combining acute is one plain character; a mark after "(" stays with it in one character.
  EXPECT_EQ(tokensOf("cafe\u0301(x", TestGrammar()), (Strings{"cafe\u0301", "(", "x"}));
  EXPECT_EQ(tokensOf("é", TestGrammar()), Strings{"é"});
  // Non-ASCII whitespace and newlines separate tokens.
  const auto segments = segmentsOf("a\u00A0b\u2028c", TestGrammar());
  ASSERT_EQ(segments.size(), 3u);
  EXPECT_EQ(segments[0].trailingWhitespace, "\u00A0");
  EXPECT_FALSE(segments[0].isLastOnLine);
  EXPECT_TRUE(segments[1].isLastOnLine);
}

TEST(Tokenizer, ReadsInvalidUtf8AsReplacementCharacters) {
  const auto tokens = tokensOf(std::string("a \xFF b"), TestGrammar());
  EXPECT_EQ(tokens, (Strings{"a", "\uFFFD", "b"}));
}

TEST(Tokenizer, CountsCanonicallyEquivalentTextsTogether) {
  const auto segments = segmentsOf("\u00E9 e\u0301 x", TestGrammar());
  ASSERT_EQ(segments.size(), 3u);
  EXPECT_EQ(segments[2].tokens.counts.count("\u00E9"), 2u);
  EXPECT_EQ(segments[2].tokens.counts.count("e\u0301"), 2u);
  EXPECT_EQ(segments[2].tokens.counts.size(), 1u);
}

TEST(Tokenizer, CountsAlikeOnAnotherThread) {
  // Counting is indexed on the walk's thread; elsewhere the tokens are read instead, to the same result.
  const auto segments = segmentsOf("x y x\nz x y", TestGrammar());
  ASSERT_EQ(segments.size(), 6u);
  std::vector<std::size_t> here, there;
  auto countAll = [&](std::vector<std::size_t>& into) {
    for (const Segment& segment : segments) {
      into.push_back(segment.tokens.counts.count("x") * 100 + segment.tokens.counts.count("y") * 10 +
                     segment.tokens.counts.size());
    }
  };
  std::thread other([&] { countAll(there); });
  other.join();
  countAll(here);
  EXPECT_EQ(here, (std::vector<std::size_t>{0, 101, 112, 212, 213, 313}));
  EXPECT_EQ(there, here);
}

TEST(Tokenizer, EveryIterationIsAFreshWalk) {
  const TestGrammar grammar;
  const auto sequence = Tokenizer().segments("a b", grammar);
  std::size_t first = 0;
  for (const auto& segment : sequence) first += segment.tokens.all.size();
  std::size_t second = 0;
  for (const auto& segment : sequence) second += segment.tokens.all.size();
  EXPECT_EQ(first, 1u);
  EXPECT_EQ(second, first);
}

TEST(Tokenizer, SegmentsKeepWhatTheySawWhileTheWalkGoesOn) {
  // Views of the shared history never show tokens that came after their segment.
  const auto segments = segmentsOf("a b c\nd e", TestGrammar());
  ASSERT_EQ(segments.size(), 5u);
  EXPECT_EQ(segments[1].tokens.all.toVector(), Strings{"a"});
  EXPECT_EQ(segments[2].tokens.onSameLine.toVector(), (Strings{"a", "b"}));
  EXPECT_EQ(segments[1].tokens.counts.count("c"), 0u);
  EXPECT_EQ(segments[4].tokens.onSameLine.toVector(), Strings{"d"});
}

TEST(Tokenizer, SwiftDelimitersKeepQuotedWordsAndDirectivesWhole) {
  const SwiftGrammar grammar;
  struct Case {
    std::string code;
    Strings tokens;
  };
  const Case cases[] = {
      {"#if DEBUG", {"#if", "DEBUG"}},
      {"@MainActor", {"@MainActor"}},
      {"$0.name", {"$0", ".", "name"}},
      {"\"word\"", {"\"word\""}},
      {"\"two words\"", {"\"two", "words\""}},
      {"a->b", {"a", "->", "b"}},
      {"x == y && z", {"x", "==", "y", "&&", "z"}},
      {"f(.a)", {"f", "(.", "a", ")"}},
      {"// c", {"//", "c"}},
      {"/// d", {"///", "d"}},
      {"/** e */", {"/**", "e", "*/"}},
      {"\\(x)", {"\\(", "x", ")"}},
      {"\\.name", {"\\", ".", "name"}},
      {"a?.b", {"a", "?.", "b"}},
      {"f())", {"f", "(", ")", ")"}},
      {"[./", {"[.", "/"}},
      {"überZahl ×2", {"überZahl", "×", "2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(tokensOf(c.code, grammar), c.tokens);
  }
}

}  // namespace
}  // namespace Glint

namespace Glint {
namespace {

std::string readFixture(const std::string& name) {
  std::ifstream file(std::string(QUILLO_TEST_DIR) + "/fixtures/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(Tokenizer, SharedViewsShowWhatCopiesTakenAtEachSegmentWouldHold) {
  const std::string code = readFixture("sample.swift");
  ASSERT_FALSE(code.empty());
  const SwiftGrammar grammar;

  // The tokens, line tokens and counts as copies taken when each segment starts.
  std::vector<std::string> allTokens;
  std::vector<std::string> lineTokens;
  std::map<std::string, std::size_t> counts;
  std::string codeSoFar;
  std::size_t segmentCount = 0;
  for (const Segment& segment : Tokenizer().segments(code, grammar)) {
    SCOPED_TRACE(segment.tokens.current);
    ++segmentCount;
    EXPECT_EQ(segment.prefix.view(), codeSoFar);
    EXPECT_EQ(segment.tokens.all.toVector(), allTokens);
    EXPECT_EQ(segment.tokens.onSameLine.toVector(), lineTokens);
    EXPECT_EQ(segment.tokens.counts.toMap(), counts);
    for (const auto& [text, count] : counts) EXPECT_EQ(segment.tokens.counts.count(text), count);

    const std::string& token = segment.tokens.current;
    codeSoFar += token + segment.trailingWhitespace.value_or("");
    allTokens.push_back(token);
    ++counts[token];
    if (segment.isLastOnLine) {
      lineTokens.clear();
    } else {
      lineTokens.push_back(token);
    }
  }
  EXPECT_EQ(codeSoFar, code);
  EXPECT_GT(segmentCount, 300u);
}

}  // namespace
}  // namespace Glint
