#include "MarkdownRender/views/code_block_view.h"

#include "MarkdownRender/views/markdown_environment.h"

namespace MarkdownRender {

ui::AnyView CodeBlockView::body() const {
  const auto& highlighter = *codeSyntaxHighlighter_;
  // An empty highlighter set by a caller shows the code as written rather than nothing.
  if (!highlighter) return textStyleFont(ui::Text::verbatim(content_));
  return textStyleFont(highlighter->highlightedText(content_, info_));
}

ui::AnyView HTMLBlockView::body() const { return textStyleFont(ui::Text::verbatim(content_)); }

}  // namespace MarkdownRender
