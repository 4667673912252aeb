#include "syntax_highlighter/attributed_string_output_format.h"

namespace Glint {
namespace {

const ui::Color white(1.0, 1.0, 1.0, 1.0);

ui::Font fallbackFont(double size) {
  if (auto font = Font::loadFont(fallbackFontPath, size)) return *font;
  return ui::Font::system(size, ui::FontWeight::regular, ui::FontDesign::monospaced);
}

}  // namespace

ui::Font resolvedFont(const Font& font) {
  if (const auto* preloaded = std::get_if<Font::Preloaded>(&font.resource)) return preloaded->font;
  if (const auto* path = std::get_if<Font::Path>(&font.resource)) {
    if (auto loaded = Font::loadFont(path->path, font.size)) return *loaded;
  }
  return fallbackFont(font.size);
}

void AttributedStringOutputFormat::Builder::append(const std::string& text, const ui::Color& color) {
  if (!font) font = resolvedFont(theme.font);
  ui::AttributeContainer attributes;
  attributes.foregroundColor = color;
  attributes.font = *font;
  string.append(text, std::move(attributes));
}

void AttributedStringOutputFormat::Builder::appendToken(const std::string& token, const TokenType& type) {
  append(token, theme.color(type).value_or(white));
}

void AttributedStringOutputFormat::Builder::appendPlainText(const std::string& text) {
  append(text, theme.plainTextColor);
}

void AttributedStringOutputFormat::Builder::appendWhitespace(const std::string& whitespace) {
  append(whitespace, white);
}

}  // namespace Glint
