#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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
    EXPECT_EQ(text.attributes(text.runs()[index]).foregroundColor, expected[index].color);
    ASSERT_TRUE(text.attributes(text.runs()[index]).font);
    EXPECT_DOUBLE_EQ(text.attributes(text.runs()[index]).font->size(), 16);
  }
}

TEST(AttributedStringOutputFormat, TypesWithoutAColourAreWhite) {
  Theme theme = Theme::slatePreset(Font(Font::System{}, 12));
  theme.tokenColors.erase(TokenType::keyword());
  const auto text = highlighted("return", theme);
  ASSERT_EQ(text.runs().size(), 1u);
  EXPECT_EQ(text.attributes(text.runs()[0]).foregroundColor, white);
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

TEST(AttributedStringOutputFormat, JoinsPiecesOfOneColourAsTheTextItselfWould) {
  // The builder holds back a stretch of one colour and appends it in one piece; the text must be the one
  // that appending every piece with its own attributes gives.
  struct Recorder {
    std::vector<std::pair<std::string, std::optional<TokenType>>> pieces;
    bool isWhitespace = false;
  };
  const Theme theme = Theme::slatePreset(Font(Font::System{}, 13));
  std::ifstream file(std::string(QUILLO_TEST_DIR) + "/fixtures/sample.swift", std::ios::binary);
  const std::string code{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(code.empty());

  ui::AttributedString expected;
  const ui::Font font = resolvedFont(theme.font);
  auto appendPiece = [&](const std::string& text, const ui::Color& color) {
    ui::AttributeContainer attributes;
    attributes.foregroundColor = color;
    attributes.font = font;
    expected.append(text, attributes);
  };
  struct PieceByPiece {
    using Output = int;
    std::function<void(const std::string&, const ui::Color&)> append;
    const Theme* theme;
    void appendToken(const std::string& token, const TokenType& type) {
      append(token, theme->color(type).value_or(white));
    }
    void appendPlainText(const std::string& text) { append(text, theme->plainTextColor); }
    void appendWhitespace(const std::string& whitespace) { append(whitespace, white); }
    int buildOutput() { return 0; }
  };
  struct PieceByPieceFormat {
    using Builder = PieceByPiece;
    std::function<void(const std::string&, const ui::Color&)> append;
    const Theme* theme;
    Builder makeOutputBuilder() const { return Builder{append, theme}; }
  };
  SyntaxHighlighter<PieceByPieceFormat>(PieceByPieceFormat{appendPiece, &theme}, SwiftGrammar())
      .highlightedOutput(code);

  const ui::AttributedString text = highlighted(code, theme);
  EXPECT_EQ(text.characters(), code);
  EXPECT_GT(text.runs().size(), 300u);
  EXPECT_EQ(text, expected);
}

}  // namespace
}  // namespace Glint
