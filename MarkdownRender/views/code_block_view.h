// Code blocks and HTML blocks, each shown as one text in the font of the text style in force.
#pragma once

#include <optional>
#include <string>

#include "MarkdownRender/views/code_syntax_highlighter.h"
#include "platform/ui/environment.h"
#include "platform/ui/view.h"
#include "platform/ui/views.h"

namespace MarkdownRender {

// The highlighter's text for the code, asked once per evaluation and shown in the font of the text style
// in force. The fence info reaches the highlighter exactly as the model holds it.
class CodeBlockView final : public ui::View {
 public:
  CodeBlockView(std::optional<std::string> info, std::string content)
      : info_(std::move(info)), content_(std::move(content)) {}
  ui::AnyView body() const override;
  const std::optional<std::string>& info() const { return info_; }
  const std::string& content() const { return content_; }

 private:
  ui::Environment<CodeSyntaxHighlighterKey> codeSyntaxHighlighter_;
  std::optional<std::string> info_;
  std::string content_;
};

// The HTML source as verbatim text, tags as they stand, in the font of the text style in force.
class HTMLBlockView final : public ui::View {
 public:
  explicit HTMLBlockView(std::string content) : content_(std::move(content)) {}
  ui::AnyView body() const override;

 private:
  std::string content_;
};

}  // namespace MarkdownRender
