// The values the renderer hands down its view tree (base URLs, list level and spacing) and the modifiers
// that set them, the theme or its marker styles for a subtree, and give a view the text style's font.
#pragma once

#include <memory>
#include <optional>

#include "MarkdownRender/styles/block_style.h"
#include "MarkdownRender/styles/theme_environment.h"
#include "MarkdownRender/views/code_syntax_highlighter.h"
#include "MarkdownRender/views/image_provider.h"
#include "platform/foundation/url.h"
#include "platform/ui/environment.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

// The URL against which relative link destinations are resolved; none outside a Markdown view.
struct BaseURLKey {
  using Value = std::optional<foundation::URL>;
  static Value defaultValue() { return std::nullopt; }
};

// The URL against which relative image sources are resolved; none outside a Markdown view.
struct ImageBaseURLKey {
  using Value = std::optional<foundation::URL>;
  static Value defaultValue() { return std::nullopt; }
};

// How many lists enclose a view: 0 outside any list, 1 for the items of a top-level list.
struct ListLevelKey {
  using Value = int;
  static int defaultValue() { return 0; }
};

// Whether the blocks below belong to the items of a tight list.
struct TightSpacingEnabledKey {
  using Value = bool;
  static bool defaultValue() { return false; }
};

// The view with the theme in force replaced for it and the views below.
ui::AnyView theme(const ui::AnyView& view, Theme theme);

// The view with one marker style of the theme in force replaced; the other members stay.
ui::AnyView taskListMarker(const ui::AnyView& view, BlockStyle<TaskListMarkerConfiguration> style);
ui::AnyView bulletedListMarker(const ui::AnyView& view, BlockStyle<ListMarkerConfiguration> style);
ui::AnyView numberedListMarker(const ui::AnyView& view, BlockStyle<ListMarkerConfiguration> style);

// The view set in the font of the text style in force, or in no font of its own (the platform's default,
// not an enclosing font) when the style sets no font record.
ui::AnyView textStyleFont(const ui::AnyView& view);

// The view with the code highlighter, the block image provider or the inline image provider replaced for
// it and the views below.
ui::AnyView codeSyntaxHighlighter(const ui::AnyView& view,
                                  std::shared_ptr<const CodeSyntaxHighlighter> highlighter);
ui::AnyView imageProvider(const ui::AnyView& view, AnyImageProvider provider);
ui::AnyView inlineImageProvider(const ui::AnyView& view, std::shared_ptr<const InlineImageProvider> provider);

// The view with the table background style replaced for it and the views below.
ui::AnyView tableBackgroundStyle(const ui::AnyView& view, TableBackgroundStyle style);

}  // namespace MarkdownRender
