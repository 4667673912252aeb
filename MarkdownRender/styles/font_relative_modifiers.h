// Frames, padding and line spacing in lengths relative to the font in force at the modified view.
#pragma once

#include <functional>
#include <optional>

#include "MarkdownRender/styles/font_properties.h"  // FontProperties, the record lengths resolve against
#include "MarkdownRender/styles/relative_size.h"
#include "platform/ui/view.h"
#include "platform/ui/view_values.h"

namespace MarkdownRender {

// Each wraps the view in a TextStyleAttributesReader and resolves its lengths against the font record of
// the text style in force there (the default record when the style sets none).

// A frame of the resolved width and height; an absent one leaves that dimension to the content.
ui::AnyView fontRelativeFrame(const ui::AnyView& view, std::optional<RelativeSize> width,
                              std::optional<RelativeSize> height,
                              ui::Alignment alignment = ui::Alignment::center());
// A frame of the resolved minimum width; every other dimension is left unconstrained.
ui::AnyView fontRelativeFrame(const ui::AnyView& view, RelativeSize minWidth,
                              ui::Alignment alignment = ui::Alignment::center());
ui::AnyView fontRelativePadding(const ui::AnyView& view, ui::Edges edges, RelativeSize length);
ui::AnyView fontRelativeLineSpacing(const ui::AnyView& view, RelativeSize lineSpacing);

// The view as `change` makes it from the font record in force at it, read once for all the lengths
// `change` resolves: a style that sets several lengths against one text style (a table cell's padding
// and line spacing) puts one reader in the tree instead of one per length.
ui::AnyView fontRelative(
    const ui::AnyView& view,
    std::function<ui::AnyView(const ui::AnyView& content, const std::optional<FontProperties>& font)> change);

}  // namespace MarkdownRender
