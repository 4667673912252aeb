// The styled text of a code block, pluggable so that an application can colour the languages it knows.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/views.h"

namespace MarkdownRender {

class CodeSyntaxHighlighter {
 public:
  virtual ~CodeSyntaxHighlighter() = default;
  // The text of `code`, written in `language` (the code block's info text, absent when it has none).
  virtual ui::Text highlightedText(const std::string& code,
                                   const std::optional<std::string>& language) const = 0;
};

// Shows code as written, with no styling of its own: the code block around it gives font and colour.
class PlainTextCodeSyntaxHighlighter final : public CodeSyntaxHighlighter {
 public:
  ui::Text highlightedText(const std::string& code,
                           const std::optional<std::string>& language) const override;
};

// The highlighter code blocks use; a plain one unless a view above sets another.
struct CodeSyntaxHighlighterKey {
  using Value = std::shared_ptr<const CodeSyntaxHighlighter>;
  static Value defaultValue();
};

}  // namespace MarkdownRender
