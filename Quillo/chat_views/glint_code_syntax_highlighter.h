// The application's code highlighter for replies: Swift is coloured through Glint, other code is plain.
#pragma once

#include <optional>
#include <string>

#include "MarkdownRender/views/code_syntax_highlighter.h"
#include "Quillo/chat_views/text_output_format.h"
#include "platform/ui/color_scheme.h"
#include "syntax_highlighter/syntax_highlighter.h"

namespace Quillo {

class GlintCodeSyntaxHighlighter final : public MarkdownRender::CodeSyntaxHighlighter {
 public:
  explicit GlintCodeSyntaxHighlighter(Glint::SyntaxHighlighter<TextOutputFormat> syntaxHighlighter)
      : syntaxHighlighter(std::move(syntaxHighlighter)) {}

  // The highlighter a chat bubble uses under `colorScheme`: the cream preset in light appearance and the
  // slate preset in dark, each with the 16-point system font, over the Swift grammar.
  static GlintCodeSyntaxHighlighter forColorScheme(ui::ColorScheme colorScheme);

  // Highlighted when the language is "swift" in any mix of case (nothing more, nothing less); plain text
  // for any other language or none.
  ui::Text highlightedText(const std::string& code,
                           const std::optional<std::string>& language) const override;

  Glint::SyntaxHighlighter<TextOutputFormat> syntaxHighlighter;
};

}  // namespace Quillo
