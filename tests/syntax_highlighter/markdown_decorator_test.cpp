#include "syntax_highlighter/markdown_decorator.h"

#include <gtest/gtest.h>

#include "syntax_highlighter/swift_grammar.h"

namespace Glint {
namespace {

std::string decorated(std::string_view markdown) {
  return MarkdownDecorator("s-", SwiftGrammar()).decorate(markdown);
}

TEST(MarkdownDecorator, RewritesEveryFencedBlock) {
  struct Case {
    std::string markdown;
    std::string result;
  };
  const Case cases[] = {
      {"no fences <here> & there", "no fences <here> & there"},
      {"Intro\n```\nlet x = 1\n```\nmiddle\n```\nreturn\n```\nend",
       "Intro\n<pre class=\"glint\"><code><span class=\"s-keyword\">let</span> x = <span "
       "class=\"s-number\">1</span></code></pre>\nmiddle\n<pre class=\"glint\"><code><span "
       "class=\"s-keyword\">return</span></code></pre>\nend"},
      // The info word is part of the code.
      {"```swift\nlet\n```",
       "<pre class=\"glint\"><code>swift\n<span class=\"s-keyword\">let</span></code></pre>"},
      // Skipped blocks lose the word and the character after it, and are escaped.
      {"```no-highlight\na < b\n```", "<pre class=\"glint\"><code>a &lt; b</code></pre>"},
      {"```no-highlight```", "<pre class=\"glint\"><code></code></pre>"},
      {"```no-highlight\r\nx```", "<pre class=\"glint\"><code>x</code></pre>"},  // CR LF is one character
      // An unclosed last fence still holds code.
      {"text\n```\nvar",
       "text\n<pre class=\"glint\"><code><span class=\"s-keyword\">var</span></code></pre>"},
      {"``````", "<pre class=\"glint\"><code></code></pre>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.markdown);
    EXPECT_EQ(decorated(c.markdown), c.result);
  }
}

TEST(MarkdownDecorator, TrimsUnicodeWhitespaceAroundTheCode) {
  EXPECT_EQ(decorated("```\u00A0\n x \u2028```"), "<pre class=\"glint\"><code>x</code></pre>");
}

}  // namespace
}  // namespace Glint
