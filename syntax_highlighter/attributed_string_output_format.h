// Attributed-string output: every piece of text with its colour from the theme and the theme's font.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

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
    ui::AttributedString buildOutput() const&;
    // The same, handing over the text instead of copying it, when the builder is done.
    ui::AttributedString buildOutput() &&;

    Theme theme;
    std::optional<ui::Font> font;  // resolved on first use, then kept
    // The text appended so far, but for the last stretch of one colour, which waits in `pendingText_`.
    ui::AttributedString string;

   private:
    // The attributes of one colour, made once per builder: appending reuses them instead of building a
    // container (with its font) for every piece.
    std::size_t style(const ui::Color& color);
    void append(const std::string& text, std::size_t style);
    void flush(ui::AttributedString& into) const;

    std::vector<ui::Color> styleColors_;
    std::vector<ui::AttributeContainer> styleAttributes_;
    std::vector<std::pair<TokenType, std::size_t>> tokenStyles_;
    std::optional<std::size_t> plainStyle_;
    std::optional<std::size_t> whitespaceStyle_;
    // Neighbouring pieces of one colour would form one run anyway; they are joined before appending.
    std::string pendingText_;
    std::optional<std::size_t> pendingStyle_;
  };

  explicit AttributedStringOutputFormat(Theme theme) : theme(std::move(theme)) {}

  Builder makeOutputBuilder() const { return Builder(theme); }

  Theme theme;
};

}  // namespace Glint
