// Rewrites the fenced code blocks of a Markdown text as highlighted HTML.
#pragma once

#include <concepts>
#include <memory>
#include <string>
#include <string_view>

#include "syntax_highlighter/grammar.h"
#include "syntax_highlighter/html_output_format.h"
#include "syntax_highlighter/syntax_highlighter.h"

namespace Glint {

class MarkdownDecorator {
 public:
  MarkdownDecorator(std::string classPrefix, std::shared_ptr<const Grammar> grammar);
  template <std::derived_from<Grammar> GrammarType>
  MarkdownDecorator(std::string classPrefix, GrammarType grammar)
      : MarkdownDecorator(std::move(classPrefix), std::make_shared<const GrammarType>(std::move(grammar))) {}

  // The text with every fenced block replaced by a pre/code element; a block whose content starts with
  // the skip prefix is only escaped. Text outside the fences stays as it is.
  std::string decorate(std::string_view markdown) const;

  SyntaxHighlighter<HTMLOutputFormat> highlighter;
  std::string skipHighlightingPrefix = "no-highlight";
};

}  // namespace Glint
