// How highlighted code looks: the font, the colour of untyped text, the background and one colour per
// token type; with the six preset themes.
#pragma once

#include <optional>
#include <unordered_map>

#include "platform/ui/color.h"
#include "syntax_highlighter/font.h"
#include "syntax_highlighter/token_type.h"

namespace Glint {

struct Theme {
  Font font;
  ui::Color plainTextColor;
  ui::Color backgroundColor;
  // A type missing here has no colour of its own; the output format decides.
  std::unordered_map<TokenType, ui::Color> tokenColors;

  std::optional<ui::Color> color(const TokenType& type) const;

  static Theme charcoalPreset(Font font);
  static Theme neonPreset(Font font);
  static Theme slatePreset(Font font);
  static Theme graphitePreset(Font font);
  static Theme creamPreset(Font font);
  static Theme paperPreset(Font font);

  bool operator==(const Theme&) const = default;
};

}  // namespace Glint
