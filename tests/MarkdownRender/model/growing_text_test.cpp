// A reply streamed in: each text extends the one before it, and every one of them must parse exactly as
// it parses on its own, whatever the earlier texts were.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/model/common_mark_node.h"
#include "MarkdownRender/model/parse_blocks.h"
#include "model_printer.h"

namespace MarkdownRender {
namespace {

// The blocks of the text parsed whole, through the library's document and the conversion of each of its
// blocks, apart from the parse under test and anything it kept.
std::vector<Block> parsedOnItsOwn(std::string_view text) {
  std::vector<Block> blocks;
  const auto document =
      CommonMarkNode::parsedDocument(text, CommonMarkExtension::enabledSet(), CMARK_OPT_DEFAULT);
  if (!document) return blocks;
  for (const auto& child : document->children()) {
    if (auto block = Block::fromCmarkNode(child)) blocks.push_back(std::move(*block));
  }
  return blocks;
}

// Replies in the shapes whose blocks change when more text arrives.
const std::vector<std::string>& replies() {
  static const std::vector<std::string> texts = {
      // Headings and paragraphs, with lazy continuation lines.
      "# Title\n\nSome *running* text here\nand a lazy **second** line.\n\n## Next\nText under the "
      "heading.\n",
      // Lists that go on after blank lines, loose and tight, bulleted and numbered.
      "- one\n- two\n\n  still two\n\n- three\n\n1. a\n2. b\n\n\n3. c\n\nafter the lists\n\n7) x\n8) y\n",
      // Nested quotes with lazy lines and a list inside.
      "> quote\n> > inner\nlazy line\n\n> again\n>\n> - item\n> continued\n>   more\n\noutside\n",
      // Fenced code opened here and closed later, one never closed.
      "Intro:\n\n```python\ndef f():\n\n    return 1\n```\nafter\n\n~~~\nnot closed\n\n  still code\n",
      // Setext headings, and underlines that are rules instead.
      "Title\n=====\n\nSub\n---\ntext\nmore text\n---\n\n- item\n---\n\nlast\n===\n",
      // Tables growing rows, one right below a paragraph.
      "Intro\n| a | b |\n|:--|--:|\n| 1 | 2 |\n| 3 | ~~4~~ |\n\ntext\n\n| x |\n|---|\n| y |\nend\n",
      // HTML blocks of several kinds.
      "<div>\nhello\n\n</div>\n\n<!-- comment\nstill -->\ntext "
      "<b>x</b>\n<pre>\ncode\n</pre>\n\n<table><tr>\n",
      // A link reference used before it is defined, and after.
      "See [the guide][g] and [g].\n\n- [x] done\n- [ ] open\n\n[g]: https://example.com/g "
      "\"Title\"\n\nAgain [g].\n",
      // A reference defined inside a quote, its label over two lines.
      "[r one\ntwo] first.\n\n> [r one\n> two]: /u\n\nthen [r one two]\n",
      // Footnotes.
      "Claim[^1] here.\n\n[^1]: The note.\n\nMore[^1].\n",
      // Indented code, rules and carriage returns.
      "para\r\n\r\n    code\r\n    more\r\n\r\n***\r\ntext\r\nline\rnext\r\n\r\n- a\r- b\r\n",
      // Characters of several bytes, and bytes that are not UTF-8.
      "caf\xC3\xA9 \xE2\x82\xAC\n\n- \xFF item\n\xE2\n## h\xC3\xA9\n\n\xE2\x82\n",
      // Autolinks, task items and deep containers.
      "www.example.com and https://x.y/z.\n\n> > > - a\n> > >   - [x] b\n\n- > q\n  > r\n",
  };
  return texts;
}

// Parses every prefix of the text in growing steps (the next step's length from `stepAfter`) and checks
// each against the text parsed on its own; gives how many differed.
template <class StepAfter>
int mismatchesWhileGrowing(const std::string& text, StepAfter&& stepAfter) {
  int mismatches = 0;
  for (std::size_t length = 0;; length = std::min(text.size(), length + stepAfter())) {
    const std::string prefix = text.substr(0, length);
    const auto blocks = parseGrowingBlocks(prefix);
    const auto expected = parsedOnItsOwn(prefix);
    if (blocks != expected && ++mismatches <= 3) {
      ADD_FAILURE() << "prefix of " << length << " bytes:\n"
                    << prefix << "\n"
                    << ::testing::PrintToString(blocks) << "\nexpected\n"
                    << ::testing::PrintToString(expected);
    }
    if (length == text.size()) break;
  }
  return mismatches;
}

TEST(GrowingText, EveryPrefixParsesAsItDoesOnItsOwn) {
  for (const auto& reply : replies()) {
    SCOPED_TRACE(reply);
    EXPECT_EQ(mismatchesWhileGrowing(reply, [] { return std::size_t{1}; }), 0);
  }
}

TEST(GrowingText, AllRepliesInOneTextParseAsOnTheirOwn) {
  std::string all;
  for (const auto& reply : replies()) all += reply + "\n";
  EXPECT_EQ(mismatchesWhileGrowing(all, [] { return std::size_t{1}; }), 0);
}

TEST(GrowingText, RandomStepsOfSeveralCharactersParseAsOnTheirOwn) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::size_t> step(1, 12);
  std::string all;
  for (const auto& reply : replies()) all += reply;
  for (int round = 0; round < 4; ++round) {
    EXPECT_EQ(mismatchesWhileGrowing(all, [&] { return step(random); }), 0);
  }
}

TEST(GrowingText, RandomRepliesOfMixedLinesParseAsOnTheirOwn) {
  // Lines that open, continue, interrupt and close blocks, in random order.
  const std::string_view lines[] = {
      "text with *emphasis*\n",
      "\n",
      "\n",
      "- item\n",
      "  continued item\n",
      "1. first\n",
      "> quoted\n",
      ">\n",
      "```\n",
      "~~~ js\n",
      "    indented\n",
      "===\n",
      "---\n",
      "| a | b |\n",
      "|---|:-:|\n",
      "| 1 | 2 |\n",
      "<div>\n",
      "</div>\n",
      "<!-- note\n",
      "-->\n",
      "# heading\n",
      "  - nested\n",
      "- [ ] task\n",
      "lazy\n",
      "***\n",
      "\t\ttabbed\n",
      "text  \n",
      "[link](u) and [ref]\n",
  };
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(lines) - 1);
  std::uniform_int_distribution<std::size_t> step(1, 9);
  for (int reply = 0; reply < 150; ++reply) {
    std::string text;
    for (int line = 0; line < 30; ++line) text += lines[pick(random)];
    // Now and then a reference definition comes late.
    if (reply % 10 == 0) text += "\n[ref]: https://example.com\n\nafter [ref]\n";
    SCOPED_TRACE(text);
    ASSERT_EQ(mismatchesWhileGrowing(text, [&] { return step(random); }), 0);
  }
}

