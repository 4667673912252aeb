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

std::size_t AttributedStringOutputFormat::Builder::style(const ui::Color& color) {
  for (std::size_t index = 0; index < styleColors_.size(); ++index) {
    if (styleColors_[index] == color) return index;
  }
  if (!font) font = resolvedFont(theme.font);
  ui::AttributeContainer attributes;
  attributes.foregroundColor = color;
  attributes.font = *font;
  styleColors_.push_back(color);
  styleAttributes_.push_back(std::move(attributes));
  return styleColors_.size() - 1;
}

void AttributedStringOutputFormat::Builder::append(const std::string& text, std::size_t style) {
  if (pendingStyle_ == style) {
    pendingText_ += text;
    return;
  }
  flush(string);
  pendingText_ = text;
  pendingStyle_ = style;
}

void AttributedStringOutputFormat::Builder::flush(ui::AttributedString& into) const {
  if (pendingStyle_ && !pendingText_.empty()) into.append(pendingText_, styleAttributes_[*pendingStyle_]);
}

void AttributedStringOutputFormat::Builder::appendToken(const std::string& token, const TokenType& type) {
  for (const auto& [known, index] : tokenStyles_) {
    if (known == type) return append(token, index);
  }
  const std::size_t index = style(theme.color(type).value_or(white));
  tokenStyles_.emplace_back(type, index);
  append(token, index);
}

void AttributedStringOutputFormat::Builder::appendPlainText(const std::string& text) {
  if (!plainStyle_) plainStyle_ = style(theme.plainTextColor);
  append(text, *plainStyle_);
}

void AttributedStringOutputFormat::Builder::appendWhitespace(const std::string& whitespace) {
  if (!whitespaceStyle_) whitespaceStyle_ = style(white);
  append(whitespace, *whitespaceStyle_);
}

ui::AttributedString AttributedStringOutputFormat::Builder::buildOutput() const& {
  ui::AttributedString output = string;
  flush(output);
  return output;
}

ui::AttributedString AttributedStringOutputFormat::Builder::buildOutput() && {
  flush(string);
  pendingStyle_.reset();
  return std::move(string);
}

}  // namespace Glint
