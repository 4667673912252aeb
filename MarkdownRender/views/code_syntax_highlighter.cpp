#include "MarkdownRender/views/code_syntax_highlighter.h"

namespace MarkdownRender {

ui::Text PlainTextCodeSyntaxHighlighter::highlightedText(const std::string& code,
                                                         const std::optional<std::string>&) const {
  return ui::Text::verbatim(code);
}

CodeSyntaxHighlighterKey::Value CodeSyntaxHighlighterKey::defaultValue() {
  static const Value highlighter = std::make_shared<const PlainTextCodeSyntaxHighlighter>();
  return highlighter;
}

}  // namespace MarkdownRender
