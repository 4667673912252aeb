// The block nodes of the Markdown document model, with list items and table column alignments.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "MarkdownRender/model/inline.h"
#include "platform/ui/color_scheme.h"  // ColorScheme, for the image filter

namespace MarkdownRender {

class Block;
class CommonMarkNode;

enum class TextTableColumnAlignment { leading, center, trailing };

inline constexpr std::array<TextTableColumnAlignment, 3> allTextTableColumnAlignments{
    TextTableColumnAlignment::leading, TextTableColumnAlignment::center, TextTableColumnAlignment::trailing};

namespace detail {
// Defined with the content builder (markdown_content.h), which the builder forms of the items need.
template <class... Components>
std::vector<Block> blocksOfComponents(const Components&... components);
}  // namespace detail

// One item of a bulleted or numbered list.
struct ListItem {
  std::vector<Block> blocks;

  ListItem() = default;
  explicit ListItem(std::vector<Block> blocks);
  // The item of the blocks a block builder lists (see markdown_content.h).
  template <class... Components>
  requires(sizeof...(Components) > 0 &&
           (!std::same_as<Components, Block> && ...)) explicit ListItem(const Components&... components)
      : blocks(detail::blocksOfComponents(components...)) {}

  bool operator==(const ListItem& other) const;
};

// One item of a task list: its box and its content.
struct TaskListItem {
  bool isCompleted = false;
  std::vector<Block> blocks;

  TaskListItem() = default;
  TaskListItem(bool isCompleted, std::vector<Block> blocks);
  // The item of the blocks a block builder lists (see markdown_content.h).
  template <class... Components>
  requires(sizeof...(Components) > 0 && (!std::same_as<Components, Block> && ...))
      TaskListItem(bool isCompleted, const Components&... components)
      : isCompleted(isCompleted), blocks(detail::blocksOfComponents(components...)) {}

  bool operator==(const TaskListItem& other) const;
};

// A table cell is a run of inlines; a row is a list of cells.
using TableCell = std::vector<Inline>;
using TableRow = std::vector<TableCell>;

// An immutable block value, compared and hashed by value. Its storage is shared between copies, so
// copying is cheap. No value is deeper than `maximumNestingDepth` levels of blocks and inlines: the
// factories below keep content that would pass that depth as a paragraph of its plain text (containers of
// blocks) or as plain `text` (inlines with children).
class Block {
 public:
  // The cases, in the order every dispatch over blocks uses.
  enum class Kind {
    blockquote,
    taskList,
    bulletedList,
    numberedList,
    codeBlock,
    htmlBlock,
    paragraph,
    heading,
    table,
    thematicBreak
  };

  struct Blockquote {
    std::vector<Block> blocks;
    bool operator==(const Blockquote&) const;
  };
  struct TaskList {
    bool tight = false;
    std::vector<TaskListItem> items;
    bool operator==(const TaskList&) const = default;
  };
  struct BulletedList {
    bool tight = false;
    std::vector<ListItem> items;
    bool operator==(const BulletedList&) const = default;
  };
  struct NumberedList {
    bool tight = false;
    std::int64_t start = 1;
    std::vector<ListItem> items;
    bool operator==(const NumberedList&) const = default;
  };
  struct CodeBlock {
    std::optional<std::string> info;  // the fence's info string; empty for an indented block
    std::string content;
    bool operator==(const CodeBlock&) const = default;
  };
  struct HTMLBlock {
    std::string content;
    bool operator==(const HTMLBlock&) const = default;
  };
  struct Paragraph {
    std::vector<Inline> inlines;
    bool operator==(const Paragraph&) const = default;
  };
  struct Heading {
    std::int64_t level = 1;
    std::vector<Inline> text;
    bool operator==(const Heading&) const = default;
  };
  struct Table {
    // One per column; absent where the column has no alignment.
    std::vector<std::optional<TextTableColumnAlignment>> columnAlignments;
    // The header row first, then the body rows.
    std::vector<TableRow> rows;
    bool operator==(const Table&) const = default;
  };
  struct ThematicBreak {
    bool operator==(const ThematicBreak&) const = default;
  };

  using Value = std::variant<Blockquote, TaskList, BulletedList, NumberedList, CodeBlock, HTMLBlock,
                             Paragraph, Heading, Table, ThematicBreak>;

  static Block blockquote(std::vector<Block> blocks);
  static Block taskList(bool tight, std::vector<TaskListItem> items);
  static Block bulletedList(bool tight, std::vector<ListItem> items);
  static Block numberedList(bool tight, std::int64_t start, std::vector<ListItem> items);
  static Block codeBlock(std::optional<std::string> info, std::string content);
  static Block htmlBlock(std::string content);
  static Block paragraph(std::vector<Inline> inlines);
  static Block heading(std::int64_t level, std::vector<Inline> text);
  static Block table(std::vector<std::optional<TextTableColumnAlignment>> columnAlignments,
                     std::vector<TableRow> rows);
  static Block thematicBreak();

  // Any payload; a value deeper than `maximumNestingDepth` keeps its deepest levels as plain text.
  explicit Block(Value value);
  // The same value placed in an arena that a parse fills (see node_arena.h).
  Block(Value value, detail::NodeArena& arena);

  // The block for one node of a cmark-gfm tree (converted as the top of a document), or nothing for a
  // node the model has no case for.
  static std::optional<Block> fromCmarkNode(const CommonMarkNode& node);

  Kind kind() const { return static_cast<Kind>(value().index()); }
  const Value& value() const;
  // The payload when the block is of that case, else null.
  template <class Case>
  const Case* as() const {
    return std::get_if<Case>(&value());
  }
  template <class Visitor>
  decltype(auto) visit(Visitor&& visitor) const {
    return std::visit(std::forward<Visitor>(visitor), value());
  }

  // Levels of blocks and inlines in this value, itself included (1 for a block with no blocks or inlines
  // inside; a paragraph of plain text is 2).
  int depth() const;

  // The text of the block without any markup, blocks separated by line feeds; what a block becomes when
  // it lies too deep.
  std::string plainText() const;

  // The block with every picture that is hidden in the colour scheme removed from the inline runs inside
  // it, at any depth. No block, row or cell is ever removed.
  Block filteredForColorScheme(ui::ColorScheme scheme) const;

  // Whether an `image` lies in this block, at any depth.
  bool holdsPictures() const;

  bool operator==(const Block& other) const;
  // Worked out when the value is built, so asking costs nothing.
  std::size_t hashValue() const;

 private:
  struct Storage;
  std::shared_ptr<const Storage> storage_;
};

// The blocks with no level deeper than `depthBudget` (at least 2): containers of blocks that would pass it
// become a paragraph of their plain text, and inline runs are limited to what remains.
std::vector<Block> blocksLimitedToDepth(const std::vector<Block>& blocks, int depthBudget);

namespace detail {
int maximumDepth(const std::vector<Block>& blocks);
}  // namespace detail

}  // namespace MarkdownRender

template <>
struct std::hash<MarkdownRender::Block> {
  std::size_t operator()(const MarkdownRender::Block& block) const { return block.hashValue(); }
};

template <>
struct std::hash<MarkdownRender::ListItem> {
  std::size_t operator()(const MarkdownRender::ListItem& item) const;
};

template <>
struct std::hash<MarkdownRender::TaskListItem> {
  std::size_t operator()(const MarkdownRender::TaskListItem& item) const;
};
