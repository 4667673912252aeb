// The highlighter: walks the segments of some code, types each token with the first rule of the grammar
// that accepts it, and feeds the output builder of its format.
#pragma once

#include <concepts>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "syntax_highlighter/grammar.h"
#include "syntax_highlighter/output_format.h"
#include "syntax_highlighter/tokenizer.h"

namespace Glint {

// The type of the first rule that accepts the segment; nothing when none does.
std::optional<TokenType> tokenType(const Segment& segment, const Grammar& grammar);

template <OutputFormat Format>
class SyntaxHighlighter {
 public:
  using Output = typename Format::Builder::Output;

  SyntaxHighlighter(Format format, std::shared_ptr<const Grammar> grammar)
      : format(std::move(format)), grammar(std::move(grammar)) {}
  template <std::derived_from<Grammar> GrammarType>
  SyntaxHighlighter(Format format, GrammarType grammar)
      : SyntaxHighlighter(std::move(format), std::make_shared<const GrammarType>(std::move(grammar))) {}

  // Never fails: every code gives an output.
  Output highlightedOutput(std::string_view code) const;

  Format format;
  std::shared_ptr<const Grammar> grammar;
  Tokenizer tokenizer;
};

template <OutputFormat Format>
typename SyntaxHighlighter<Format>::Output SyntaxHighlighter<Format>::highlightedOutput(
    std::string_view code) const {
  auto builder = format.makeOutputBuilder();
  // Tokens of one type that touch without whitespace reach the builder as one text.
  struct Pending {
    std::string text;
    std::optional<TokenType> type;
  };
  std::optional<Pending> pending;
  auto emit = [&builder](const Pending& piece) {
    if (piece.type) {
      builder.appendToken(piece.text, *piece.type);
    } else {
      builder.appendPlainText(piece.text);
    }
  };
  auto settle = [&](Pending piece, const std::optional<std::string>& whitespace) {
    if (whitespace) {
      emit(piece);
      builder.appendWhitespace(*whitespace);
      pending.reset();
    } else {
      pending = std::move(piece);
    }
  };

  SegmentWalk walk = tokenizer.segments(code, grammar).walk();
  while (auto segment = walk.next()) {
    if (segment->tokens.current.empty()) {
      if (segment->trailingWhitespace) builder.appendWhitespace(*segment->trailingWhitespace);
      continue;
    }
    std::optional<TokenType> type = tokenType(*segment, *grammar);
    if (pending && pending->type == type) {
      // Joined in place: copying the pending text for every token it takes in would grow with the square
      // of a long run's length.
      Pending joined = std::move(*pending);
      joined.text += segment->tokens.current;
      settle(std::move(joined), segment->trailingWhitespace);
    } else {
      if (pending) emit(*pending);
      settle(Pending{segment->tokens.current, std::move(type)}, segment->trailingWhitespace);
    }
  }
  if (pending) emit(*pending);
  return builder.buildOutput();
}

}  // namespace Glint
