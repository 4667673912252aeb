// The grammar of Swift source code: which characters are delimiters, which delimiters join, and the
// thirteen rules that type a token by looking at it and its neighbours (no parsing).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "syntax_highlighter/grammar.h"

namespace Glint {

class SwiftGrammar : public Grammar {
 public:
  using WordSet = std::unordered_set<std::string>;

  SwiftGrammar();

  const CharacterSet& delimiters() const override { return *delimiters_; }
  const std::vector<std::shared_ptr<const SyntaxRule>>& syntaxRules() const override { return *syntaxRules_; }
  bool canMergeDelimiters(std::string_view last, std::string_view delimiter) const override;

  // Made once on first use (safely under concurrent first use), then only read.
  static const WordSet& reservedWords();
  static const WordSet& accessModifiers();
  static const WordSet& declarationWords();

 private:
  // Shared by every grammar value: both are immutable once made.
  std::shared_ptr<const CharacterSet> delimiters_;
  std::shared_ptr<const std::vector<std::shared_ptr<const SyntaxRule>>> syntaxRules_;
};

}  // namespace Glint
