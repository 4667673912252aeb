// Running text (a paragraph, a heading, a table cell) as one styled text: the theme's inline styles
// resolved into attributes, links made real links against the base URL, pictures loaded through the
// inline image provider and set in the lines.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "MarkdownRender/model/inline.h"
#include "MarkdownRender/styles/text_style.h"
#include "MarkdownRender/styles/text_style_environment.h"  // TextStyleKey
#include "MarkdownRender/styles/theme_environment.h"
#include "MarkdownRender/views/image_provider.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "MarkdownRender/views/shared_environment.h"
#include "platform/ui/attributed_string.h"
#include "platform/ui/environment.h"
#include "platform/ui/state.h"
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
// accumulate; images contribute nothing here (`buildText` places the pictures).
ui::AttributedString attributedPiece(const Inline& node, const InlineEnvironment& environment,
                                     const ui::AttributeContainer& attributes);
// The pieces of the nodes, concatenated in order.
ui::AttributedString buildAttributedText(const std::vector<Inline>& inlines,
                                         const InlineEnvironment& environment,
                                         const ui::AttributeContainer& attributes);

// The loaded pictures of a run of text, by their source exactly as the Markdown writes it.
using InlineImages = std::map<std::string, ui::Image>;

// The nodes as one text view, each run's font record turned into the font it describes. An image at the
// top level shows its picture from `images` when one was loaded for its source, nothing otherwise; an
// image nested in a styled run or a link shows nothing.
ui::Text buildText(const std::vector<Inline>& inlines, const InlineImages& images,
                   const InlineEnvironment& environment, const ui::AttributeContainer& attributes);

// The pictures of a run of text: one load through `provider` per distinct description of an image at the
// top level (alone, or as the only child of a link), concurrently, each source resolved against
// `imageBaseURL`; a source that makes no URL is skipped. Blocking (run it off the main thread). Throws
// the first failure of any picture, after the other loads have ended: the run then shows none. A
// cancellation of the calling task cancels every load.
InlineImages loadInlineImages(const std::vector<Inline>& inlines, const InlineImageProvider& provider,
                              const std::optional<foundation::URL>& imageBaseURL);

// The inlines in the text style in force, wrapping to the width on offer at their full height, with
// their pictures placed in the lines once all of them have loaded.
class InlineText final : public ui::View {
 public:
  explicit InlineText(std::vector<Inline> inlines) : inlines_(std::move(inlines)) {}
  ui::AnyView body() const override;
  const std::vector<Inline>& inlines() const { return inlines_; }

 private:
  // The inline image provider, the base URLs, the text style and the theme's inline styles are read from
  // one shared environment: a table has thousands of runs of text.
  SharedEnvironmentValues environment_;
  // Replaced whole by each load that ends (emptied by one that fails); kept while a new load runs.
  ui::State<InlineImages> inlineImages_;
  std::vector<Inline> inlines_;
};

}  // namespace MarkdownRender
