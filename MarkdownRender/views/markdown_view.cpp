#include "MarkdownRender/views/markdown_view.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "MarkdownRender/model/parse_blocks.h"
#include "MarkdownRender/styles/font_properties.h"
#include "MarkdownRender/styles/text_style_environment.h"
#include "MarkdownRender/styles/text_styles.h"
#include "MarkdownRender/views/block_view.h"
#include "MarkdownRender/views/markdown_environment.h"

namespace MarkdownRender {

namespace {

// Writes the environment's foreground colour, also when there is none: then the views below see no
// colour, whatever an enclosing view had set.
ui::AnyView settingForeground(const ui::AnyView& view, std::optional<ui::Color> color) {
  auto modifier = std::make_shared<ui::EnvironmentModifier>();
  modifier->label = "foregroundStyle";
  modifier->description = color ? "foregroundStyle(text style)" : "foregroundStyle(none)";
  modifier->transform = [color = std::move(color)](ui::EnvironmentValues& environment) {
    environment.set<ui::ForegroundStyleKey>(color);
  };
  return view.modifier(std::move(modifier));
}

}  // namespace

Markdown::Markdown(std::string_view markdown, std::optional<foundation::URL> baseURL,
                   std::optional<foundation::URL> imageBaseURL)
    : Markdown(MarkdownContent(parseGrowingBlocks(markdown)), std::move(baseURL), std::move(imageBaseURL)) {}

Markdown::Markdown(MarkdownContent content, std::optional<foundation::URL> baseURL,
                   std::optional<foundation::URL> imageBaseURL)
    : content_(std::move(content)),
      baseURL_(std::move(baseURL)),
      imageBaseURL_(imageBaseURL ? std::move(imageBaseURL) : baseURL_) {}

Markdown::Markdown(std::optional<foundation::URL> baseURL, std::optional<foundation::URL> imageBaseURL,
                   const std::function<MarkdownContent()>& content)
    : Markdown(content(), std::move(baseURL), std::move(imageBaseURL)) {}

ui::AnyView ScaledFontSizeModifier::body(ui::AnyView content) const {
  return textStyle(content, FontSize::points(size_));
}

ui::AnyView Markdown::body() const {
  const ui::ColorScheme scheme = *colorScheme_;
  // One copy of the document, shared by the copies the graph makes of the reader.
  auto blocks = std::make_shared<const std::vector<Block>>(content_.blocks);
  ui::AnyView reader = TextStyleAttributesReader([blocks, scheme](const ui::AttributeContainer& attributes) {
    // Filtered on every evaluation; the stored document is never changed. Without pictures there is
    // nothing to take away.
    std::vector<Block> filtered;
    const bool holdsPictures =
        std::any_of(blocks->begin(), blocks->end(), [](const Block& block) { return block.holdsPictures(); });
    if (holdsPictures) {
      filtered.reserve(blocks->size());
      for (const auto& block : *blocks) filtered.push_back(block.filteredForColorScheme(scheme));
    }
    const std::vector<Block>& visible = holdsPictures ? filtered : *blocks;

    ui::AnyView shown = settingForeground(blockStack(visible), attributes.foregroundColor);
    if (attributes.backgroundColor) shown = shown.background(ui::AnyView(*attributes.backgroundColor));
    const auto record = fontProperties(attributes);
    // The record's size alone: its scale is not applied.
    return shown.modifier(ScaledFontSizeModifier(record ? record->size : FontProperties::standardSize));
  });
  return textStyle(reader, theme_->text)
      .environment<BaseURLKey>(baseURL_)
      .environment<ImageBaseURLKey>(imageBaseURL_);
}

}  // namespace MarkdownRender
