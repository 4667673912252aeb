#include "MarkdownRender/views/markdown_environment.h"

#include <memory>
#include <utility>

#include "MarkdownRender/styles/font_properties.h"
#include "MarkdownRender/styles/text_style_environment.h"

namespace MarkdownRender {

namespace {

ui::AnyView settingFont(const ui::AnyView& view, std::optional<ui::Font> font) {
  auto modifier = std::make_shared<ui::EnvironmentModifier>();
  modifier->label = "font";
  modifier->description = font ? "font(text style)" : "font(none)";
  modifier->transform = [font = std::move(font)](ui::EnvironmentValues& environment) {
    environment.set<ui::FontKey>(font);
  };
  return view.modifier(std::move(modifier));
}

}  // namespace

ui::AnyView theme(const ui::AnyView& view, Theme theme) {
  return detail::changingTheme(view, [theme = std::move(theme)](Theme& inherited) { inherited = theme; });
}

ui::AnyView taskListMarker(const ui::AnyView& view, BlockStyle<TaskListMarkerConfiguration> style) {
  return detail::changingTheme(
      view, [style = std::move(style)](Theme& inherited) { inherited.taskListMarker = style; });
}

ui::AnyView bulletedListMarker(const ui::AnyView& view, BlockStyle<ListMarkerConfiguration> style) {
  return detail::changingTheme(
      view, [style = std::move(style)](Theme& inherited) { inherited.bulletedListMarker = style; });
}

ui::AnyView numberedListMarker(const ui::AnyView& view, BlockStyle<ListMarkerConfiguration> style) {
  return detail::changingTheme(
      view, [style = std::move(style)](Theme& inherited) { inherited.numberedListMarker = style; });
}

ui::AnyView textStyleFont(const ui::AnyView& view) {
  return TextStyleAttributesReader([view](const ui::AttributeContainer& attributes) {
    const auto record = fontProperties(attributes);
    return settingFont(view, record ? std::optional<ui::Font>(makeFont(*record)) : std::nullopt);
  });
}

ui::AnyView codeSyntaxHighlighter(const ui::AnyView& view,
                                  std::shared_ptr<const CodeSyntaxHighlighter> highlighter) {
  return view.environment<CodeSyntaxHighlighterKey>(std::move(highlighter));
}

ui::AnyView imageProvider(const ui::AnyView& view, AnyImageProvider provider) {
  return view.environment<ImageProviderKey>(std::move(provider));
}

ui::AnyView inlineImageProvider(const ui::AnyView& view,
                                std::shared_ptr<const InlineImageProvider> provider) {
  return view.environment<InlineImageProviderKey>(std::move(provider));
}

ui::AnyView tableBackgroundStyle(const ui::AnyView& view, TableBackgroundStyle style) {
  return view.environment<TableBackgroundStyleKey>(std::move(style));
}

}  // namespace MarkdownRender
