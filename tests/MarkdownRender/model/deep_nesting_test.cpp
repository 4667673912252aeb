// Replies are untrusted: a small text can nest quotes, lists or emphasis tens of thousands of levels deep.
// No model value may be deeper than the cap, so every walk over it stays shallow.
#include <gtest/gtest.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/model/nesting_depth.h"
#include "MarkdownRender/model/parse_blocks.h"
#include "model_printer.h"

namespace MarkdownRender {
namespace {

std::string repeated(std::string_view piece, int count) {
  std::string text;
  text.reserve(piece.size() * count);
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

// Depth counted independently of `Block::depth()`.
int measuredDepth(const std::vector<Inline>& inlines);
int measuredDepth(const std::vector<Block>& blocks);

int measuredDepth(const Inline& inline_) {
  int inner = 0;
  inline_.visit([&](const auto& payload) {
    if constexpr (requires { payload.children; }) inner = measuredDepth(payload.children);
  });
  return inner + 1;
}

int measuredDepth(const std::vector<Inline>& inlines) {
  int depth = 0;
  for (const auto& inline_ : inlines) depth = std::max(depth, measuredDepth(inline_));
  return depth;
}

int measuredDepth(const Block& block) {
  int inner = 0;
  block.visit([&](const auto& payload) {
    if constexpr (requires { payload.blocks; }) inner = measuredDepth(payload.blocks);
    if constexpr (requires { payload.items; }) {
      for (const auto& item : payload.items) inner = std::max(inner, measuredDepth(item.blocks));
    }
    if constexpr (requires { payload.inlines; }) inner = measuredDepth(payload.inlines);
    if constexpr (requires { payload.text; }) inner = measuredDepth(payload.text);
    if constexpr (requires { payload.rows; }) {
      for (const auto& row : payload.rows) {
        for (const auto& cell : row) inner = std::max(inner, measuredDepth(cell));
      }
    }
  });
  return inner + 1;
}

int measuredDepth(const std::vector<Block>& blocks) {
  int depth = 0;
  for (const auto& block : blocks) depth = std::max(depth, measuredDepth(block));
  return depth;
}

TEST(DeepNesting, ParsedRepliesStayWithinTheCapAndKeepTheirInnermostText) {
  struct Case {
    std::string name;
    std::string markdown;
  };
  const Case cases[] = {
      {"quote markers", repeated(">", 100000) + " deepest words"},
      {"spaced quote markers", repeated("> ", 100000) + "deepest words"},
      {"bullet items", repeated("- ", 100000) + "deepest words"},
      {"numbered items", repeated("1. ", 100000) + "deepest words"},
      {"task items", repeated("- ", 100000) + "[ ] deepest words"},
      {"quotes in lists", repeated("> - ", 50000) + "deepest words"},
      {"emphasis", repeated("*", 100000) + "deepest words" + repeated("*", 100000)},
      {"strikethrough", "a " + repeated("~~x ", 30000) + "deepest words" + repeated(" y~~", 30000)},
      {"images", repeated("![", 20000) + "deepest words" + repeated("](u)", 20000)},
      {"link around images",
       "[" + repeated("![", 20000) + "deepest words" + repeated("](u)", 20000) + "](v)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto blocks = parseBlocks(c.markdown);
    ASSERT_EQ(blocks.size(), 1u);
    const Block& block = blocks.front();
    EXPECT_LE(block.depth(), maximumNestingDepth);
    EXPECT_EQ(measuredDepth(block), block.depth());
    EXPECT_GT(block.depth(), maximumNestingDepth / 2);  // shallow levels are kept as they are
    EXPECT_NE(block.plainText().find("deepest words"), std::string::npos);

    // Copying, comparing, hashing and filtering all walk the value.
    const Block copy = Block(block.value());
    EXPECT_EQ(copy, block);
    EXPECT_EQ(copy.hashValue(), block.hashValue());
    EXPECT_EQ(block.filteredForColorScheme(ui::ColorScheme::light), block);
    std::unordered_set<Block> set{block, copy};
    EXPECT_EQ(set.size(), 1u);
  }
}

TEST(DeepNesting, TheDeepestLevelsOfAParsedQuoteBecomePlainText) {
  const auto blocks = parseBlocks(repeated(">", 1000) + " one\n" + repeated(">", 1000) + " *two*");
  ASSERT_EQ(blocks.size(), 1u);
  // Walk down the quotes to the first block that is no quote.
  const Block* block = &blocks.front();
  int quotes = 0;
  while (const auto* quote = block->as<Block::Blockquote>()) {
    ASSERT_EQ(quote->blocks.size(), 1u);
    block = &quote->blocks.front();
    ++quotes;
  }
  EXPECT_EQ(quotes, maximumNestingDepth - 2);
  EXPECT_EQ(*block, Block::paragraph({Inline::text("one two")}));
}

TEST(DeepNesting, ValuesBuiltInCodeStayWithinTheCap) {
  Block quote = Block::paragraph({Inline::text("innermost")});
  for (int level = 0; level < 200; ++level) quote = Block::blockquote({quote});
  EXPECT_EQ(quote.depth(), maximumNestingDepth);
  EXPECT_EQ(measuredDepth(quote), maximumNestingDepth);
  EXPECT_EQ(quote.plainText(), "innermost");

  Block list = Block::paragraph({Inline::text("item")});
  for (int level = 0; level < 200; ++level)
    list = Block::bulletedList(true, {ListItem(std::vector<Block>{list})});
  EXPECT_EQ(list.depth(), maximumNestingDepth);
  EXPECT_EQ(list.plainText(), "item");

  Inline emphasis = Inline::text("word");
  for (int level = 0; level < 200; ++level) emphasis = Inline::emphasis({emphasis});
  EXPECT_EQ(emphasis.depth(), maximumNestingDepth);
  EXPECT_EQ(emphasis.plainText(), "word");

  const Block paragraph = Block::paragraph({emphasis});
  EXPECT_EQ(paragraph.depth(), maximumNestingDepth);
  EXPECT_EQ(measuredDepth(paragraph), maximumNestingDepth);
  EXPECT_EQ(plainText(paragraph.as<Block::Paragraph>()->inlines), "word");
}

TEST(DeepNesting, ValuesWithinTheCapAreKeptAsBuilt) {
  Block quote = Block::paragraph({Inline::emphasis({Inline::text("a")})});
  for (int level = 4; level < maximumNestingDepth; ++level) quote = Block::blockquote({quote});
  EXPECT_EQ(quote.depth(), maximumNestingDepth - 1);
  const Block outer = Block::blockquote({quote});
  EXPECT_EQ(outer.depth(), maximumNestingDepth);
  EXPECT_EQ(outer.as<Block::Blockquote>()->blocks.front(), quote);
}

}  // namespace
}  // namespace MarkdownRender
