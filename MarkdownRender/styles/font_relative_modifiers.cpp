#include "MarkdownRender/styles/font_relative_modifiers.h"

#include <functional>

#include "MarkdownRender/styles/text_style_environment.h"
#include "platform/ui/modifiers.h"

namespace MarkdownRender {
namespace {

std::optional<double> resolvedAgainst(const std::optional<RelativeSize>& size,
                                      const std::optional<FontProperties>& properties) {
  if (!size) return std::nullopt;
  return size->resolved(properties);
}

ui::AnyView withFontProperties(
    const ui::AnyView& view,
    std::function<ui::AnyView(const ui::AnyView&, const std::optional<FontProperties>&)> change) {
  return fontRelative(view, std::move(change));
}

}  // namespace

ui::AnyView fontRelative(
    const ui::AnyView& view,
    std::function<ui::AnyView(const ui::AnyView& content, const std::optional<FontProperties>& font)>
        change) {
  return TextStyleAttributesReader(
      [view, change = std::move(change)](const ui::AttributeContainer& attributes) {
        return change(view, fontProperties(attributes));
      });
}

ui::AnyView fontRelativeFrame(const ui::AnyView& view, std::optional<RelativeSize> width,
                              std::optional<RelativeSize> height, ui::Alignment alignment) {
  return withFontProperties(view, [=](const ui::AnyView& content, const std::optional<FontProperties>& p) {
    return content.frame(resolvedAgainst(width, p), resolvedAgainst(height, p), alignment);
  });
}

ui::AnyView fontRelativeFrame(const ui::AnyView& view, RelativeSize minWidth, ui::Alignment alignment) {
  return withFontProperties(view, [=](const ui::AnyView& content, const std::optional<FontProperties>& p) {
    ui::FrameModifier frame;
    frame.minWidth = minWidth.resolved(p);
    frame.alignment = alignment;
    return content.frame(frame);
  });
}

ui::AnyView fontRelativePadding(const ui::AnyView& view, ui::Edges edges, RelativeSize length) {
  return withFontProperties(view, [=](const ui::AnyView& content, const std::optional<FontProperties>& p) {
    return content.padding(edges, length.resolved(p));
  });
}

ui::AnyView fontRelativeLineSpacing(const ui::AnyView& view, RelativeSize lineSpacing) {
  return withFontProperties(view, [=](const ui::AnyView& content, const std::optional<FontProperties>& p) {
    return content.lineSpacing(lineSpacing.resolved(p));
  });
}

}  // namespace MarkdownRender
