#include "MarkdownRender/model/common_mark_node.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/model/parse_blocks.h"
#include "model_printer.h"

namespace MarkdownRender {
namespace {

using I = Inline;
using B = Block;

std::vector<Block> blocksOf(const CommonMarkNode& document) {
  std::vector<Block> blocks;
  for (const auto& child : document.children()) {
    if (auto block = Block::fromCmarkNode(child)) blocks.push_back(*block);
  }
  return blocks;
}

TEST(CommonMarkExtension, EveryParseAttachesTheFiveExtensions) {
  const std::unordered_set<CommonMarkExtension> expected{
      {"autolink"}, {"strikethrough"}, {"table"}, {"tagfilter"}, {"tasklist"}};
  EXPECT_EQ(CommonMarkExtension::enabledSet(), expected);
  EXPECT_EQ(CommonMarkExtension::table.rawValue, "table");
  EXPECT_EQ(std::hash<CommonMarkExtension>{}(CommonMarkExtension{"table"}),
            std::hash<CommonMarkExtension>{}(CommonMarkExtension::table));
}

TEST(CommonMarkNode, ParsesWithOnlyTheExtensionsGiven) {
  const std::string text = "| a |\n|---|\n\n~~x~~ www.example.com";
  const auto plain = CommonMarkNode::parsedDocument(text, {}, CMARK_OPT_DEFAULT);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->typeString(), "document");
  EXPECT_EQ(blocksOf(*plain),
            (std::vector<Block>{B::paragraph({I::text("| a |"), I::softBreak(), I::text("|---|")}),
                                B::paragraph({I::text("~~x~~ www.example.com")})}));

  const auto withTable =
      CommonMarkNode::parsedDocument(text, {CommonMarkExtension::table}, CMARK_OPT_DEFAULT);
  ASSERT_TRUE(withTable.has_value());
  EXPECT_EQ(blocksOf(*withTable).front(), B::table({std::nullopt}, {{{I::text("a")}}}));
}

TEST(CommonMarkNode, SkipsExtensionNamesTheLibraryDoesNotKnow) {
  const auto document = CommonMarkNode::parsedDocument(
      "~~gone~~", {CommonMarkExtension{"no-such-extension"}, CommonMarkExtension::strikethrough}, 0);
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ(blocksOf(*document), (std::vector<Block>{B::paragraph({I::strikethrough({I::text("gone")})})}));
}

TEST(CommonMarkNode, InnerNodesKeepTheTreeAliveAfterTheDocumentWrapperIsGone) {
  std::vector<CommonMarkNode> children;
  {
    auto document = CommonMarkNode::parsedDocument("# One\n\ntwo", CommonMarkExtension::enabledSet(), 0);
    ASSERT_TRUE(document.has_value());
    children = document->children();
  }
  ASSERT_EQ(children.size(), 2u);
  EXPECT_EQ(children[0].typeString(), "heading");
  EXPECT_EQ(Block::fromCmarkNode(children[1]), B::paragraph({I::text("two")}));
  EXPECT_EQ(Inline::fromCmarkNode(children[1].children().front()), I::text("two"));
}

TEST(CommonMarkNode, ReadsTableAlignmentsAndTaskItems) {
  const auto document = CommonMarkNode::parsedDocument("| a | b | c |\n|:--|:-:|---|\n\n- [x] t\n- u\n\n* v",
                                                       CommonMarkExtension::enabledSet(), 0);
  ASSERT_TRUE(document.has_value());
  const auto nodes = document->children();
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[0].tableColumnAlignments(), (std::vector<std::string>{"l", "c", std::string(1, '\0')}));
  EXPECT_EQ(nodes[0].children().front().typeString(), "table_header");
  EXPECT_TRUE(nodes[1].hasTaskItems());
  EXPECT_EQ(nodes[1].children().front().typeString(), "tasklist");
  EXPECT_FALSE(nodes[2].hasTaskItems());
  EXPECT_FALSE(nodes[2].children().front().hasTaskItems());
}

TEST(CommonMarkNode, NodesWithoutAModelCaseGiveNothing) {
  const auto document = CommonMarkNode::parsedDocument("- item", CommonMarkExtension::enabledSet(), 0);
  ASSERT_TRUE(document.has_value());
  EXPECT_EQ(Block::fromCmarkNode(*document), std::nullopt);
  const auto item = document->children().front().children().front();
  EXPECT_EQ(item.typeString(), "item");
  EXPECT_EQ(Block::fromCmarkNode(item), std::nullopt);
  EXPECT_EQ(Inline::fromCmarkNode(item), std::nullopt);
}

TEST(CommonMarkNode, AWrappedDocumentIsFreedWithItsLastWrapper) {
  cmark_node* document = cmark_parse_document("text", 4, 0);
  ASSERT_NE(document, nullptr);
  { const CommonMarkNode wrapper(document); }
  // An inner node is never freed by its wrapper: the tree below belongs to its document.
  cmark_node* other = cmark_parse_document("more", 4, 0);
  { const CommonMarkNode inner(cmark_node_first_child(other)); }
  EXPECT_NE(cmark_node_first_child(other), nullptr);
  cmark_node_free(other);
  // AddressSanitizer reports a leak or a double free if either rule is broken.
}

}  // namespace
}  // namespace MarkdownRender
