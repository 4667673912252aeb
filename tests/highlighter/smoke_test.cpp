#include <gtest/gtest.h>

#include "syntax_highlighter/html_output_format.h"
#include "syntax_highlighter/swift_grammar.h"
#include "syntax_highlighter/syntax_highlighter.h"

TEST(Smoke, Html) {
  Glint::SyntaxHighlighter<Glint::HTMLOutputFormat> h(Glint::HTMLOutputFormat("s-"), Glint::SwiftGrammar());
  std::cout << h.highlightedOutput("let x = 5\nfunc foo<T: Equatable>(a: Int) -> String { return \"hi \\(a)\" }\n// c\n") << "\n";
}
