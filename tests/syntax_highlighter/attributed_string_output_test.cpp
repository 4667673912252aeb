#include <gtest/gtest.h>

#include <filesystem>

#include "syntax_highlighter/attributed_string_output_format.h"
#include "syntax_highlighter/swift_grammar.h"
#include "syntax_highlighter/syntax_highlighter.h"

namespace Glint {
namespace {

const ui::Color white(1.0, 1.0, 1.0, 1.0);

ui::AttributedString highlighted(std::string_view code, const Theme& theme) {
  return SyntaxHighlighter<AttributedStringOutputFormat>(AttributedStringOutputFormat(theme), SwiftGrammar())
      .highlightedOutput(code);
}

TEST(AttributedStringOutputFormat, ColoursEachPieceFromTheTheme) {
  const Theme theme = Theme::creamPreset(Font(Font::System{}, 16));
  const auto text = highlighted("let count = 42 // total", theme);
  EXPECT_EQ(text.characters(), "let count = 42 // total");

  struct Expected {
    std::string text;
    ui::Color color;
  };
  const Expected expected[] = {
      {"let", ui::Color(0.161, 0.259, 0.467)},  {" ", white},
      {"count", ui::Color(0.0, 0.0, 0.0)},      {" ", white},
      {"=", ui::Color(0.0, 0.0, 0.0)},          {" ", white},
      {"42", ui::Color(0.161, 0.259, 0.467)},   {" ", white},
      {"//", ui::Color(0.765, 0.455, 0.11)},    {" ", white},
      {"total", ui::Color(0.765, 0.455, 0.11)},
  };
  ASSERT_EQ(text.runs().size(), std::size(expected));
  for (std::size_t index = 0; index < text.runs().size(); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(text.text(text.runs()[index]), expected[index].text);
    EXPECT_EQ(text.runs()[index].attributes.foregroundColor, expected[index].color);
    ASSERT_TRUE(text.runs()[index].attributes.font);
    EXPECT_DOUBLE_EQ(text.runs()[index].attributes.font->size(), 16);
  }
}

TEST(AttributedStringOutputFormat, TypesWithoutAColourAreWhite) {
  Theme theme = Theme::slatePreset(Font(Font::System{}, 12));
  theme.tokenColors.erase(TokenType::keyword());
  const auto text = highlighted("return", theme);
  ASSERT_EQ(text.runs().size(), 1u);
  EXPECT_EQ(text.runs()[0].attributes.foregroundColor, white);
}

TEST(AttributedStringOutputFormat, EmptyCodeGivesEmptyText) {
  EXPECT_TRUE(highlighted("", Theme::paperPreset(Font(Font::System{}, 12))).isEmpty());
}

TEST(AttributedStringOutputFormat, BuildingTwiceGivesTheSameText) {
  auto builder =
      AttributedStringOutputFormat(Theme::paperPreset(Font(Font::System{}, 12))).makeOutputBuilder();
  builder.appendPlainText("a");
  const auto first = builder.buildOutput();
  builder.appendWhitespace(" ");
  EXPECT_EQ(first.characters(), "a");
  EXPECT_EQ(builder.buildOutput().characters(), "a ");
}

TEST(AttributedStringOutputFormat, FontFallsBackToTheMonospacedSystemFont) {
  // The fall-back font file does not exist here, so both a missing path and the default choice end in
  // the monospaced system font of the size.
  ASSERT_FALSE(std::filesystem::exists(fallbackFontPath));
  const ui::Font expected = ui::Font::system(14, ui::FontWeight::regular, ui::FontDesign::monospaced);
  EXPECT_EQ(resolvedFont(Font(Font::System{}, 14)), expected);
  EXPECT_EQ(resolvedFont(Font(Font::Path{"/no/such/font.ttf"}, 14)), expected);
  EXPECT_EQ(resolvedFont(Font(Font::Preloaded{ui::Font::custom("Menlo", 11)}, 14)),
            ui::Font::custom("Menlo", 11));
}

}  // namespace
}  // namespace Glint
