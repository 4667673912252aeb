#include "syntax_highlighter/syntax_highlighter.h"

namespace Glint {

std::optional<TokenType> tokenType(const Segment& segment, const Grammar& grammar) {
  for (const auto& rule : grammar.syntaxRules()) {
    if (rule->accepts(segment)) return rule->assignedTokenType();
  }
  return std::nullopt;
}

}  // namespace Glint
