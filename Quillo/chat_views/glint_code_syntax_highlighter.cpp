#include "Quillo/chat_views/glint_code_syntax_highlighter.h"

#include "syntax_highlighter/font.h"
#include "syntax_highlighter/swift_grammar.h"

namespace Quillo {

namespace {

bool isSwift(const std::optional<std::string>& language) {
  if (!language) return false;
  std::string lower;
  for (char c : *language) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return lower == "swift";
}

}  // namespace

GlintCodeSyntaxHighlighter GlintCodeSyntaxHighlighter::forColorScheme(ui::ColorScheme colorScheme) {
  Glint::Font font(Glint::Font::System{}, 16.0);
  Glint::Theme theme = colorScheme == ui::ColorScheme::dark ? Glint::Theme::slatePreset(font)
                                                            : Glint::Theme::creamPreset(font);
  return GlintCodeSyntaxHighlighter(
      Glint::SyntaxHighlighter<TextOutputFormat>(TextOutputFormat(std::move(theme)), Glint::SwiftGrammar()));
}

ui::Text GlintCodeSyntaxHighlighter::highlightedText(const std::string& code,
                                                     const std::optional<std::string>& language) const {
  if (isSwift(language)) return syntaxHighlighter.highlightedOutput(code);
  return ui::Text::verbatim(code);
}

}  // namespace Quillo
