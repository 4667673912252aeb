#include "MarkdownRender/model/markdown_content.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "model_printer.h"

namespace MarkdownRender {
namespace {

using A = TextTableColumnAlignment;
using I = Inline;
using B = Block;

std::string fixture(const std::string& name) {
  std::ifstream file(std::string(QUILLO_TEST_DIR) + "/fixtures/" + name, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

foundation::URL url(std::string_view text) { return *foundation::URL::parse(text); }

struct Groceries {
  std::string name;
  int quantity;
};

TEST(MarkdownContent, BuiltInCodeEqualsTheParsedEquivalentText) {
  const std::vector<Groceries> groceries{{"milk", 2}, {"eggs", 12}};
  const MarkdownContent built(
      Heading(Heading::Level::level1, "Shopping ", Emphasis("list")), Paragraph("Buy the following:"),
      BulletedList(true, "milk", "bread"), NumberedList(true, 1, "first", "second"),
      TaskList(true, TaskListItem(true, Paragraph("done")), "open"),
      Blockquote(Paragraph("Quoted ", Strong("strong"), " and ", Strikethrough("gone"), " ", Code("code"))),
      CodeBlock("swift", "let x = 1\n"),
      TextTable<Groceries>(groceries, TextTableColumn<Groceries>(A::leading, "Name", &Groceries::name),
                           TextTableColumn<Groceries>(A::trailing, "Qty", &Groceries::quantity)),
      ThematicBreak(),
      Paragraph("A ", InlineLink("link", url("https://example.com/")), " and ",
                InlineImage("pic", url("https://example.com/p.png")), " too", LineBreak(), "after break"));
  const MarkdownContent parsed(fixture("shopping_list.md"));
  ASSERT_FALSE(parsed.blocks.empty());
  EXPECT_EQ(built.blocks, parsed.blocks);
}

TEST(MarkdownContent, ABlockBuilderTakesComponentsAndMarkdownTextInOrder) {
  const MarkdownContent content(Paragraph("first"), "## Then *this*", ThematicBreak());
  EXPECT_EQ(content.blocks,
            (std::vector<Block>{B::paragraph({I::text("first")}),
                                B::heading(2, {I::text("Then "), I::emphasis({I::text("this")})}),
                                B::thematicBreak()}));
}

TEST(MarkdownContent, ConditionsContributeNothingWhenFalseAndLoopsConcatenate) {
  const bool showNote = false;
  const std::optional<Paragraph> note = showNote ? std::optional(Paragraph("note")) : std::nullopt;
  std::vector<Paragraph> loop;
  for (const char* word : {"a", "b"}) loop.push_back(Paragraph(word));
  const std::variant<Paragraph, ThematicBreak> branch = ThematicBreak();

  EXPECT_EQ(MarkdownContent(note).blocks, std::vector<Block>{});
  EXPECT_EQ(MarkdownContent(std::optional(Paragraph("x"))).blocks,
            std::vector<Block>{B::paragraph({I::text("x")})});
  EXPECT_EQ(
      MarkdownContent(loop, branch).blocks,
      (std::vector<Block>{B::paragraph({I::text("a")}), B::paragraph({I::text("b")}), B::thematicBreak()}));

  // The same rules hold for inlines, items, columns and rows.
  EXPECT_EQ(InlineContent(std::optional<Strong>()).inlines, std::vector<Inline>{});
  EXPECT_EQ(BulletedList(true, std::optional<ListItem>()).items, std::vector<ListItem>{});
  EXPECT_EQ(TaskList(true, std::vector<std::string>{}).items, std::vector<TaskListItem>{});
  EXPECT_TRUE(textTableColumns<int>(std::optional<TextTableColumn<int>>()).empty());
  EXPECT_TRUE(textTableRows<int>(std::optional<TextTableRow<int>>()).empty());
  EXPECT_EQ(textTableRows<int>(std::vector<TextTableRow<int>>{{1}, {2}}, TextTableRow<int>{3}).size(), 3u);
}

TEST(MarkdownContent, InlineBuildersTurnStringsIntoText) {
  EXPECT_EQ(Paragraph("a", Code("b"), SoftBreak(), "c").content.inlines,
            (std::vector<Inline>{I::text("a"), I::code("b"), I::softBreak(), I::text("c")}));
  EXPECT_EQ(Emphasis("x").inlineContent().inlines, std::vector<Inline>{I::emphasis({I::text("x")})});
  EXPECT_EQ(Strikethrough(Strong("x")).inlineContent().inlines,
            std::vector<Inline>{I::strikethrough({I::strong({I::text("x")})})});
}

TEST(MarkdownContent, LinksAndImagesUseTheAbsoluteStringOfTheirURL) {
  const auto base = url("https://example.com/docs/");
  const auto relative = *foundation::URL::parse("../guide", base);
  EXPECT_EQ(InlineLink("guide", relative).inlineContent().inlines,
            std::vector<Inline>{I::link("https://example.com/guide", {I::text("guide")})});
  EXPECT_EQ(InlineLink(url("https://x.org"), "a ", Emphasis("b")).inlineContent().inlines,
            std::vector<Inline>{I::link("https://x.org", {I::text("a "), I::emphasis({I::text("b")})})});
  EXPECT_EQ(InlineImage(url("https://x.org/p.png")).inlineContent().inlines,
            std::vector<Inline>{I::image("https://x.org/p.png", {})});
}

TEST(MarkdownContent, AListIsTightOnlyWhenAskedAndNoItemHoldsTwoParagraphs) {
  struct Case {
    const char* name;
    Block list;
    bool tight;
  };
  const Case cases[] = {
      {"tight strings", BulletedList(true, "one", "two").markdownContent().blocks.front(), true},
      {"two paragraphs in an item",
       BulletedList(true, "one", ListItem(Paragraph("a"), Paragraph("b"))).markdownContent().blocks.front(),
       false},
      {"a paragraph and other blocks",
       NumberedList(true, 2, ListItem(Paragraph("a"), CodeBlock(std::nullopt, "x"), ThematicBreak()))
           .markdownContent()
           .blocks.front(),
       true},
      {"loose stays loose", BulletedList(false, "one").markdownContent().blocks.front(), false},
      {"task list", TaskList(true, TaskListItem(false, "a\n\nb")).markdownContent().blocks.front(), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const bool tight = c.list.visit([](const auto& payload) {
      if constexpr (requires { payload.tight; }) {
        return payload.tight;
      } else {
        return true;
      }
    });
    EXPECT_EQ(tight, c.tight);
  }
}

TEST(MarkdownContent, ListsCanBeMadeFromDataAndAFunction) {
  const std::vector<int> numbers{1, 2, 3};
  const auto list =
      NumberedList(true, 5, numbers, [](int n) { return ListItem(Paragraph(std::to_string(n))); });
  EXPECT_EQ(list.start, 5);
  ASSERT_EQ(list.items.size(), 3u);
  EXPECT_EQ(list.items[2], ListItem(Paragraph("3")));
  const auto tasks = TaskList(false, numbers, [](int n) {
    return std::vector<TaskListItem>{TaskListItem(n % 2 == 0, Paragraph("x")), TaskListItem(false, "y")};
  });
  EXPECT_EQ(tasks.items.size(), 6u);
  EXPECT_TRUE(tasks.items[2].isCompleted);
  const auto bullets = BulletedList(true, std::vector<std::string>{"a", "b"});
  EXPECT_EQ(bullets.items, (std::vector<ListItem>{ListItem(Paragraph("a")), ListItem(Paragraph("b"))}));
}

TEST(MarkdownContent, TablesHaveTheHeaderRowFirstThenOneRowPerValue) {
  const std::vector<Groceries> none;
  const TextTable<Groceries> empty(
      none, TextTableColumn<Groceries>(std::nullopt, "Name", &Groceries::name),
      TextTableColumn<Groceries>(A::center, InlineContent(Strong("Qty")), &Groceries::quantity));
  EXPECT_EQ(empty.markdownContent().blocks.front(),
            B::table({std::nullopt, A::center}, {{{I::text("Name")}, {I::strong({I::text("Qty")})}}}));

  const TextTable<Groceries> fromRows(
      textTableColumns<Groceries>(TextTableColumn<Groceries>(
          A::leading, "Item", [](const Groceries& g) { return InlineContent(Emphasis(g.name)); })),
      textTableRows<Groceries>(TextTableRow<Groceries>{{"tea", 1}}, TextTableRow<Groceries>{{"jam", 3}}));
  EXPECT_EQ(fromRows.rows,
            (std::vector<TableRow>{
                {{I::text("Item")}}, {{I::emphasis({I::text("tea")})}}, {{I::emphasis({I::text("jam")})}}}));
  EXPECT_EQ(fromRows.columnAlignments, (std::vector<std::optional<A>>{A::leading}));
}

TEST(MarkdownContent, HeadingLevelsExistFromOneToSix) {
  EXPECT_EQ(Heading::levelFromRawValue(1), Heading::Level::level1);
  EXPECT_EQ(Heading::levelFromRawValue(6), Heading::Level::level6);
  EXPECT_EQ(Heading::levelFromRawValue(0), std::nullopt);
  EXPECT_EQ(Heading::levelFromRawValue(7), std::nullopt);
  for (const auto level : Heading::allLevels) {
    EXPECT_EQ(Heading(level, "h").markdownContent().blocks.front().as<Block::Heading>()->level,
              Heading::rawValue(level));
  }
}

TEST(MarkdownContent, CodeBlocksTakeTheirTextFromAFunctionOrAString) {
  EXPECT_EQ(CodeBlock("c", [] { return std::string("int x;"); }).markdownContent().blocks.front(),
            B::codeBlock("c", "int x;"));
  EXPECT_EQ(CodeBlock(std::nullopt, "plain").markdownContent().blocks.front(),
            B::codeBlock(std::nullopt, "plain"));
}

}  // namespace
}  // namespace MarkdownRender
