#include "MarkdownRender/views/block_view.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MarkdownRender/model/parse_blocks.h"
#include "MarkdownRender/views/markdown_environment.h"
#include "MarkdownRender/views/markdown_view.h"
#include "platform/ui/inspector.h"

namespace MarkdownRender {
namespace {

using ui::testing::Host;
using ui::testing::identifier;
using ui::testing::text;

// Marks the label of a block style with `name`, so a test can tell which style framed a block.
auto marking(std::string name) {
  return [name](const BlockConfiguration& configuration) {
    return ui::AnyView(configuration.label).accessibilityIdentifier(name);
  };
}

Theme markingTheme() {
  return Theme::standardTheme()
      .withBlockquote(marking("blockquote"))
      .withList(marking("list"))
      .withCodeBlock(marking("codeBlock"))
      .withParagraph(marking("paragraph"))
      .withHeadingLevel1(marking("heading1"))
      .withHeadingLevel3(marking("heading3"))
      .withTable(marking("table"))
      .withThematicBreak([] { return ui::Text::verbatim("rule"); });
}

// Records what the code blocks ask for.
class RecordingHighlighter final : public CodeSyntaxHighlighter {
 public:
  struct Call {
    std::string code;
    std::optional<std::string> language;
  };
  ui::Text highlightedText(const std::string& code,
                           const std::optional<std::string>& language) const override {
    calls->push_back({code, language});
    return ui::Text::verbatim("highlighted:" + code);
  }
  std::shared_ptr<std::vector<Call>> calls = std::make_shared<std::vector<Call>>();
};

TEST(BlockView, EveryBlockIsFramedByTheThemeStyleOfItsCase) {
  struct Case {
    std::string markdown;
    std::string style;
  };
  const Case cases[] = {
      {"> quoted", "blockquote"},
      {"- item", "list"},
      {"1. item", "list"},
      {"- [x] done", "list"},
      {"```\ncode\n```", "codeBlock"},
      {"<div>\nx\n</div>", "paragraph"},
      {"words", "paragraph"},
      {"# Top", "heading1"},
      {"### Third", "heading3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.markdown);
    Host host(theme(Markdown(c.markdown), markingTheme()));
    EXPECT_TRUE(host.exists(identifier(c.style))) << host.dump();
  }
}

TEST(BlockView, ThematicBreakIsWhatItsStyleDraws) {
  Host host(theme(Markdown("---"), markingTheme()));
  EXPECT_TRUE(host.exists(text("rule")));
}

TEST(BlockView, EmptyQuoteIsTheQuoteStyleAroundNothing) {
  Host host(theme(BlockView(Block::blockquote({})), markingTheme()));
  EXPECT_TRUE(host.exists(identifier("blockquote")));
}

TEST(BlockView, ReplacingTheThemeRestylesBlocksAlreadyShown) {
  Host host(theme(Markdown("words"), markingTheme()));
  ASSERT_TRUE(host.exists(identifier("paragraph")));
  host.setRoot(theme(Markdown("words"), markingTheme().withParagraph(marking("other"))));
  EXPECT_TRUE(host.exists(identifier("other")));
  EXPECT_FALSE(host.exists(identifier("paragraph")));
}

TEST(BlockView, CodeAndHTMLLoseOneFinalLineFeed) {
  struct Case {
    std::string text;
    std::string shown;
  };
  const Case cases[] = {
      {"print(1)\n", "print(1)"}, {"a\n\n", "a\n"}, {"no feed", "no feed"}, {"", ""},
      {"crlf\r\n", "crlf\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(removingFinalLineFeed(c.text), c.shown);
  }
}

TEST(BlockView, CodeBlockAsksTheHighlighterInForceWithTheInfoAsItStands) {
  struct Case {
    std::string markdown;
    std::optional<std::string> language;
  };
  const Case cases[] = {
      {"```swift\nlet x = 1\n```", "swift"},
      {"```swift title=main\nlet x = 1\n```", "swift title=main"},
      {"```\nlet x = 1\n```", ""},
      {"    let x = 1\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.markdown);
    auto highlighter = std::make_shared<RecordingHighlighter>();
    Host host(codeSyntaxHighlighter(Markdown(c.markdown), highlighter));
    ASSERT_FALSE(highlighter->calls->empty());
    EXPECT_EQ(highlighter->calls->back().code, "let x = 1");
    EXPECT_EQ(highlighter->calls->back().language, c.language);
    EXPECT_TRUE(host.exists(text("highlighted:let x = 1")));
  }
}

TEST(BlockView, CodeWithoutAHighlighterIsPlainTextInTheCodeFont) {
  Host host(Markdown("```\nlet x = 1\n```"));
  auto code = host.find(text("let x = 1"));
  auto font = code.environment().font();
  ASSERT_TRUE(font.has_value());
  FontProperties expected;
  expected.familyVariant = FontProperties::FamilyVariant::monospaced;
  expected.scale = 0.94;
  EXPECT_EQ(font, makeFont(expected));
}

TEST(BlockView, HTMLBlockShowsItsTagsAsText) {
  Host host(Markdown("<div class=\"x\">\nhi\n</div>"));
  EXPECT_TRUE(host.exists(text("<div class=\"x\">\nhi\n</div>")));
}

TEST(BlockView, HeadingsTakeTheirIdentifierAsIdentity) {
  struct Case {
    std::string heading;
    std::string identity;
  };
  const Case cases[] = {{"Getting Started", "getting-started"}, {"Hello, World!", "hello--world-"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.heading);
    EXPECT_EQ(headingIdentifier({Inline::text(c.heading)}), c.identity);
    Host host(BlockView(Block::heading(2, {Inline::text(c.heading)})));
    EXPECT_NE(host.dump().find("\"" + c.identity + "\""), std::string::npos) << host.dump();
  }
}

TEST(BlockView, HeadingLevelsOutsideTheSixTakeTheNearestStyle) {
  Host high(theme(BlockView(Block::heading(9, {Inline::text("deep")})),
                  markingTheme().withHeadingLevel6(marking("h6"))));
  EXPECT_TRUE(high.exists(identifier("h6")));
  Host low(theme(BlockView(Block::heading(-3, {Inline::text("up")})), markingTheme()));
  EXPECT_TRUE(low.exists(identifier("heading1")));
}

}  // namespace
}  // namespace MarkdownRender
