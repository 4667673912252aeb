// Attributed-string output: every piece of text with its colour from the theme and the theme's font.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/attributed_string.h"
#include "syntax_highlighter/theme.h"
#include "syntax_highlighter/token_type.h"

namespace Glint {

// The font file tried when a theme's font gives none of its own.
inline constexpr const char* fallbackFontPath = "/Library/Fonts/Courier New.ttf";

// The font a theme's font finally yields, with its fall-backs: a path that loads, else the fall-back
// file, else the monospaced system font of the size (code keeps its columns even where the fall-back
// file is missing).
ui::Font resolvedFont(const Font& font);

class AttributedStringOutputFormat {
 public:
  class Builder {
   public:
    using Output = ui::AttributedString;

    explicit Builder(Theme theme) : theme(std::move(theme)) {}

    void appendToken(const std::string& token, const TokenType& type);
    void appendPlainText(const std::string& text);
    void appendWhitespace(const std::string& whitespace);
    // A copy of the text so far; the builder may go on afterwards.
    ui::AttributedString buildOutput() const { return string; }

    Theme theme;
    std::optional<ui::Font> font;  // resolved on first use, then kept
    ui::AttributedString string;

   private:
    void append(const std::string& text, const ui::Color& color);
  };

  explicit AttributedStringOutputFormat(Theme theme) : theme(std::move(theme)) {}

  Builder makeOutputBuilder() const { return Builder(theme); }

  Theme theme;
};

}  // namespace Glint
