// The grammar of Swift source code: which characters are delimiters, which delimiters join, and the
// thirteen rules that type a token by looking at it and its neighbours (no parsing).
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "syntax_highlighter/grammar.h"

namespace Glint {

// A small set of ASCII words, looked up by a cheap hash of a few of their bytes: the rules ask it several
// times for every token.
class WordSet {
 public:
  WordSet(std::initializer_list<std::string_view> words = {});

  bool contains(std::string_view word) const {
    for (std::size_t slot = slotOf(word);; slot = (slot + 1) & mask_) {
      const std::string& entry = slots_[slot];
      if (entry.empty()) return false;
      if (entry == word) return true;
    }
  }
  std::size_t size() const { return count_; }
  void insert(std::string_view word);
  void erase(std::string_view word);
  std::vector<std::string> words() const;

 private:
  std::size_t slotOf(std::string_view word) const {
    if (word.empty()) return 0;
    const std::size_t h = word.size() * 0x9E3779B1u + static_cast<unsigned char>(word.front()) * 0x85EBCA77u +
                          static_cast<unsigned char>(word.back()) * 0xC2B2AE3Du +
                          static_cast<unsigned char>(word[word.size() / 2]) * 0x27D4EB2Fu;
    return (h ^ (h >> 15)) & mask_;
  }
  void rebuild(std::vector<std::string> words);

  std::vector<std::string> slots_;  // an empty string marks a free slot
  std::size_t mask_ = 0;
  std::size_t count_ = 0;
};

class SwiftGrammar : public Grammar {
 public:
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
