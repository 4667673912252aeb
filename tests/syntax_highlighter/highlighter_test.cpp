#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "syntax_highlighter/html_output_format.h"
#include "syntax_highlighter/swift_grammar.h"
#include "syntax_highlighter/syntax_highlighter.h"

namespace Glint {
namespace {

// Writes down every builder call as text: token(type:text), plain(text), space(text).
struct RecordingFormat {
  struct Builder {
    using Output = std::vector<std::string>;
    void appendToken(const std::string& token, const TokenType& type) {
      calls.push_back("token(" + type.stringValue() + ":" + token + ")");
    }
    void appendPlainText(const std::string& text) { calls.push_back("plain(" + text + ")"); }
    void appendWhitespace(const std::string& whitespace) { calls.push_back("space(" + whitespace + ")"); }
    Output buildOutput() { return calls; }
    std::vector<std::string> calls;
  };
  Builder makeOutputBuilder() const { return {}; }
};

using Calls = std::vector<std::string>;

Calls builderCalls(std::string_view code) {
  return SyntaxHighlighter<RecordingFormat>(RecordingFormat(), SwiftGrammar()).highlightedOutput(code);
}

TEST(SyntaxHighlighter, FeedsTheBuilderEveryCharacterOnceInOrder) {
  struct Case {
    std::string code;
    Calls calls;
  };
  const Case cases[] = {
      {"", {}},
      {"  let", {"space(  )", "token(keyword:let)"}},
      {"private(set) var",
       {"token(keyword:private(set))", "space( )", "token(keyword:var)"}},  // touching keywords join
      {"public static", {"token(keyword:public)", "space( )", "token(keyword:static)"}},
      {"foo(x)", {"token(call:foo)", "plain((x))"}},  // untyped tokens join too
      {"return x\n", {"token(keyword:return)", "space( )", "plain(x)", "space(\n)"}},
      {"a.b", {"plain(a.)", "token(property:b)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(builderCalls(c.code), c.calls);
  }
}

// Joins every text the builder receives.
struct ConcatenatingFormat {
  struct Builder {
    using Output = std::string;
    void appendToken(const std::string& token, const TokenType&) { text += token; }
    void appendPlainText(const std::string& plain) { text += plain; }
    void appendWhitespace(const std::string& whitespace) { text += whitespace; }
    Output buildOutput() { return text; }
    std::string text;
  };
  Builder makeOutputBuilder() const { return {}; }
};

TEST(SyntaxHighlighter, LosesNoCharacterOfAnyCode) {
  std::ifstream file(std::string(QUILLO_TEST_DIR) + "/fixtures/sample.swift", std::ios::binary);
  const std::string sample((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const SyntaxHighlighter<ConcatenatingFormat> highlighter{ConcatenatingFormat{}, SwiftGrammar{}};
  for (const std::string& code : {sample, std::string(" \n\t x"), std::string("\"\"\"\n\\(a)\n"),
                                  std::string("a\r\nb\u2028c e\u0301 \U0001F600!")}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(highlighter.highlightedOutput(code), code);
  }
  // Invalid UTF-8 comes through as replacement characters.
  EXPECT_EQ(highlighter.highlightedOutput("a\xC3(b"), "a\uFFFD(b");
}

std::string html(std::string_view code, std::string classPrefix = "") {
  return SyntaxHighlighter<HTMLOutputFormat>(HTMLOutputFormat(std::move(classPrefix)), SwiftGrammar())
      .highlightedOutput(code);
}

TEST(HTMLOutputFormat, WrapsRunsOfOneTypeInSpans) {
  struct Case {
    std::string code;
    std::string html;
  };
  const Case cases[] = {
      {"", ""},
      {"public static", "<span class=\"keyword\">public static</span>"},
      {"let x", "<span class=\"keyword\">let</span> x"},
      {"let x = 1 \n", "<span class=\"keyword\">let</span> x = <span class=\"number\">1</span> \n"},
      {"a < b && c > d", "a &lt; b &amp;&amp; c &gt; d"},
      {"// a <b> & c", "<span class=\"comment\">// a &lt;b&gt; &amp; c</span>"},
      {"\"it's\"", "<span class=\"string\">\"it's\"</span>"},  // quotes stay
      {"\tlet", "\t<span class=\"keyword\">let</span>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(html(c.code), c.html);
  }
  EXPECT_EQ(html("// note", "pre-"), "<span class=\"pre-comment\">// note</span>");
}

TEST(HTMLOutputFormat, BuilderKeepsWhitespaceBetweenTokensOfOneType) {
  HTMLOutputFormat::Builder builder = HTMLOutputFormat("g-").makeOutputBuilder();
  builder.appendWhitespace("  ");
  builder.appendToken("<", TokenType::custom("op"));
  builder.appendWhitespace(" ");
  builder.appendToken("<<", TokenType::custom("op"));
  builder.appendWhitespace("\n");
  builder.appendPlainText("x&y");
  EXPECT_EQ(builder.buildOutput(), "  <span class=\"g-op\">&lt; &lt;&lt;</span>\nx&amp;y");
}

TEST(HTMLOutputFormat, EscapesMarkupCharactersEvenWithCombiningMarks) {
  EXPECT_EQ(escapedHTML("<\u0301a>"), "&lt;\u0301a&gt;");
  EXPECT_EQ(escapedHTML("\"'"), "\"'");
}

}  // namespace
}  // namespace Glint

namespace Glint {
namespace {

TEST(SyntaxHighlighter, HighlightsOnSeveralThreadsAtOnce) {
  // The grammar's word sets and rules are made on first use and then only read, so highlighters on
  // different threads may start together.
  const std::string code = "struct A<T: Equatable> { let x: Int = 1 } // done";
  const std::string expected = html(code);
  std::vector<std::string> results(4);
  std::vector<std::thread> threads;
  for (auto& result : results) {
    threads.emplace_back([&result, &code] {
      for (int round = 0; round < 20; ++round) result = html(code);
    });
  }
  for (auto& thread : threads) thread.join();
  for (const auto& result : results) EXPECT_EQ(result, expected);
}

}  // namespace
}  // namespace Glint
