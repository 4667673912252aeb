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
  if constexpr (requires { builder.reserve(code.size()); }) builder.reserve(code.size());
  // Tokens of one type that touch without whitespace reach the builder as one text, gathered in place:
  // copying the pending text for every token it takes in would grow with the square of a run's length.
  std::string pendingText;
  std::optional<TokenType> pendingType;
  bool isPending = false;
  auto emitPending = [&] {
    if (pendingType) {
      builder.appendToken(pendingText, *pendingType);
    } else {
      builder.appendPlainText(pendingText);
    }
    isPending = false;
  };

  SegmentWalk walk = tokenizer.segments(code, grammar).walk();
  Segment segment;
  while (walk.next(segment)) {
    if (segment.tokens.current.empty()) {
      if (segment.trailingWhitespace) builder.appendWhitespace(*segment.trailingWhitespace);
      continue;
    }
    std::optional<TokenType> type = tokenType(segment, *grammar);
    if (isPending && pendingType == type) {
      pendingText += segment.tokens.current;
    } else {
      if (isPending) emitPending();
      pendingText = segment.tokens.current;
      pendingType = std::move(type);
      isPending = true;
    }
    if (segment.trailingWhitespace) {
      emitPending();
      builder.appendWhitespace(*segment.trailingWhitespace);
    }
  }
  if (isPending) emitPending();
  return std::move(builder).buildOutput();
}

}  // namespace Glint
