#include "Quillo/chat_views/text_output_format.h"

namespace Quillo {

namespace {

ui::Text coloured(const std::string& text, std::optional<ui::Color> color) {
  ui::AttributeContainer attributes;
  attributes.foregroundColor = std::move(color);
  return ui::Text(ui::AttributedString(text, attributes));
}

}  // namespace

void TextOutputFormat::Builder::appendToken(const std::string& token, const Glint::TokenType& type) {
  accumulatedText.push_back(coloured(token, theme.color(type).value_or(theme.plainTextColor)));
}

void TextOutputFormat::Builder::appendPlainText(const std::string& text) {
  accumulatedText.push_back(coloured(text, theme.plainTextColor));
}

void TextOutputFormat::Builder::appendWhitespace(const std::string& whitespace) {
  accumulatedText.push_back(ui::Text::verbatim(whitespace));
}

ui::Text TextOutputFormat::Builder::buildOutput() const {
  ui::Text text = ui::Text::verbatim("");
  for (const auto& piece : accumulatedText) text = text + piece;
  return text;
}

}  // namespace Quillo
