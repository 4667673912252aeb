#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/model/color_scheme_filter.h"
#include "MarkdownRender/model/heading_identifier.h"
#include "MarkdownRender/model/inline.h"
#include "MarkdownRender/model/roman_numeral.h"
#include "model_printer.h"

namespace MarkdownRender {
namespace {

using I = Inline;
using B = Block;
using ui::ColorScheme;

TEST(RomanNumeral, WritesOneToThreeThousandNineHundredNinetyNineInRomanAndOthersInDecimal) {
  struct Case {
    std::int64_t number;
    std::string_view numeral;
  };
  const Case cases[] = {
      {1, "I"},         {2, "II"},           {3, "III"}, {4, "IV"},      {5, "V"},    {9, "IX"},
      {14, "XIV"},      {40, "XL"},          {90, "XC"}, {400, "CD"},    {900, "CM"}, {1990, "MCMXC"},
      {2024, "MMXXIV"}, {3999, "MMMCMXCIX"}, {0, "0"},   {4000, "4000"}, {-5, "-5"},  {123456, "123456"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(romanNumeral(c.number), c.numeral);
  }
}

TEST(PlainText, GivesTheTextAnInlineShowsWithoutStyling) {
  struct Case {
    const char* name;
    std::vector<Inline> inlines;
    std::string_view text;
  };
  const Case cases[] = {
      {"text", {I::text("plain")}, "plain"},
      {"code", {I::code("x()")}, "x()"},
      {"html", {I::html("<b>")}, "<b>"},
      {"breaks", {I::text("a"), I::softBreak(), I::text("b"), I::lineBreak(), I::text("c")}, "a b\nc"},
      {"emphasis around text, soft break and code",
       {I::emphasis({I::text("see"), I::softBreak(), I::code("f")})},
       "see f"},
      {"strong and strikethrough", {I::strong({I::text("a")}), I::strikethrough({I::text("b")})}, "ab"},
      {"link without its destination", {I::link("https://x.org", {I::text("site")})}, "site"},
      {"image without its source",
       {I::image("a.png", {I::text("alt "), I::emphasis({I::text("text")})})},
       "alt text"},
      {"nothing", {}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(plainText(c.inlines), c.text);
  }
}

TEST(HeadingIdentifier, LowerCasesPiecesBetweenEveryNonAlphanumericCharacter) {
  struct Case {
    std::string_view heading;
    std::string_view identifier;
  };
  const Case cases[] = {
      {"Getting started", "getting-started"},
      {"Step 1, then 2", "step-1--then-2"},
      {"", ""},
      {"!?.", "---"},
      {" Edge ", "-edge-"},
      {"Ünïcödé Straße", "ünïcödé-straße"},
      {"ΣΊΣΥΦΟΣ", "σίσυφος"},                        // full case mapping, with the final sigma
      {"e\xCC\x81t\xC3\xA9", "e\xCC\x81t\xC3\xA9"},  // a combining mark is alphanumeric
      {"x²½", "x²½"},                                // so are other numbers
      {"snake_case-name", "snake-case-name"},
      {"emoji 🎉 here", "emoji---here"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.heading);
    EXPECT_EQ(kebabCased(c.heading), c.identifier);
  }
}

TEST(PictureDescription, DescribesImagesAndLinksAroundASingleImage) {
  struct Case {
    const char* name;
    Inline inline_;
    std::optional<Inline::Image> image;
  };
  const Case cases[] = {
      {"image", I::image("a.png", {I::text("alt "), I::code("x")}),
       Inline::Image{"a.png", "alt x", std::nullopt}},
      {"image without description", I::image("", {}), Inline::Image{"", "", std::nullopt}},
      {"link around an image", I::link("https://x.org", {I::image("a.png", {I::text("alt")})}),
       Inline::Image{"a.png", "alt", "https://x.org"}},
      {"link around an image and text",
       I::link("https://x.org", {I::image("a.png", {I::text("alt")}), I::text("more")}), std::nullopt},
      {"link around text", I::link("https://x.org", {I::text("alt")}), std::nullopt},
      {"emphasis around an image", I::emphasis({I::image("a.png", {})}), std::nullopt},
      {"text", I::text("a.png"), std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Inline::Image::from(c.inline_), c.image);
  }
}

TEST(ColorSchemeFilter, ShowsPicturesMeantForTheSchemeOrForEvery) {
  struct Case {
    std::string_view url;
    bool shownInLight;
    bool shownInDark;
  };
  const Case cases[] = {
      {"https://x.org/a.png", true, true},
      {"https://x.org/a.png#gh-dark-mode-only", false, true},
      {"https://x.org/a.png#GH-Dark-Mode-Only", false, true},
      {"https://x.org/a.png#gh-light-mode-only", true, false},
      {"https://x.org/a.png#GH-LIGHT-MODE-ONLY", true, false},
      {"relative/a.png#gh-dark-mode-only", false, true},
      {"https://x.org/a.png#other", true, true},
      {"https://x.org/a.png#", true, true},
      {"https://x.org/a.png?gh-dark-mode-only", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    const auto url = foundation::URL::parse(c.url);
    ASSERT_TRUE(url.has_value());
    EXPECT_EQ(isShown(*url, ColorScheme::light), c.shownInLight);
    EXPECT_EQ(isShown(*url, ColorScheme::dark), c.shownInDark);
  }
}

TEST(ColorSchemeFilter, RemovesOnlyThePicturesHiddenInTheScheme) {
  const auto dark = [](std::vector<Inline> alt) {
    return I::image("a.png#gh-dark-mode-only", std::move(alt));
  };
  const auto light = I::image("b.png#gh-light-mode-only", {});
  struct Case {
    const char* name;
    Block block;
    ColorScheme scheme;
    Block filtered;
  };
  const Case cases[] = {
      {"hidden picture in a paragraph", B::paragraph({I::text("a"), dark({}), I::text("b")}),
       ColorScheme::light, B::paragraph({I::text("a"), I::text("b")})},
      {"shown picture stays", B::paragraph({dark({})}), ColorScheme::dark, B::paragraph({dark({})})},
      {"light picture in the dark", B::paragraph({light}), ColorScheme::dark, B::paragraph({})},
      {"light picture in the light", B::paragraph({light}), ColorScheme::light, B::paragraph({light})},
      {"picture inside a link: only the picture goes",
       B::paragraph({I::link("u", {dark({}), I::text("caption")})}), ColorScheme::light,
       B::paragraph({I::link("u", {I::text("caption")})})},
      {"inside emphasis, strong and strikethrough",
       B::paragraph({I::emphasis({I::strong({I::strikethrough({dark({}), I::text("x")})})})}),
       ColorScheme::light, B::paragraph({I::emphasis({I::strong({I::strikethrough({I::text("x")})})})})},
      {"a source that is no URL is never removed",
       B::paragraph({I::image("not a url#gh-dark-mode-only", {})}), ColorScheme::light,
       B::paragraph({I::image("not a url#gh-dark-mode-only", {})})},
      {"the description of a shown picture is not filtered", B::paragraph({I::image("c.png", {dark({})})}),
       ColorScheme::light, B::paragraph({I::image("c.png", {dark({})})})},
      {"heading", B::heading(2, {dark({}), I::text("t")}), ColorScheme::light, B::heading(2, {I::text("t")})},
      {"quote", B::blockquote({B::paragraph({dark({})})}), ColorScheme::light,
       B::blockquote({B::paragraph({})})},
      {"lists keep tightness, start and boxes",
       B::numberedList(false, 4, {ListItem(std::vector<Block>{B::paragraph({dark({})})})}),
       ColorScheme::light, B::numberedList(false, 4, {ListItem(std::vector<Block>{B::paragraph({})})})},
      {"task list", B::taskList(true, {TaskListItem(true, std::vector<Block>{B::paragraph({dark({})})})}),
       ColorScheme::light, B::taskList(true, {TaskListItem(true, std::vector<Block>{B::paragraph({})})})},
      {"bulleted list", B::bulletedList(true, {ListItem(std::vector<Block>{B::heading(1, {dark({})})})}),
       ColorScheme::light, B::bulletedList(true, {ListItem(std::vector<Block>{B::heading(1, {})})})},
      {"table cells are emptied, never removed",
       B::table({TextTableColumnAlignment::center, std::nullopt},
                {{{dark({})}, {I::text("h")}}, {{}, {dark({})}}}),
       ColorScheme::light,
       B::table({TextTableColumnAlignment::center, std::nullopt}, {{{}, {I::text("h")}}, {{}, {}}})},
      {"code block", B::codeBlock("md", "![x](a.png#gh-dark-mode-only)"), ColorScheme::light,
       B::codeBlock("md", "![x](a.png#gh-dark-mode-only)")},
      {"html block", B::htmlBlock("<img>"), ColorScheme::light, B::htmlBlock("<img>")},
      {"thematic break", B::thematicBreak(), ColorScheme::dark, B::thematicBreak()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.block.filteredForColorScheme(c.scheme), c.filtered);
  }
}

TEST(ColorSchemeFilter, KnowsWhetherAPictureLiesAnywhereInAValue) {
  struct Case {
    const char* name;
    Block block;
    bool holdsPictures;
  };
  const auto picture = I::image("a.png", {});
  const Case cases[] = {
      {"plain paragraph", B::paragraph({I::text("a"), I::strong({I::code("b")})}), false},
      {"picture in a paragraph", B::paragraph({I::text("a"), picture}), true},
      {"picture deep in emphasis inside a link", B::paragraph({I::link("u", {I::emphasis({picture})})}),
       true},
      {"picture in a heading", B::heading(3, {picture}), true},
      {"picture in a table cell",
       B::table({std::nullopt, std::nullopt}, {{{I::text("h")}, {}}, {{}, {picture}}}), true},
      {"table of text", B::table({std::nullopt}, {{{I::text("h")}}, {{I::text("c")}}}), false},
      {"picture in a list item inside a quote",
       B::blockquote({B::bulletedList(true, {ListItem(std::vector<Block>{B::paragraph({picture})})})}), true},
      {"picture in a task",
       B::taskList(false, {TaskListItem(true, std::vector<Block>{B::paragraph({picture})})}), true},
      {"list of text", B::numberedList(true, 1, {ListItem(std::vector<Block>{B::paragraph({I::text("x")})})}),
       false},
      {"picture markup in code is text", B::codeBlock("md", "![x](a.png)"), false},
      {"thematic break", B::thematicBreak(), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.block.holdsPictures(), c.holdsPictures);
    // A value without pictures is its own filtered value, in either scheme.
    if (!c.holdsPictures) EXPECT_EQ(c.block.filteredForColorScheme(ColorScheme::dark), c.block);
  }
}

TEST(ColorSchemeFilter, AnInlineThatIsAHiddenPictureBecomesNothing) {
  EXPECT_EQ(I::image("a.png#gh-dark-mode-only", {}).filteredForColorScheme(ColorScheme::light), std::nullopt);
  EXPECT_EQ(I::text("x").filteredForColorScheme(ColorScheme::light), I::text("x"));
  EXPECT_EQ(I::lineBreak().filteredForColorScheme(ColorScheme::dark), I::lineBreak());
}

}  // namespace
}  // namespace MarkdownRender
