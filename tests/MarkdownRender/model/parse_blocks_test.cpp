#include "MarkdownRender/model/parse_blocks.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "model_printer.h"
#include "platform/foundation/utf16.h"

namespace MarkdownRender {
namespace {

using A = TextTableColumnAlignment;
using I = Inline;
using B = Block;

std::vector<Block> paragraphOf(std::vector<Inline> inlines) { return {B::paragraph(std::move(inlines))}; }
ListItem item(std::string text) { return ListItem(paragraphOf({I::text(std::move(text))})); }
TaskListItem task(bool isCompleted, std::string text) {
  return TaskListItem(isCompleted, paragraphOf({I::text(std::move(text))}));
}

TEST(ParseBlocks, GivesTheModelOfEveryBlockAndInlineKind) {
  struct Case {
    std::string_view markdown;
    std::vector<Block> blocks;
  };
  const Case cases[] = {
      {"", {}},
      {"\n\n  \n", {}},
      // Headings, paragraphs and breaks.
      {"# Title", {B::heading(1, {I::text("Title")})}},
      {"###### Six", {B::heading(6, {I::text("Six")})}},
      {"Setext\n---", {B::heading(2, {I::text("Setext")})}},
      {"para one\nline two", paragraphOf({I::text("para one"), I::softBreak(), I::text("line two")})},
      {"a  \nb", paragraphOf({I::text("a"), I::lineBreak(), I::text("b")})},
      {"a\\\nb", paragraphOf({I::text("a"), I::lineBreak(), I::text("b")})},
      {"one\n\ntwo", {B::paragraph({I::text("one")}), B::paragraph({I::text("two")})}},
      // Quotes.
      {"> quoted", {B::blockquote(paragraphOf({I::text("quoted")}))}},
      {"> > inner", {B::blockquote({B::blockquote(paragraphOf({I::text("inner")}))})}},
      // Lists, with tightness and start.
      {"- a\n- b", {B::bulletedList(true, {item("a"), item("b")})}},
      {"* a\n\n* b", {B::bulletedList(false, {item("a"), item("b")})}},
      {"1. x\n2. y", {B::numberedList(true, 1, {item("x"), item("y")})}},
      {"3. x\n4. y", {B::numberedList(true, 3, {item("x"), item("y")})}},
      {"0) x", {B::numberedList(true, 0, {item("x")})}},
      {"1. x\n\n   more",
       {B::numberedList(
           false, 1,
           {ListItem(std::vector<Block>{B::paragraph({I::text("x")}), B::paragraph({I::text("more")})})})}},
      {"- a\n  - b",
       {B::bulletedList(true, {ListItem(std::vector<Block>{B::paragraph({I::text("a")}),
                                                           B::bulletedList(true, {item("b")})})})}},
      // Task lists: an item with a box makes the whole list a task list, ordered or not.
      {"- [ ] a\n- b", {B::taskList(true, {task(false, "a"), task(false, "b")})}},
      {"- [x] done\n- [ ] open", {B::taskList(true, {task(true, "done"), task(false, "open")})}},
      {"3. [ ] a\n4. [X] b", {B::taskList(true, {task(false, "a"), task(true, "b")})}},
      {"- [ ] a\n\n- [x] b", {B::taskList(false, {task(false, "a"), task(true, "b")})}},
      // Code: fenced with and without info, indented.
      {"```swift\nlet x = 1\n```", {B::codeBlock("swift", "let x = 1\n")}},
      {"~~~ python extra\nprint()\n~~~", {B::codeBlock("python extra", "print()\n")}},
      {"```\nplain\n```", {B::codeBlock("", "plain\n")}},
      {"    indented\n    code", {B::codeBlock("", "indented\ncode\n")}},
      // HTML blocks and inline HTML.
      {"<div>\nhi\n</div>", {B::htmlBlock("<div>\nhi\n</div>\n")}},
      {"a <b>bold</b> c",
       paragraphOf({I::text("a "), I::html("<b>"), I::text("bold"), I::html("</b>"), I::text(" c")})},
      // Tables with column alignments; the header row comes first.
      {"| a | b |\n|:--|--:|\n| 1 | 2 |",
       {B::table({A::leading, A::trailing},
                 {{{I::text("a")}, {I::text("b")}}, {{I::text("1")}, {I::text("2")}}})}},
      {"| a | b | c |\n|---|:-:|---|\n| *1* | 2 | |",
       {B::table({std::nullopt, A::center, std::nullopt},
                 {{{I::text("a")}, {I::text("b")}, {I::text("c")}},
                  {{I::emphasis({I::text("1")})}, {I::text("2")}, {}}})}},
      {"| h |\n|---|", {B::table({std::nullopt}, {{{I::text("h")}}})}},
      // Thematic breaks.
      {"***", {B::thematicBreak()}},
      {"a\n\n---\n\nb", {B::paragraph({I::text("a")}), B::thematicBreak(), B::paragraph({I::text("b")})}},
      // Emphasis, strong, strikethrough and code spans.
      {"*em* **strong** ~~strike~~ `code`",
       paragraphOf({I::emphasis({I::text("em")}), I::text(" "), I::strong({I::text("strong")}), I::text(" "),
                    I::strikethrough({I::text("strike")}), I::text(" "), I::code("code")})},
      {"***both***", paragraphOf({I::emphasis({I::strong({I::text("both")})})})},
      {"**a *b* c**", paragraphOf({I::strong({I::text("a "), I::emphasis({I::text("b")}), I::text(" c")})})},
      {"``a ` b``", paragraphOf({I::code("a ` b")})},
      // Links and images.
      {"[link](https://example.com)", paragraphOf({I::link("https://example.com", {I::text("link")})})},
      {"[empty]()", paragraphOf({I::link("", {I::text("empty")})})},
      {"![alt](img.png)", paragraphOf({I::image("img.png", {I::text("alt")})})},
      {"![](img.png)", paragraphOf({I::image("img.png", {})})},
      {"[![alt](i.png)](https://x.org)",
       paragraphOf({I::link("https://x.org", {I::image("i.png", {I::text("alt")})})})},
      // Autolinks: written in angle brackets, and recognised in plain text.
      {"<https://example.com>",
       paragraphOf({I::link("https://example.com", {I::text("https://example.com")})})},
      {"visit https://example.com now",
       paragraphOf({I::text("visit "), I::link("https://example.com", {I::text("https://example.com")}),
                    I::text(" now")})},
      {"www.example.com", paragraphOf({I::link("http://www.example.com", {I::text("www.example.com")})})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.markdown);
    EXPECT_EQ(parseBlocks(c.markdown), c.blocks);
  }
}

TEST(ParseBlocks, NeverFailsOnMalformedText) {
  const std::string_view texts[] = {
      std::string_view("\xff\xfe broken \xc3", 12),
      std::string_view("nul \0 inside", 12),
      "[unclosed](",
      "| a |\n|---|---|",
      "```\nnever closed",
  };
  for (const auto text : texts) {
    SCOPED_TRACE(std::string(text));
    const auto blocks = parseBlocks(text);
    EXPECT_FALSE(blocks.empty());
  }
  // Invalid bytes read as U+FFFD.
  EXPECT_EQ(parseBlocks(std::string_view("a\xff", 2)), paragraphOf({I::text("a\xEF\xBF\xBD")}));
}

TEST(ParseBlocks, ReadsInvalidUTF8AnywhereInALongReplyAsTheSanitizedText) {
  // Valid text is kept byte for byte; anything else is read as the text the UTF-8 sanitizer makes of it,
  // wherever in the reply the fault lies.
  struct Case {
    std::string name;
    std::string markdown;
    bool isValid;
  };
  const std::string ascii = "plain words before";  // longer than a machine word
  const Case cases[] = {
      {"valid letters after ASCII", ascii + " \xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", true},
      {"stray continuation byte", ascii + " \x80 end", false},
      {"invalid byte within a word's reach", "abc\xFF def ghijk", false},
      {"sequence cut at the end", ascii + " \xE2\x82", false},
      {"overlong encoding", ascii + " \xC0\xAF!", false},
      {"surrogate", ascii + " \xED\xA0\x80!", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string expected = c.isValid ? c.markdown : foundation::sanitizedUtf8(c.markdown);
    EXPECT_EQ(expected == c.markdown, c.isValid);
    EXPECT_EQ(parseBlocks(c.markdown), paragraphOf({I::text(expected)}));
  }
}

TEST(ParseBlocks, ParsesOnSeveralThreadsAtOnce) {
  // Tables and strikethrough are what one parse changes in the library's shared tables, so a reply full
  // of rows with struck-through cells, parsed by many threads over many rounds, shows any interference.
  std::string text = "# T\n\n| a | b |\n|:-:|---|\n";
  for (int row = 0; row < 40; ++row) text += "| ~~b~~ | c~~d~~e |\n";
  text += "\n- [x] www.example.com ~~gone~~\n";
  const std::vector<Block> expected = parseBlocks(text);
  ASSERT_EQ(expected.size(), 3u);
  ASSERT_EQ(expected[1].kind(), Block::Kind::table);
  EXPECT_EQ(expected[1].as<Block::Table>()->rows[1][0],
            (std::vector<Inline>{I::strikethrough({I::text("b")})}));

  constexpr int threadCount = 8;
  constexpr int rounds = 25;
  std::vector<int> mismatches(threadCount, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < threadCount; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < rounds; ++round) {
        if (parseBlocks(text) != expected) ++mismatches[static_cast<std::size_t>(t)];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(threadCount, 0));
}

TEST(ParseBlocks, RepliesOfVeryDifferentSizesInTurnParseAlike) {
  // Each parse reuses the memory the one before it used for the library's tree, and a long reply needs
  // more of it than a short one has left behind: this one's tree takes megabytes, past the size from
  // which that memory comes in large pages.
  const std::string shortReply = "Short *reply* with `code`.\n";
  constexpr int sections = 1500;
  std::string longReply;
  for (int section = 0; section < sections; ++section) {
    longReply += "## Part " + std::to_string(section) + "\n\nText with **strong** words and a [link](u" +
                 std::to_string(section) +
                 ").\n\n- [x] done\n- [ ] open\n\n| a | b |\n|---|--:|\n| ~~c~~ | d |\n\n";
  }
  const auto shortBlocks = parseBlocks(shortReply);
  const auto longBlocks = parseBlocks(longReply);
  ASSERT_EQ(shortBlocks, paragraphOf({I::text("Short "), I::emphasis({I::text("reply")}), I::text(" with "),
                                      I::code("code"), I::text(".")}));
  ASSERT_EQ(longBlocks.size(), 4u * sections);
  const std::pair<const std::string*, const std::vector<Block>*> turns[] = {
      {&shortReply, &shortBlocks}, {&longReply, &longBlocks}, {&longReply, &longBlocks},
      {&shortReply, &shortBlocks}, {&longReply, &longBlocks}, {&shortReply, &shortBlocks}};
  for (const auto& [text, blocks] : turns) EXPECT_EQ(parseBlocks(*text), *blocks);
}

TEST(ParseBlocks, AValueTakenFromADocumentOutlivesTheDocument) {
  // Views keep single blocks and inlines of a reply long after the list of its blocks is gone, and may let
  // go of them on another thread than the one that parsed.
  std::optional<Block> quote;
  std::optional<Inline> link;
  {
    const auto blocks = parseBlocks("> kept *quote*\n\nSee [the guide](https://example.com/g) here.\n");
    ASSERT_EQ(blocks.size(), 2u);
    quote = blocks[0];
    link = blocks[1].as<Block::Paragraph>()->inlines.at(1);
  }
  EXPECT_EQ(*quote, B::blockquote(paragraphOf({I::text("kept "), I::emphasis({I::text("quote")})})));
  EXPECT_EQ(*link, I::link("https://example.com/g", {I::text("the guide")}));
  std::thread([moved = std::move(quote)]() mutable { moved.reset(); }).join();
  EXPECT_EQ(link->plainText(), "the guide");
}

}  // namespace
}  // namespace MarkdownRender
