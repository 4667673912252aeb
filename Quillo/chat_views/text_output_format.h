// The highlighter's output as one text of coloured pieces, taking its font from the surrounding view.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/views.h"
#include "syntax_highlighter/output_format.h"
#include "syntax_highlighter/theme.h"
#include "syntax_highlighter/token_type.h"

namespace Quillo {

// Only the theme's colours are used: the font is the code style of the view around the text, and the
// block's background is drawn by the chat bubble.
class TextOutputFormat {
 public:
  class Builder {
   public:
    using Output = ui::Text;

    explicit Builder(Glint::Theme theme) : theme(std::move(theme)) {}

    // In the theme's colour for the type, or its plain-text colour when it has none for the type.
    void appendToken(const std::string& token, const Glint::TokenType& type);
    void appendPlainText(const std::string& text);
    // Without a colour of its own: whitespace shows in the foreground colour around it.
    void appendWhitespace(const std::string& whitespace);
    // Every piece joined in order, each keeping its colour.
    ui::Text buildOutput() const;

    Glint::Theme theme;
    std::vector<ui::Text> accumulatedText;
  };

  explicit TextOutputFormat(Glint::Theme theme) : theme(std::move(theme)) {}
  Builder makeOutputBuilder() const { return Builder(theme); }

  Glint::Theme theme;
};

static_assert(Glint::OutputFormat<TextOutputFormat>);

}  // namespace Quillo
