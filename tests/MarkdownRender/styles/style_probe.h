// Small views and values for style tests: a text that shows the attributes of the text style in force, a
// host that records the block margins its view reports, block content to style, and colours by number.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "MarkdownRender/styles/block_margin.h"
#include "MarkdownRender/styles/block_style.h"
#include "MarkdownRender/styles/color_extensions.h"
#include "MarkdownRender/styles/font_properties.h"
#include "MarkdownRender/styles/table_border_style.h"
#include "MarkdownRender/styles/text_style_environment.h"
#include "platform/ui/inspector.h"
#include "platform/ui/views.h"

namespace markdown_styles_test {

// A text with the given identifier showing the effective font size of the style in force, followed by
// " semibold", " italic", " monospaced" and the names of a few colours where they apply.
inline ui::AnyView attributesProbe(const std::string& id) {
  return MarkdownRender::TextStyleAttributesReader(
      [id](const ui::AttributeContainer& attributes) -> ui::AnyView {
        const auto record = MarkdownRender::fontProperties(attributes);
        std::string description = record ? std::to_string(static_cast<int>(record->effectiveSize())) : "none";
        if (record && record->weight == ui::FontWeight::semibold) description += " semibold";
        if (record && record->style == MarkdownRender::FontProperties::Style::italic)
          description += " italic";
        if (record && record->familyVariant == MarkdownRender::FontProperties::FamilyVariant::monospaced) {
          description += " monospaced";
        }
        if (attributes.foregroundColor == ui::Color::red()) description += " red";
        if (attributes.foregroundColor == ui::Color::blue()) description += " blue";
        return ui::Text::verbatim(description).accessibilityIdentifier(id);
      });
}

// The margins the view reports up the tree (unspecified when it reports none).
inline MarkdownRender::BlockMargin reportedMargins(const ui::AnyView& view) {
  auto reported = std::make_shared<MarkdownRender::BlockMargin>();
  ui::testing::Host host{view.onPreferenceChange<MarkdownRender::BlockMarginsPreference>(
      [reported](const MarkdownRender::BlockMargin& margin) { *reported = margin; })};
  return *reported;
}

// `content` as the label of a block a block style renders.
inline MarkdownRender::BlockConfiguration labelled(const ui::AnyView& content) {
  return MarkdownRender::BlockConfiguration{MarkdownRender::BlockLabel(content)};
}

// A colour written as 0xRRGGBBAA, as the light appearance resolves it.
inline ui::ResolvedColor packed(std::uint32_t value) {
  return MarkdownRender::colorFromPackedRGBA(value).resolved(ui::ColorScheme::light);
}

// The geometry of a 2 by 2 table of 5-point cells, one point apart and in from the edge.
inline MarkdownRender::TableBounds twoByTwoTable() {
  return MarkdownRender::tableBounds(
      2, 2, {{{0, 0}, {1, 1, 5, 5}}, {{0, 1}, {7, 1, 5, 5}}, {{1, 0}, {1, 7, 5, 5}}, {{1, 1}, {7, 7, 5, 5}}},
      {0, 0, 13, 13});
}

}  // namespace markdown_styles_test
