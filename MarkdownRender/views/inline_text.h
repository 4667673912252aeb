// Running text (a paragraph, a heading, a table cell) as one styled text: the theme's inline styles
// resolved into attributes, links made real links against the base URL.
#pragma once

#include <vector>

#include "MarkdownRender/model/inline.h"
#include "MarkdownRender/styles/text_style.h"
#include "MarkdownRender/styles/theme_environment.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "platform/ui/attributed_string.h"
#include "platform/ui/environment.h"
#include "platform/ui/view.h"
#include "platform/ui/views.h"

namespace MarkdownRender {

// What the inline rendering needs beside the inlines: the base for link destinations and the five
// styles added for code, emphasis, strong, struck-through and link text.
struct InlineEnvironment {
  std::optional<foundation::URL> baseURL;
  AnyTextStyle code;
  AnyTextStyle emphasis;
  AnyTextStyle strong;
  AnyTextStyle strikethrough;
  AnyTextStyle link;

  // The base URL and the inline styles of a theme.
  static InlineEnvironment of(const Theme& theme, std::optional<foundation::URL> baseURL);
};

// One node as styled text. Children start from the attributes their parent produced, so nested styles
// accumulate; images contribute nothing (running text cannot hold a picture here).
ui::AttributedString attributedPiece(const Inline& node, const InlineEnvironment& environment,
                                     const ui::AttributeContainer& attributes);
// The pieces of the nodes, concatenated in order.
ui::AttributedString buildAttributedText(const std::vector<Inline>& inlines,
                                         const InlineEnvironment& environment,
                                         const ui::AttributeContainer& attributes);
// The nodes as one text view, each run's font record turned into the font it describes.
ui::Text buildText(const std::vector<Inline>& inlines, const InlineEnvironment& environment,
                   const ui::AttributeContainer& attributes);

// The inlines in the text style in force, wrapping to the width on offer at their full height.
class InlineText final : public ui::View {
 public:
  explicit InlineText(std::vector<Inline> inlines) : inlines_(std::move(inlines)) {}
  ui::AnyView body() const override;
  const std::vector<Inline>& inlines() const { return inlines_; }

 private:
  ui::Environment<BaseURLKey> baseURL_;
  ui::Environment<ThemeKey> theme_;
  std::vector<Inline> inlines_;
};

}  // namespace MarkdownRender
