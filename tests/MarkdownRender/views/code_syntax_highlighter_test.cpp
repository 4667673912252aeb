#include "MarkdownRender/views/code_syntax_highlighter.h"

#include <gtest/gtest.h>

namespace MarkdownRender {
namespace {

ui::AttributedString shown(const ui::Text& text) {
  auto* spec = dynamic_cast<const ui::detail::TextSpec*>(text.spec().get());
  return spec ? spec->attributedString() : ui::AttributedString();
}

TEST(PlainTextCodeSyntaxHighlighter, ShowsCodeExactlyAsWrittenWhateverTheLanguage) {
  const std::string code = "let greeting = \"Hello\" // %@ stays\n  print(greeting)";
  for (auto language :
       {std::optional<std::string>("swift"), std::optional<std::string>(), std::optional<std::string>("")}) {
    SCOPED_TRACE(language.value_or("(none)"));
    auto text = shown(PlainTextCodeSyntaxHighlighter().highlightedText(code, language));
    EXPECT_EQ(text, ui::AttributedString(code));
  }
}

TEST(PlainTextCodeSyntaxHighlighter, IsWhatCodeBlocksUseUnlessToldOtherwise) {
  auto highlighter = CodeSyntaxHighlighterKey::defaultValue();
  ASSERT_NE(highlighter, nullptr);
  EXPECT_NE(dynamic_cast<const PlainTextCodeSyntaxHighlighter*>(highlighter.get()), nullptr);
}

}  // namespace
}  // namespace MarkdownRender
