#include "Quillo/chat_views/glint_code_syntax_highlighter.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "syntax_highlighter/font.h"
#include "syntax_highlighter/swift_grammar.h"

namespace Quillo {
namespace {

ui::AttributedString shown(const ui::Text& text) {
  auto* spec = dynamic_cast<const ui::detail::TextSpec*>(text.spec().get());
  return spec ? spec->attributedString() : ui::AttributedString();
}

// The colour of the run holding the first occurrence of `piece`; nothing when the run has none.
std::optional<ui::Color> colorOf(const ui::AttributedString& text, const std::string& piece) {
  auto at = text.characters().find(piece);
  EXPECT_NE(at, std::string::npos) << piece;
  for (const auto& run : text.runs()) {
    if (run.start <= at && at < run.start + run.length) return text.attributes(run).foregroundColor;
  }
  return std::nullopt;
}

bool hasColours(const ui::AttributedString& text) {
  for (const auto& run : text.runs()) {
    if (text.attributes(run).foregroundColor) return true;
  }
  return false;
}

const std::string code = "let answer = 42 // the answer\nprint(answer)";

TEST(GlintCodeSyntaxHighlighter, ColoursOnlyCodeInSwiftWrittenInAnyCase) {
  struct Case {
    std::optional<std::string> language;
    bool isHighlighted;
  };
  const Case cases[] = {
      {"swift", true},   {"Swift", true},    {"SWIFT", true},   {"sWiFt", true}, {"swift ", false},
      {" swift", false}, {"swiftui", false}, {"python", false}, {"", false},     {std::nullopt, false},
  };
  auto highlighter = GlintCodeSyntaxHighlighter::forColorScheme(ui::ColorScheme::light);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.language.value_or("(none)"));
    auto text = shown(highlighter.highlightedText(code, c.language));
    EXPECT_EQ(text.characters(), code);
    EXPECT_EQ(hasColours(text), c.isHighlighted);
    if (!c.isHighlighted) {
      EXPECT_EQ(text, ui::AttributedString(code));
    }
  }
}

TEST(GlintCodeSyntaxHighlighter, EmptySwiftCodeGivesAnEmptyText) {
  auto highlighter = GlintCodeSyntaxHighlighter::forColorScheme(ui::ColorScheme::dark);
  EXPECT_TRUE(shown(highlighter.highlightedText("", "swift")).isEmpty());
}

TEST(GlintCodeSyntaxHighlighter, ThePresetFollowsTheAppearance) {
  struct Case {
    ui::ColorScheme scheme;
    ui::Color keyword;
    ui::Color text;
  };
  const Case cases[] = {
      {ui::ColorScheme::light, ui::Color(0.161, 0.259, 0.467), ui::Color(0.0, 0.0, 0.0)},
      {ui::ColorScheme::dark, ui::Color(0.992, 0.791, 0.45), ui::Color(0.84, 0.84, 0.84)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scheme == ui::ColorScheme::dark ? "dark" : "light");
    auto text = shown(GlintCodeSyntaxHighlighter::forColorScheme(c.scheme).highlightedText(code, "swift"));
    EXPECT_EQ(colorOf(text, "let"), c.keyword);
    EXPECT_EQ(colorOf(text, "answer"), c.text);   // a plain name
    EXPECT_EQ(colorOf(text, " "), std::nullopt);  // whitespace keeps the surrounding colour
  }
}

TEST(GlintCodeSyntaxHighlighter, ATokenTypeWithoutAColourIsDrawnInThePlainTextColour) {
  Glint::Theme theme = Glint::Theme::creamPreset(Glint::Font(Glint::Font::System{}, 16.0));
  theme.tokenColors.clear();
  theme.plainTextColor = ui::Color(0.5, 0.25, 0.125);
  GlintCodeSyntaxHighlighter highlighter{
      Glint::SyntaxHighlighter<TextOutputFormat>(TextOutputFormat(theme), Glint::SwiftGrammar{})};
  auto text = shown(highlighter.highlightedText(code, "swift"));
  EXPECT_EQ(colorOf(text, "let"), theme.plainTextColor);
  EXPECT_EQ(colorOf(text, "42"), theme.plainTextColor);
}

TEST(TextOutputFormat, JoinsItsPiecesInOrderEachWithItsColour) {
  Glint::Theme theme = Glint::Theme::slatePreset(Glint::Font(Glint::Font::System{}, 16.0));
  auto builder = TextOutputFormat(theme).makeOutputBuilder();
  builder.appendToken("func", Glint::TokenType::keyword());
  builder.appendWhitespace(" ");
  builder.appendPlainText("f");
  auto text = shown(builder.buildOutput());
  EXPECT_EQ(text.characters(), "func f");
  EXPECT_EQ(colorOf(text, "func"), theme.color(Glint::TokenType::keyword()));
  EXPECT_EQ(colorOf(text, " "), std::nullopt);
  EXPECT_EQ(colorOf(text, "f"), theme.color(Glint::TokenType::keyword()));  // first "f" is in "func"
  EXPECT_EQ(text.attributes(text.runs().back()).foregroundColor, theme.plainTextColor);
}

}  // namespace
}  // namespace Quillo
