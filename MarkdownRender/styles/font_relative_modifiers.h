// Frames, padding and line spacing in lengths relative to the font in force at the modified view.
#pragma once

#include <optional>

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

}  // namespace MarkdownRender
