#include "MarkdownRender/views/markdown_view.h"

#include <gtest/gtest.h>

#include "MarkdownRender/model/parse_blocks.h"
#include "MarkdownRender/styles/font_properties.h"
#include "MarkdownRender/styles/text_style_environment.h"
#include "MarkdownRender/styles/text_styles.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "platform/ui/inspector.h"

namespace MarkdownRender {
namespace {

using ui::testing::Host;
using ui::testing::text;

// The font of the first run of the text view that shows `characters`.
std::optional<ui::Font> runFont(const Host& host, const std::string& characters) {
  auto* spec = host.find(text(characters)).primitive<ui::detail::TextSpec>();
  if (!spec) return std::nullopt;
  const auto shown = spec->attributedString();
  if (shown.runs().empty()) return std::nullopt;
  return shown.attributes(shown.runs()[0]).font;
}

FontProperties record(double size, double scale = 1, ui::FontWeight weight = ui::FontWeight::regular) {
  FontProperties result;
  result.size = size;
  result.scale = scale;
  result.weight = weight;
  return result;
}

TEST(MarkdownView, ParsesItsTextOnceWhenMade) {
  Markdown view("# Title\n\nSome *text*.\n\n- a\n- b\n");
  EXPECT_EQ(view.content().blocks.size(), 3u);
  Markdown empty("");
  EXPECT_TRUE(empty.content().blocks.empty());
  Host host(empty);  // nothing to draw, and nothing fails
}

TEST(MarkdownView, AReplyMadeAgainForEachPieceStreamedInHoldsWhatItsWholeTextParsesTo) {
  const std::string reply =
      "# Plan\n\nFirst *step*,\nthen more.\n\n1. a\n2. b\n\n\n3. c\n\n```\ncode\n```\n\n| a |\n|---|\n| 1 "
      "|\n";
  for (std::size_t length = 0; length <= reply.size(); ++length) {
    const std::string shown = reply.substr(0, length);
    SCOPED_TRACE(shown);
    EXPECT_EQ(Markdown(shown).content().blocks, parseBlocks(shown));
  }
}

TEST(MarkdownView, ImagesUseTheBaseURLWithoutAnImageBaseURL) {
  auto base = foundation::URL::parse("https://a.example/docs/");
  auto images = foundation::URL::parse("https://img.example/");
  EXPECT_EQ(Markdown("x", base).imageBaseURL(), base);
  EXPECT_EQ(Markdown("x", base, images).imageBaseURL(), images);
  EXPECT_EQ(Markdown("x", base, images).baseURL(), base);
  EXPECT_EQ(Markdown("x").imageBaseURL(), std::nullopt);
}

TEST(MarkdownView, BuilderIsCalledOnceAtCreation) {
  int calls = 0;
  Markdown view(std::nullopt, std::nullopt, [&] {
    ++calls;
    return MarkdownContent(parseBlocks("hello"));
  });
  Host host(view);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(host.exists(text("hello")));
}

TEST(MarkdownView, BlocksSeeTheBaseURLs) {
  auto base = foundation::URL::parse("https://a.example/");
  auto images = foundation::URL::parse("https://img.example/");
  Host host(Markdown("hello", base, images));
  const auto& environment = host.find(text("hello")).environment();
  EXPECT_EQ(environment.get<BaseURLKey>(), base);
  EXPECT_EQ(environment.get<ImageBaseURLKey>(), images);
}

TEST(MarkdownView, ForegroundComesFromTheThemeTextStyleOnly) {
  Host plain(ui::AnyView(Markdown("hello")).foregroundStyle(ui::Color::red()));
  EXPECT_EQ(plain.find(text("hello")).environment().foregroundStyle(), std::nullopt);

  Host coloured(
      theme(Markdown("hello"), Theme::standardTheme().withText(ForegroundColor(ui::Color::blue()))));
  EXPECT_EQ(coloured.find(text("hello")).environment().foregroundStyle(), ui::Color::blue());
}

TEST(MarkdownView, BackgroundComesFromTheThemeTextStyle) {
  Host host(theme(Markdown("hello"), Theme::standardTheme().withText(BackgroundColor(ui::Color::gray()))));
  EXPECT_TRUE(host.exists(ui::testing::type("Color")));
  Host none(Markdown("hello"));
  EXPECT_FALSE(none.exists(ui::testing::type("Color")));
}

TEST(MarkdownView, BaseSizeIsTheRecordSizeWithoutItsScale) {
  Host host(textStyle(Markdown("hello"), record(15, 2)));
  EXPECT_EQ(runFont(host, "hello"), makeFont(record(15)));
  Host standard(Markdown("hello"));
  EXPECT_EQ(runFont(standard, "hello"), makeFont(record(13)));
}

TEST(MarkdownView, HeadingsScaleWithTheDocumentsBaseSize) {
  Host host(textStyle(Markdown("# Title"), record(20)));
  EXPECT_EQ(runFont(host, "Title"), makeFont(record(20, 2, ui::FontWeight::semibold)));
}

}  // namespace
}  // namespace MarkdownRender
