#include "MarkdownRender/views/inline_text.h"

#include <utility>

#include "MarkdownRender/styles/font_properties.h"
#include "MarkdownRender/styles/text_style_environment.h"

namespace MarkdownRender {

namespace {

ui::AttributeContainer adding(const ui::AttributeContainer& attributes, const AnyTextStyle& style) {
  ui::AttributeContainer result = attributes;
  style.applyAttributes(result);
  return result;
}

}  // namespace

InlineEnvironment InlineEnvironment::of(const Theme& theme, std::optional<foundation::URL> baseURL) {
  return InlineEnvironment{std::move(baseURL), theme.code,          theme.emphasis,
                           theme.strong,       theme.strikethrough, theme.link};
}

ui::AttributedString attributedPiece(const Inline& node, const InlineEnvironment& environment,
                                     const ui::AttributeContainer& attributes) {
  switch (node.kind()) {
    case Inline::Kind::text:
      return ui::AttributedString(node.as<Inline::Text>()->content, attributes);
    case Inline::Kind::code:
      return ui::AttributedString(node.as<Inline::Code>()->content, adding(attributes, environment.code));
    case Inline::Kind::html:
      // Inline HTML is shown as its source text.
      return ui::AttributedString(node.as<Inline::HTML>()->content, attributes);
    case Inline::Kind::emphasis:
      return buildAttributedText(node.as<Inline::Emphasis>()->children, environment,
                                 adding(attributes, environment.emphasis));
    case Inline::Kind::strong:
      return buildAttributedText(node.as<Inline::Strong>()->children, environment,
                                 adding(attributes, environment.strong));
    case Inline::Kind::strikethrough:
      return buildAttributedText(node.as<Inline::Strikethrough>()->children, environment,
                                 adding(attributes, environment.strikethrough));
    case Inline::Kind::link: {
      const auto& link = *node.as<Inline::Link>();
      ui::AttributeContainer linked = adding(attributes, environment.link);
      // A destination that makes no URL keeps the link's look but links nowhere.
      const auto url = foundation::URL::parse(link.destination, environment.baseURL);
      linked.link = url ? std::optional<std::string>(url->absoluteString()) : std::nullopt;
      return buildAttributedText(link.children, environment, linked);
    }
    case Inline::Kind::image:
      return ui::AttributedString();
    case Inline::Kind::softBreak:
      return ui::AttributedString(" ", attributes);
    case Inline::Kind::lineBreak:
      return ui::AttributedString("\n", attributes);
  }
  return ui::AttributedString();
}

ui::AttributedString buildAttributedText(const std::vector<Inline>& inlines,
                                         const InlineEnvironment& environment,
                                         const ui::AttributeContainer& attributes) {
  ui::AttributedString result;
  for (const auto& node : inlines) result.append(attributedPiece(node, environment, attributes));
  return result;
}

ui::Text buildText(const std::vector<Inline>& inlines, const InlineEnvironment& environment,
                   const ui::AttributeContainer& attributes) {
  ui::Text text = ui::Text::verbatim("");
  for (const auto& node : inlines) {
    if (node.kind() == Inline::Kind::image) continue;  // no loaded picture to place
    text = text + ui::Text(convertingFontProperties(attributedPiece(node, environment, attributes)));
  }
  return text;
}

ui::AnyView InlineText::body() const {
  auto environment = InlineEnvironment::of(*theme_, *baseURL_);
  return ui::AnyView(TextStyleAttributesReader([inlines = inlines_, environment = std::move(environment)](
                                                   const ui::AttributeContainer& attributes) {
           return ui::AnyView(buildText(inlines, environment, attributes));
         }))
      .fixedSize(false, true);
}

}  // namespace MarkdownRender
