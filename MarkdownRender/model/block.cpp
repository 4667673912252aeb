#include "MarkdownRender/model/block.h"

#include <algorithm>
#include <type_traits>
#include <utility>

#include "MarkdownRender/model/hash_combine.h"
#include "MarkdownRender/model/nesting_depth.h"
#include "MarkdownRender/model/node_arena.h"

namespace MarkdownRender {

// As for inlines, the hash and whether a picture lies anywhere inside are worked out once, when the
// value is built from values that already know theirs.
struct Block::Storage {
  Value value;
  int depth;
  std::size_t hash;
  bool holdsPictures;
};

namespace {

template <class Case>
constexpr bool holdsItems = requires(const Case& c) {
  c.items;
};

int maximumDepth(const std::vector<ListItem>& items) {
  int depth = 0;
  for (const auto& item : items) depth = std::max(depth, detail::maximumDepth(item.blocks));
  return depth;
}

int maximumDepth(const std::vector<TaskListItem>& items) {
  int depth = 0;
  for (const auto& item : items) depth = std::max(depth, detail::maximumDepth(item.blocks));
  return depth;
}

int maximumDepth(const std::vector<TableRow>& rows) {
  int depth = 0;
  for (const auto& row : rows) {
    for (const auto& cell : row) depth = std::max(depth, detail::maximumDepth(cell));
  }
  return depth;
}

// Depth of what a payload holds (0 when it holds no blocks or inlines).
int contentDepth(const Block::Value& value) {
  return std::visit(
      [](const auto& payload) -> int {
        using Case = std::decay_t<decltype(payload)>;
        if constexpr (std::is_same_v<Case, Block::Blockquote>) {
          return detail::maximumDepth(payload.blocks);
        } else if constexpr (holdsItems<Case>) {
          return maximumDepth(payload.items);
        } else if constexpr (std::is_same_v<Case, Block::Paragraph>) {
          return detail::maximumDepth(payload.inlines);
        } else if constexpr (std::is_same_v<Case, Block::Heading>) {
          return detail::maximumDepth(payload.text);
        } else if constexpr (std::is_same_v<Case, Block::Table>) {
          return maximumDepth(payload.rows);
        } else {
          return 0;
        }
      },
      value);
}

// Whether the case holds further blocks (rather than inlines or literal text).
bool holdsBlocks(const Block::Value& value) {
  return std::holds_alternative<Block::Blockquote>(value) || std::holds_alternative<Block::TaskList>(value) ||
         std::holds_alternative<Block::BulletedList>(value) ||
         std::holds_alternative<Block::NumberedList>(value);
}

// The payload with what it holds limited to `depthBudget` levels.
Block::Value contentLimitedToDepth(Block::Value value, int depthBudget) {
  std::visit(
      [&](auto& payload) {
        using Case = std::decay_t<decltype(payload)>;
        if constexpr (std::is_same_v<Case, Block::Blockquote>) {
          payload.blocks = blocksLimitedToDepth(payload.blocks, depthBudget);
        } else if constexpr (holdsItems<Case>) {
          for (auto& item : payload.items) item.blocks = blocksLimitedToDepth(item.blocks, depthBudget);
        } else if constexpr (std::is_same_v<Case, Block::Paragraph>) {
          payload.inlines = inlinesLimitedToDepth(payload.inlines, depthBudget);
        } else if constexpr (std::is_same_v<Case, Block::Heading>) {
          payload.text = inlinesLimitedToDepth(payload.text, depthBudget);
        } else if constexpr (std::is_same_v<Case, Block::Table>) {
          for (auto& row : payload.rows) {
            for (auto& cell : row) cell = inlinesLimitedToDepth(cell, depthBudget);
          }
        }
      },
      value);
  return value;
}

// Appends the texts of the text-bearing blocks (paragraphs, headings, code and HTML blocks, table cells)
// of a block, one piece each.
void collectTextPieces(const Block& block, std::vector<std::string>& pieces) {
  auto addPiece = [&](std::string piece) {
    if (!piece.empty()) pieces.push_back(std::move(piece));
  };
  block.visit([&](const auto& payload) {
    using Case = std::decay_t<decltype(payload)>;
    if constexpr (std::is_same_v<Case, Block::Blockquote>) {
      for (const auto& inner : payload.blocks) collectTextPieces(inner, pieces);
    } else if constexpr (holdsItems<Case>) {
      for (const auto& item : payload.items) {
        for (const auto& inner : item.blocks) collectTextPieces(inner, pieces);
      }
    } else if constexpr (std::is_same_v<Case, Block::CodeBlock> || std::is_same_v<Case, Block::HTMLBlock>) {
      std::string text = payload.content;
      if (!text.empty() && text.back() == '\n') text.pop_back();
      addPiece(std::move(text));
    } else if constexpr (std::is_same_v<Case, Block::Paragraph>) {
      addPiece(plainText(payload.inlines));
    } else if constexpr (std::is_same_v<Case, Block::Heading>) {
      addPiece(plainText(payload.text));
    } else if constexpr (std::is_same_v<Case, Block::Table>) {
      for (const auto& row : payload.rows) {
        for (const auto& cell : row) addPiece(plainText(cell));
      }
    }
  });
}

}  // namespace

ListItem::ListItem(std::vector<Block> blocks) : blocks(std::move(blocks)) {}
bool ListItem::operator==(const ListItem& other) const { return blocks == other.blocks; }

TaskListItem::TaskListItem(bool isCompleted, std::vector<Block> blocks)
    : isCompleted(isCompleted), blocks(std::move(blocks)) {}
bool TaskListItem::operator==(const TaskListItem& other) const {
  return isCompleted == other.isCompleted && blocks == other.blocks;
}

bool Block::Blockquote::operator==(const Blockquote& other) const { return blocks == other.blocks; }

namespace {

// The depth of a block with this payload, the payload limited first when it would pass the cap.
int limitedDepth(Block::Value& value) {
  int innerDepth = contentDepth(value);
  if (innerDepth + 1 > maximumNestingDepth) {
    value = contentLimitedToDepth(std::move(value), maximumNestingDepth - 1);
    innerDepth = contentDepth(value);
  }
  return innerDepth + 1;
}

}  // namespace

namespace {

void hashBlocks(std::size_t& seed, const std::vector<Block>& blocks) {
  detail::hashCombine(seed, blocks.size());
  for (const auto& block : blocks) detail::hashCombine(seed, block.hashValue());
}

template <class Item>
void hashItems(std::size_t& seed, const std::vector<Item>& items) {
  detail::hashCombine(seed, items.size());
  for (const auto& item : items) detail::hashCombine(seed, std::hash<Item>{}(item));
}

std::size_t hashOf(const Block::Value& value) {
  using detail::hashCombine;
  using detail::hashInlines;
  std::size_t seed = value.index();
  std::visit(
      [&](const auto& payload) {
        using Case = std::decay_t<decltype(payload)>;
        if constexpr (std::is_same_v<Case, Block::Blockquote>) {
          hashBlocks(seed, payload.blocks);
        } else if constexpr (std::is_same_v<Case, Block::NumberedList>) {
          hashCombine(seed, payload.tight);
          detail::hashValue(seed, payload.start);
          hashItems(seed, payload.items);
        } else if constexpr (holdsItems<Case>) {
          hashCombine(seed, payload.tight);
          hashItems(seed, payload.items);
        } else if constexpr (std::is_same_v<Case, Block::CodeBlock>) {
          hashCombine(seed, payload.info.has_value());
          if (payload.info) detail::hashValue(seed, *payload.info);
          detail::hashValue(seed, payload.content);
        } else if constexpr (std::is_same_v<Case, Block::HTMLBlock>) {
          detail::hashValue(seed, payload.content);
        } else if constexpr (std::is_same_v<Case, Block::Paragraph>) {
          hashInlines(seed, payload.inlines);
        } else if constexpr (std::is_same_v<Case, Block::Heading>) {
          detail::hashValue(seed, payload.level);
          hashInlines(seed, payload.text);
        } else if constexpr (std::is_same_v<Case, Block::Table>) {
          hashCombine(seed, payload.columnAlignments.size());
          for (const auto& alignment : payload.columnAlignments) {
            hashCombine(seed, alignment.has_value());
            if (alignment) hashCombine(seed, static_cast<std::size_t>(*alignment));
          }
          hashCombine(seed, payload.rows.size());
          for (const auto& row : payload.rows) {
            hashCombine(seed, row.size());
            for (const auto& cell : row) hashInlines(seed, cell);
          }
        }
      },
      value);
  return seed;
}

bool holdPictures(const std::vector<Block>& blocks) {
  return std::any_of(blocks.begin(), blocks.end(), [](const Block& block) { return block.holdsPictures(); });
}

template <class Item>
bool holdPictures(const std::vector<Item>& items) {
  return std::any_of(items.begin(), items.end(), [](const Item& item) { return holdPictures(item.blocks); });
}

bool hasPicturesInside(const Block::Value& value) {
  return std::visit(
      [](const auto& payload) {
        using Case = std::decay_t<decltype(payload)>;
        if constexpr (std::is_same_v<Case, Block::Blockquote>) {
          return holdPictures(payload.blocks);
        } else if constexpr (holdsItems<Case>) {
          return holdPictures(payload.items);
        } else if constexpr (std::is_same_v<Case, Block::Paragraph>) {
          return detail::holdPictures(payload.inlines);
        } else if constexpr (std::is_same_v<Case, Block::Heading>) {
          return detail::holdPictures(payload.text);
        } else if constexpr (std::is_same_v<Case, Block::Table>) {
          return std::any_of(payload.rows.begin(), payload.rows.end(), [](const TableRow& row) {
            return std::any_of(row.begin(), row.end(),
                               [](const TableCell& cell) { return detail::holdPictures(cell); });
          });
        } else {
          return false;
        }
      },
      value);
}

}  // namespace

Block::Block(Value value) {
  const int depth = limitedDepth(value);
  const std::size_t hash = hashOf(value);
  const bool pictures = hasPicturesInside(value);
  storage_ = std::make_shared<const Storage>(Storage{std::move(value), depth, hash, pictures});
}

Block::Block(Value value, detail::NodeArena& arena) {
  const int depth = limitedDepth(value);
  const std::size_t hash = hashOf(value);
  const bool pictures = hasPicturesInside(value);
  storage_ = std::allocate_shared<Storage>(detail::NodeArenaAllocator<Storage>(arena),
                                           Storage{std::move(value), depth, hash, pictures});
}

Block Block::blockquote(std::vector<Block> blocks) { return Block(Blockquote{std::move(blocks)}); }
Block Block::taskList(bool tight, std::vector<TaskListItem> items) {
  return Block(TaskList{tight, std::move(items)});
}
Block Block::bulletedList(bool tight, std::vector<ListItem> items) {
  return Block(BulletedList{tight, std::move(items)});
}
Block Block::numberedList(bool tight, std::int64_t start, std::vector<ListItem> items) {
  return Block(NumberedList{tight, start, std::move(items)});
}
Block Block::codeBlock(std::optional<std::string> info, std::string content) {
  return Block(CodeBlock{std::move(info), std::move(content)});
}
Block Block::htmlBlock(std::string content) { return Block(HTMLBlock{std::move(content)}); }
Block Block::paragraph(std::vector<Inline> inlines) { return Block(Paragraph{std::move(inlines)}); }
Block Block::heading(std::int64_t level, std::vector<Inline> text) {
  return Block(Heading{level, std::move(text)});
}
Block Block::table(std::vector<std::optional<TextTableColumnAlignment>> columnAlignments,
                   std::vector<TableRow> rows) {
  return Block(Table{std::move(columnAlignments), std::move(rows)});
}
Block Block::thematicBreak() { return Block(ThematicBreak{}); }

const Block::Value& Block::value() const { return storage_->value; }

int Block::depth() const { return storage_->depth; }

std::string Block::plainText() const {
  std::vector<std::string> pieces;
  collectTextPieces(*this, pieces);
  std::string text;
  for (const auto& piece : pieces) {
    if (!text.empty()) text += '\n';
    text += piece;
  }
  return text;
}

std::vector<Block> blocksLimitedToDepth(const std::vector<Block>& blocks, int depthBudget) {
  depthBudget = std::max(depthBudget, 2);
  std::vector<Block> limited;
  limited.reserve(blocks.size());
  for (const auto& block : blocks) {
    if (block.depth() <= depthBudget) {
      limited.push_back(block);
    } else if (holdsBlocks(block.value()) && depthBudget == 2) {
      limited.push_back(Block::paragraph({Inline::text(block.plainText())}));
    } else {
      limited.push_back(Block(contentLimitedToDepth(block.value(), depthBudget - 1)));
    }
  }
  return limited;
}

// Values that hash differently differ, so only values with equal hashes are compared in full.
bool Block::operator==(const Block& other) const {
  return storage_ == other.storage_ || (storage_->hash == other.storage_->hash && value() == other.value());
}

std::size_t Block::hashValue() const { return storage_->hash; }

bool Block::holdsPictures() const { return storage_->holdsPictures; }

namespace detail {

int maximumDepth(const std::vector<Block>& blocks) {
  int depth = 0;
  for (const auto& block : blocks) depth = std::max(depth, block.depth());
  return depth;
}

}  // namespace detail

}  // namespace MarkdownRender

std::size_t std::hash<MarkdownRender::ListItem>::operator()(const MarkdownRender::ListItem& item) const {
  std::size_t seed = 0;
  MarkdownRender::hashBlocks(seed, item.blocks);
  return seed;
}

std::size_t std::hash<MarkdownRender::TaskListItem>::operator()(
    const MarkdownRender::TaskListItem& item) const {
  std::size_t seed = 0;
  MarkdownRender::detail::hashCombine(seed, item.isCompleted);
  MarkdownRender::hashBlocks(seed, item.blocks);
  return seed;
}
