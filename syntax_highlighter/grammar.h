// How a language is described to the tokenizer and the highlighter: its delimiter characters, which
// neighbouring delimiters form one token, and the ordered rules that give a segment its token type.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "syntax_highlighter/segment.h"
#include "syntax_highlighter/token_type.h"

namespace Glint {

// A set of Unicode scalars given by a membership test, with the ASCII answers kept in a table.
class CharacterSet {
 public:
  explicit CharacterSet(std::function<bool(char32_t)> contains);

  bool contains(char32_t scalar) const { return scalar < 0x80 ? ascii_[scalar] : contains_(scalar); }

 private:
  std::function<bool(char32_t)> contains_;
  std::array<bool, 0x80> ascii_{};
};

class SyntaxRule {
 public:
  virtual ~SyntaxRule() = default;
  // The type a segment that this rule accepts receives.
  virtual TokenType assignedTokenType() const = 0;
  virtual bool accepts(const Segment& segment) const = 0;
};

class Grammar {
 public:
  virtual ~Grammar() = default;
  // A character whose first scalar is in this set is a delimiter.
  virtual const CharacterSet& delimiters() const = 0;
  // Tried in order; the first rule that accepts a segment decides its type.
  virtual const std::vector<std::shared_ptr<const SyntaxRule>>& syntaxRules() const = 0;
  // Whether `delimiter` joins the delimiter token whose last character is `last` (both one character).
  virtual bool canMergeDelimiters(std::string_view last, std::string_view delimiter) const = 0;
};

}  // namespace Glint
