#include "MarkdownRender/views/inline_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MarkdownRender/model/parse_blocks.h"
#include "MarkdownRender/styles/font_properties.h"
#include "MarkdownRender/styles/text_styles.h"
#include "platform/ui/inspector.h"

namespace MarkdownRender {
namespace {

// Styles that leave a visible mark each: a colour per kind of run.
InlineEnvironment colouredEnvironment(std::optional<foundation::URL> baseURL = std::nullopt) {
  InlineEnvironment environment;
  environment.baseURL = std::move(baseURL);
  environment.code = ForegroundColor(ui::Color::red());
  environment.emphasis = FontStyle(FontProperties::Style::italic);
  environment.strong = FontWeight(ui::FontWeight::semibold);
  environment.strikethrough = ForegroundColor(ui::Color::gray());
  environment.link = ForegroundColor(ui::Color::blue());
  return environment;
}

ui::AttributeContainer baseAttributes() {
  ui::AttributeContainer attributes;
  FontProperties().applyAttributes(attributes);
  return attributes;
}

std::vector<Inline> inlinesOf(const std::string& markdown) {
  auto blocks = parseBlocks(markdown);
  return blocks.at(0).as<Block::Paragraph>()->inlines;
}

TEST(InlineRendering, PiecesCarryTheirCharactersAndStyles) {
  struct Case {
    Inline node;
    std::string characters;
    std::optional<ui::Color> colour;
  };
  const Case cases[] = {
      {Inline::text("plain"), "plain", std::nullopt},
      {Inline::code("x < y"), "x < y", ui::Color::red()},
      {Inline::html("<b>"), "<b>", std::nullopt},
      {Inline::strikethrough({Inline::text("gone")}), "gone", ui::Color::gray()},
      {Inline::image("a.png", {Inline::text("alt")}), "", std::nullopt},
      {Inline::softBreak(), " ", std::nullopt},
      {Inline::lineBreak(), "\n", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.characters);
    auto piece = attributedPiece(c.node, colouredEnvironment(), baseAttributes());
    EXPECT_EQ(piece.characters(), c.characters);
    for (const auto& run : piece.runs()) EXPECT_EQ(run.attributes.foregroundColor, c.colour);
  }
}

TEST(InlineRendering, NestedStylesAccumulate) {
  auto text = buildAttributedText(inlinesOf("*a **b***"), colouredEnvironment(), baseAttributes());
  ASSERT_EQ(text.characters(), "a b");
  ASSERT_EQ(text.runs().size(), 2u);
  auto outer = fontProperties(text.runs()[0].attributes);
  auto inner = fontProperties(text.runs()[1].attributes);
  ASSERT_TRUE(outer && inner);
  EXPECT_EQ(outer->style, FontProperties::Style::italic);
  EXPECT_EQ(outer->weight, ui::FontWeight::regular);
  EXPECT_EQ(inner->style, FontProperties::Style::italic);
  EXPECT_EQ(inner->weight, ui::FontWeight::semibold);
}

TEST(InlineRendering, CodeInsideALinkTakesTheCodeStyleLast) {
  auto text =
      buildAttributedText(inlinesOf("[`x`](https://example.com/)"), colouredEnvironment(), baseAttributes());
  ASSERT_EQ(text.runs().size(), 1u);
  EXPECT_EQ(text.runs()[0].attributes.foregroundColor, ui::Color::red());
  EXPECT_EQ(text.runs()[0].attributes.link, "https://example.com/");
}

TEST(InlineRendering, LinksResolveAgainstTheBaseURL) {
  struct Case {
    std::string destination;
    std::optional<std::string> base;
    std::optional<std::string> link;
  };
  const Case cases[] = {
      {"https://a.example/x", std::nullopt, "https://a.example/x"},
      {"docs/page", "https://b.example/root/", "https://b.example/root/docs/page"},
      {"docs/page", std::nullopt, "docs/page"},  // a relative destination stays relative
      {"http://[bad", std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.destination);
    std::optional<foundation::URL> base;
    if (c.base) base = foundation::URL::parse(*c.base);
    auto piece = attributedPiece(Inline::link(c.destination, {Inline::text("go")}), colouredEnvironment(base),
                                 baseAttributes());
    ASSERT_EQ(piece.runs().size(), 1u);
    EXPECT_EQ(piece.runs()[0].attributes.link, c.link);
    // The link keeps its look whether or not it links anywhere.
    EXPECT_EQ(piece.runs()[0].attributes.foregroundColor, ui::Color::blue());
  }
}

TEST(InlineRendering, TextViewTurnsFontRecordsIntoFonts) {
  auto text = buildText(inlinesOf("a `b`"), InlineEnvironment::of(Theme::standardTheme(), std::nullopt),
                        baseAttributes());
  ui::testing::Host host(text);
  auto* spec = host.find(ui::testing::text("a b")).primitive<ui::detail::TextSpec>();
  ASSERT_NE(spec, nullptr);
  auto shown = spec->attributedString();
  for (const auto& run : shown.runs()) {
    EXPECT_TRUE(run.attributes.font.has_value());
    EXPECT_EQ(run.attributes.custom.count(FontPropertiesAttribute::name), 0u);
  }
}

TEST(InlineText, ShowsTheInlinesInTheThemeAndBaseURLInForce) {
  auto view = ui::AnyView(InlineText(inlinesOf("see [docs](guide) now")))
                  .environment<BaseURLKey>(foundation::URL::parse("https://c.example/"));
  ui::testing::Host host(view);
  auto* spec = host.find(ui::testing::text("see docs now")).primitive<ui::detail::TextSpec>();
  ASSERT_NE(spec, nullptr);
  bool linked = false;
  const auto shown = spec->attributedString();
  for (const auto& run : shown.runs()) {
    if (run.attributes.link == "https://c.example/guide") linked = true;
  }
  EXPECT_TRUE(linked);
}

TEST(InlineText, WrapsInWidthAndKeepsItsFullHeight) {
  ui::testing::Host host(InlineText({Inline::text("Hello")}));
  auto* fixed = host.find(ui::testing::text("Hello")).modifier<ui::FixedSizeModifier>();
  ASSERT_NE(fixed, nullptr);
  EXPECT_FALSE(fixed->horizontal);
  EXPECT_TRUE(fixed->vertical);
}

}  // namespace
}  // namespace MarkdownRender