TEST(GrowingText, ATextThatDoesNotExtendTheLastParsesAsOnItsOwn) {
  const std::string texts[] = {
      "- a\n- b\n\npara",
      "- a\n- b\n\npara and more",
      "- a\n- c\n\npara and more",  // changed in the middle
      "- a\n",                      // shorter
      "- a\n- b",                   // longer again
      "",
      "[r]: /u\n\n[r]",
      "[r]: /u\n\n[r] and [r]",  // extends a text that defines a reference
      "x",
  };
  for (const auto& text : texts) {
    SCOPED_TRACE(text);
    EXPECT_EQ(parseGrowingBlocks(text), parsedOnItsOwn(text));
  }
}

TEST(GrowingText, RepliesGrowingInTurnsOnOneThreadParseAsOnTheirOwn) {
  // A chat evaluates its messages one after another: a question, the reply streaming in below it, and a
  // reply of another conversation growing between them.
  const std::string question = "How do I keep only the newest records?";
  std::string reply;
  std::string other;
  for (int section = 0; section < 12; ++section) {
    reply += "## Part " + std::to_string(section) + "\n\n- a\n- b\n\n| a | b |\n|---|---|\n| 1 | 2 |\n\n";
    other += "> quote " + std::to_string(section) + "\nlazy\n\n```\ncode\n```\n\nSetext\n---\n";
  }
  int mismatches = 0;
  for (std::size_t length = 0; length <= std::max(reply.size(), other.size()); length += 5) {
    for (const std::string& text : {question, reply.substr(0, length), question, other.substr(0, length)}) {
      if (parseGrowingBlocks(text) != parsedOnItsOwn(text) && ++mismatches <= 3) {
        ADD_FAILURE() << "text of " << text.size() << " bytes:\n" << text;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(GrowingText, ManyTextsInTurnLeaveEveryOneParsingAsOnItsOwn) {
  // More texts than are kept, each growing in turn, and texts that begin with one another.
  std::vector<std::string> texts;
  for (int i = 0; i < 100; ++i) texts.push_back("- item " + std::to_string(i) + "\n");
  texts.push_back("- item 1");
  texts.push_back("- item 1\n- item 10\n\n[r]: /u\n");
  texts.push_back("- item 1\n- item 10\n\n[r]: /u\n\n[r]");
  for (int round = 0; round < 3; ++round) {
    for (auto& text : texts) {
      text += round == 1 ? "  continued *text*\n" : "\n";
      SCOPED_TRACE(text);
      ASSERT_EQ(parseGrowingBlocks(text), parsedOnItsOwn(text));
    }
  }
}

TEST(GrowingText, RepliesGrowingOnTwoThreadsAtOnceParseAsOnTheirOwn) {
  // Each thread streams its own reply; what one thread parsed last never stands for the other's.
  std::string first;
  std::string second;
  for (int section = 0; section < 20; ++section) {
    first += "## Part " + std::to_string(section) + "\n\n- a\n- b\n\n| a | b |\n|---|---|\n| 1 | 2 |\n\n";
    second += "> quote " + std::to_string(section) + "\nlazy\n\n```\ncode\n```\n\nSetext\n---\n";
  }
  int firstMismatches = -1;
  int secondMismatches = -1;
  std::thread other(
      [&] { secondMismatches = mismatchesWhileGrowing(second, [] { return std::size_t{3}; }); });
  firstMismatches = mismatchesWhileGrowing(first, [] { return std::size_t{3}; });
  other.join();
  EXPECT_EQ(firstMismatches, 0);
  EXPECT_EQ(secondMismatches, 0);
}

}  // namespace
}  // namespace MarkdownRender
