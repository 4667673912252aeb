#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <unordered_set>
#include <vector>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/model/indexed.h"
#include "MarkdownRender/model/inline.h"
#include "model_printer.h"

namespace MarkdownRender {
namespace {

using A = TextTableColumnAlignment;
using I = Inline;
using B = Block;

TEST(DocumentModel, CasesKeepTheirDeclaredOrder) {
  EXPECT_EQ(I::text("").kind(), I::Kind::text);
  EXPECT_EQ(static_cast<int>(I::lineBreak().kind()), 9);
  EXPECT_EQ(static_cast<int>(I::image("", {}).kind()), 7);
  EXPECT_EQ(B::blockquote({}).kind(), B::Kind::blockquote);
  EXPECT_EQ(static_cast<int>(B::taskList(true, {}).kind()), 1);
  EXPECT_EQ(static_cast<int>(B::table({}, {}).kind()), 8);
  EXPECT_EQ(static_cast<int>(B::thematicBreak().kind()), 9);
}

TEST(DocumentModel, EqualValuesAreEqualAndHashAlike) {
  struct Case {
    const char* name;
    Block a;
    Block b;
  };
  const Case cases[] = {
      {"soft breaks", B::paragraph({I::softBreak()}), B::paragraph({I::softBreak()})},
      {"nested inlines", B::paragraph({I::link("u", {I::strong({I::text("x")})})}),
       B::paragraph({I::link("u", {I::strong({I::text("x")})})})},
      {"lists", B::numberedList(true, 3, {ListItem(std::vector<Block>{B::thematicBreak()})}),
       B::numberedList(true, 3, {ListItem(std::vector<Block>{B::thematicBreak()})})},
      {"tables", B::table({A::leading, std::nullopt}, {{{I::text("a")}, {}}}),
       B::table({A::leading, std::nullopt}, {{{I::text("a")}, {}}})},
      {"code without info", B::codeBlock(std::nullopt, "x"), B::codeBlock(std::nullopt, "x")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.a, c.b);
    EXPECT_EQ(std::hash<Block>{}(c.a), std::hash<Block>{}(c.b));
  }
}

TEST(DocumentModel, ValuesThatDifferInCaseOrAnyFieldAreUnequal) {
  struct Case {
    const char* name;
    Block a;
    Block b;
  };
  const Case cases[] = {
      {"soft and hard break", B::paragraph({I::softBreak()}), B::paragraph({I::lineBreak()})},
      {"link and image", B::paragraph({I::link("u", {I::text("x")})}),
       B::paragraph({I::image("u", {I::text("x")})})},
      {"emphasis and strong", B::paragraph({I::emphasis({I::text("x")})}),
       B::paragraph({I::strong({I::text("x")})})},
      {"text and code", B::paragraph({I::text("x")}), B::paragraph({I::code("x")})},
      {"alignments", B::table({A::leading}, {{{I::text("a")}}}), B::table({A::center}, {{{I::text("a")}}})},
      {"absent alignment", B::table({std::nullopt}, {{{I::text("a")}}}),
       B::table({A::leading}, {{{I::text("a")}}})},
      {"tightness", B::bulletedList(true, {}), B::bulletedList(false, {})},
      {"start", B::numberedList(true, 1, {}), B::numberedList(true, 2, {})},
      {"bulleted and numbered", B::bulletedList(true, {}), B::numberedList(true, 1, {})},
      {"task state", B::taskList(true, {TaskListItem(true, std::vector<Block>{})}),
       B::taskList(true, {TaskListItem(false, std::vector<Block>{})})},
      {"absent and empty info", B::codeBlock(std::nullopt, "x"), B::codeBlock("", "x")},
      {"heading level", B::heading(1, {I::text("x")}), B::heading(2, {I::text("x")})},
      {"list length", B::blockquote({B::thematicBreak()}),
       B::blockquote({B::thematicBreak(), B::thematicBreak()})},
      {"html block and code block", B::htmlBlock("x"), B::codeBlock(std::nullopt, "x")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NE(c.a, c.b);
    EXPECT_NE(std::hash<Block>{}(c.a), std::hash<Block>{}(c.b));
  }
}

TEST(DocumentModel, AnEmptyDocumentIsAnEmptyListOfBlocks) {
  const std::vector<Block> document;
  EXPECT_TRUE(document.empty());
  EXPECT_EQ(B::paragraph({}).depth(), 1);
  EXPECT_EQ(B::paragraph({I::text("x")}).depth(), 2);
}

TEST(DocumentModel, IndexedElementsAtDifferentOffsetsDiffer) {
  const Indexed<Block> first{0, B::thematicBreak()};
  const Indexed<Block> second{1, B::thematicBreak()};
  EXPECT_NE(first, second);
  EXPECT_NE(std::hash<Indexed<Block>>{}(first), std::hash<Indexed<Block>>{}(second));
  EXPECT_EQ(first, (Indexed<Block>{0, B::thematicBreak()}));
  EXPECT_EQ(std::hash<Indexed<Block>>{}(first),
            std::hash<Indexed<Block>>{}(Indexed<Block>{0, B::thematicBreak()}));
}

TEST(DocumentModel, PictureDescriptionsCompareAndHashByAllFields) {
  const Inline::Image image{"a.png", "alt", std::nullopt};
  std::unordered_set<Inline::Image> set{image, Inline::Image{"a.png", "alt", std::nullopt}};
  EXPECT_EQ(set.size(), 1u);
  EXPECT_NE(image, (Inline::Image{"a.png", "alt", "https://x.org"}));
  EXPECT_NE(image, (Inline::Image{std::nullopt, "alt", std::nullopt}));
}

TEST(DocumentModel, CopiesShareStorageAndStayEqual) {
  const Block original = B::paragraph({I::text("shared")});
  const Block copy = original;  // NOLINT(performance-unnecessary-copy-initialization)
  EXPECT_EQ(&original.value(), &copy.value());
  EXPECT_EQ(copy, original);
}

}  // namespace
}  // namespace MarkdownRender
