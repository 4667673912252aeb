#include "MarkdownRender/model/common_mark_node.h"

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>

#include <algorithm>
#include <cstring>
#include <list>
#include <mutex>
#include <string_view>
#include <utility>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/model/inline.h"
#include "MarkdownRender/model/nesting_depth.h"
#include "MarkdownRender/model/node_arena.h"
#include "MarkdownRender/model/parse_blocks.h"
#include "MarkdownRender/model/tree_memory.h"
#include "platform/foundation/utf16.h"

namespace MarkdownRender {

const std::unordered_set<CommonMarkExtension>& CommonMarkExtension::enabledSet() {
  static const std::unordered_set<CommonMarkExtension> extensions{autolink, strikethrough, table, tagfilter,
                                                                  tasklist};
  return extensions;
}

namespace {

void freeIfDocument(cmark_node* node) {
  if (node != nullptr && cmark_node_get_type(node) == CMARK_NODE_DOCUMENT) cmark_node_free(node);
}

using ParserPointer = std::unique_ptr<cmark_parser, decltype(&cmark_parser_free)>;
using IteratorPointer = std::unique_ptr<cmark_iter, decltype(&cmark_iter_free)>;

std::string_view typeString(cmark_node* node) {
  const char* name = cmark_node_get_type_string(node);
  return name != nullptr ? std::string_view(name) : std::string_view();
}

std::string literal(cmark_node* node) {
  const char* text = cmark_node_get_literal(node);
  return text != nullptr ? std::string(text) : std::string();
}

std::string url(cmark_node* node) {
  const char* text = cmark_node_get_url(node);
  return text != nullptr ? std::string(text) : std::string();
}

template <class Visit>
void forEachChild(cmark_node* node, Visit&& visit) {
  for (cmark_node* child = cmark_node_first_child(node); child != nullptr; child = cmark_node_next(child)) {
    visit(child);
  }
}

// Asks the processor for a node's memory ahead of its use.
void prefetchNode(cmark_node* node) {
  if (node == nullptr) return;
  const auto* bytes = reinterpret_cast<const char*>(node);
  __builtin_prefetch(bytes);
  __builtin_prefetch(bytes + 64);
  __builtin_prefetch(bytes + 128);
}

// Asks for the memory that follows a node. The library makes nodes in reading order (a block's inlines one
// after another), and the tree's memory is handed out in the order it is asked for, so the nodes still to
// be read mostly lie in the few hundred bytes past the one being read; following `next` pointers alone
// would find each of them only when it is needed.
void prefetchFollowing(cmark_node* node) {
  const auto* bytes = reinterpret_cast<const char*>(node);
  for (int line = 4; line < 12; ++line) __builtin_prefetch(bytes + 64 * line);
}

// Like `forEachChild`, fetching ahead: a long reply's tree is larger than the caches, and its nodes are
// reached only through each other. While one child is visited, the sibling after the next one, the first
// child of the next one and the memory past the child are on their way, the next sibling having been
// asked for a step earlier.
template <class Visit>
void forEachChildAhead(cmark_node* node, Visit&& visit) {
  cmark_node* child = cmark_node_first_child(node);
  cmark_node* next = child != nullptr ? cmark_node_next(child) : nullptr;
  prefetchNode(next);
  while (child != nullptr) {
    prefetchFollowing(child);
    if (next != nullptr) {
      prefetchNode(cmark_node_next(next));
      prefetchNode(cmark_node_first_child(next));
    }
    visit(child);
    child = next;
    next = child != nullptr ? cmark_node_next(child) : nullptr;
  }
}

bool hasTaskItems(cmark_node* list) {
  bool found = false;
  forEachChild(list, [&](cmark_node* child) {
    found = found || (cmark_node_get_type(child) == CMARK_NODE_ITEM && typeString(child) == "tasklist");
  });
  return found;
}

// The text of a subtree without any markup, whatever its depth: the texts of its paragraphs, headings,
// code and HTML blocks and table cells, joined by line feeds. Walks with the library's iterator, which
// keeps no stack of its own, so a tree of any depth is read in constant stack space.
std::string plainTextOfSubtree(cmark_node* root) {
  std::vector<std::string> pieces;
  bool inPiece = false;
  auto currentPiece = [&]() -> std::string& {
    if (!inPiece) {
      pieces.emplace_back();
      inPiece = true;
    }
    return pieces.back();
  };
  IteratorPointer iterator(cmark_iter_new(root), &cmark_iter_free);
  if (!iterator) return {};
  for (auto event = cmark_iter_next(iterator.get()); event != CMARK_EVENT_DONE;
       event = cmark_iter_next(iterator.get())) {
    if (event != CMARK_EVENT_ENTER) continue;
    cmark_node* node = cmark_iter_get_node(iterator.get());
    switch (cmark_node_get_type(node)) {
      case CMARK_NODE_PARAGRAPH:
      case CMARK_NODE_HEADING:
        inPiece = false;
        break;
      case CMARK_NODE_CODE_BLOCK:
      case CMARK_NODE_HTML_BLOCK: {
        std::string text = literal(node);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        pieces.push_back(std::move(text));
        inPiece = false;
        break;
      }
      case CMARK_NODE_TEXT:
      case CMARK_NODE_CODE:
      case CMARK_NODE_HTML_INLINE:
        currentPiece() += literal(node);
        break;
      case CMARK_NODE_SOFTBREAK:
        currentPiece() += ' ';
        break;
      case CMARK_NODE_LINEBREAK:
        currentPiece() += '\n';
        break;
      default:
        if (typeString(node) == "table_cell") inPiece = false;
        break;
    }
  }
  std::string text;
  for (const auto& piece : pieces) {
    if (piece.empty()) continue;
    if (!text.empty()) text += '\n';
    text += piece;
  }
  return text;
}

std::size_t childCount(cmark_node* node) {
  std::size_t count = 0;
  forEachChild(node, [&](cmark_node*) { ++count; });
  return count;
}

std::optional<TextTableColumnAlignment> columnAlignment(const std::string& letter) {
  if (letter == "l") return TextTableColumnAlignment::leading;
  if (letter == "c") return TextTableColumnAlignment::center;
  if (letter == "r") return TextTableColumnAlignment::trailing;
  return std::nullopt;
}

// Converts the nodes of one tree. The conversion descends once per level of the model; `depthBudget` is
// how many levels of blocks and inlines the result may still have, itself included. What does not fit is
// kept as plain text, read without recursion, so neither the conversion nor the model it makes is deeper
// than the budget. Every node it makes is placed in the arena of the document being converted.
class Conversion {
 public:
  explicit Conversion(detail::NodeArena& arena) : arena_(arena) {}

  // The children as inlines. They are gathered on a stack shared by every level (each level takes what
  // it pushed before returning), so each list is made once at its final size, in one pass over the
  // siblings.
  std::vector<Inline> inlinesOfChildren(cmark_node* node, int depthBudget) {
    const std::size_t mark = inlineStack_.size();
    forEachChildAhead(node, [&](cmark_node* child) {
      if (auto converted = convertInline(child, depthBudget)) inlineStack_.push_back(std::move(*converted));
    });
    return takenFrom(inlineStack_, mark);
  }

  // The children as blocks, gathered like the inlines.
  std::vector<Block> blocksOfChildren(cmark_node* node, int depthBudget) {
    const std::size_t mark = blockStack_.size();
    forEachChildAhead(node, [&](cmark_node* child) {
      if (auto converted = convertBlock(child, depthBudget)) blockStack_.push_back(std::move(*converted));
    });
    return takenFrom(blockStack_, mark);
  }

  std::optional<Inline> convertInline(cmark_node* node, int depthBudget) {
    const auto type = cmark_node_get_type(node);
    switch (type) {
      case CMARK_NODE_TEXT:
        return Inline(Inline::Text{literal(node)}, arena_);
      case CMARK_NODE_SOFTBREAK:
        return Inline(Inline::SoftBreak{}, arena_);
      case CMARK_NODE_LINEBREAK:
        return Inline(Inline::LineBreak{}, arena_);
      case CMARK_NODE_CODE:
        return Inline(Inline::Code{literal(node)}, arena_);
      case CMARK_NODE_HTML_INLINE:
        return Inline(Inline::HTML{literal(node)}, arena_);
      default:
        break;
    }
    // The extension's type is known by its name only, which is asked for last.
    const bool hasChildren = type == CMARK_NODE_EMPH || type == CMARK_NODE_STRONG ||
                             type == CMARK_NODE_LINK || type == CMARK_NODE_IMAGE ||
                             typeString(node) == "strikethrough";
    if (!hasChildren) return std::nullopt;
    if (depthBudget <= 1) return Inline(Inline::Text{plainTextOfSubtree(node)}, arena_);
    auto children = inlinesOfChildren(node, depthBudget - 1);
    if (type == CMARK_NODE_EMPH) return Inline(Inline::Emphasis{std::move(children)}, arena_);
    if (type == CMARK_NODE_STRONG) return Inline(Inline::Strong{std::move(children)}, arena_);
    if (type == CMARK_NODE_LINK) return Inline(Inline::Link{url(node), std::move(children)}, arena_);
    if (type == CMARK_NODE_IMAGE) return Inline(Inline::ImageNode{url(node), std::move(children)}, arena_);
    return Inline(Inline::Strikethrough{std::move(children)}, arena_);
  }

  std::optional<Block> convertBlock(cmark_node* node, int depthBudget) {
    const auto type = cmark_node_get_type(node);
    const bool holdsBlocks = type == CMARK_NODE_BLOCK_QUOTE || type == CMARK_NODE_LIST;
    // A container of blocks needs two levels at least for what it holds (a paragraph and its text).
    if (holdsBlocks && depthBudget <= 2) return Block::paragraph({Inline::text(plainTextOfSubtree(node))});
    switch (type) {
      case CMARK_NODE_BLOCK_QUOTE:
        return Block(Block::Blockquote{blocksOfChildren(node, depthBudget - 1)}, arena_);
      case CMARK_NODE_LIST:
        return convertList(node, depthBudget);
      case CMARK_NODE_CODE_BLOCK: {
        const char* info = cmark_node_get_fence_info(node);
        return Block(Block::CodeBlock{info != nullptr ? std::optional<std::string>(info) : std::nullopt,
                                      literal(node)},
                     arena_);
      }
      case CMARK_NODE_HTML_BLOCK:
        return Block(Block::HTMLBlock{literal(node)}, arena_);
      case CMARK_NODE_PARAGRAPH:
        return Block(Block::Paragraph{inlinesOfChildren(node, depthBudget - 1)}, arena_);
      case CMARK_NODE_HEADING:
        return Block(
            Block::Heading{cmark_node_get_heading_level(node), inlinesOfChildren(node, depthBudget - 1)},
            arena_);
      case CMARK_NODE_THEMATIC_BREAK:
        return Block(Block::ThematicBreak{}, arena_);
      default:
        if (typeString(node) == "table") return convertTable(node, depthBudget);
        return std::nullopt;
    }
  }

 private:
  template <class Value>
  static std::vector<Value> takenFrom(std::vector<Value>& stack, std::size_t mark) {
    const auto first = stack.begin() + static_cast<std::ptrdiff_t>(mark);
    std::vector<Value> taken(std::make_move_iterator(first), std::make_move_iterator(stack.end()));
    stack.erase(first, stack.end());
    return taken;
  }

  template <class Item, class MakeItem>
  static std::vector<Item> itemsOfList(cmark_node* list, MakeItem&& makeItem) {
    std::vector<Item> items;
    items.reserve(childCount(list));
    forEachChild(list, [&](cmark_node* child) {
      if (cmark_node_get_type(child) == CMARK_NODE_ITEM) items.push_back(makeItem(child));
    });
    return items;
  }

  std::optional<Block> convertList(cmark_node* node, int depthBudget) {
    const bool tight = cmark_node_get_list_tight(node) != 0;
    if (hasTaskItems(node)) {
      auto items = itemsOfList<TaskListItem>(node, [&](cmark_node* item) {
        return TaskListItem(cmark_gfm_extensions_get_tasklist_item_checked(item),
                            blocksOfChildren(item, depthBudget - 1));
      });
      return Block(Block::TaskList{tight, std::move(items)}, arena_);
    }
    auto listItem = [&](cmark_node* item) { return ListItem(blocksOfChildren(item, depthBudget - 1)); };
    switch (cmark_node_get_list_type(node)) {
      case CMARK_BULLET_LIST:
        return Block(Block::BulletedList{tight, itemsOfList<ListItem>(node, listItem)}, arena_);
      case CMARK_ORDERED_LIST:
        return Block(Block::NumberedList{tight, cmark_node_get_list_start(node),
                                         itemsOfList<ListItem>(node, listItem)},
                     arena_);
      default:
        return std::nullopt;
    }
  }

  Block convertTable(cmark_node* node, int depthBudget) {
    std::vector<std::optional<TextTableColumnAlignment>> alignments;
    for (const auto& letter : CommonMarkNode(node).tableColumnAlignments()) {
      alignments.push_back(columnAlignment(letter));
    }
    std::vector<TableRow> rows;
    rows.reserve(childCount(node));
    forEachChild(node, [&](cmark_node* rowNode) {
      const auto rowType = typeString(rowNode);
      if (rowType != "table_row" && rowType != "table_header") return;
      TableRow row;
      row.reserve(childCount(rowNode));
      forEachChild(rowNode, [&](cmark_node* cellNode) {
        if (typeString(cellNode) == "table_cell") row.push_back(inlinesOfChildren(cellNode, depthBudget - 1));
      });
      rows.push_back(std::move(row));
    });
    return Block(Block::Table{std::move(alignments), std::move(rows)}, arena_);
  }

  detail::NodeArena& arena_;
  std::vector<Inline> inlineStack_;
  std::vector<Block> blockStack_;
};

}  // namespace

CommonMarkNode::CommonMarkNode(cmark_node* node) {
  if (node != nullptr && cmark_node_get_type(node) == CMARK_NODE_DOCUMENT) {
    node_ = std::shared_ptr<cmark_node>(node, &freeIfDocument);
  } else {
    node_ = std::shared_ptr<cmark_node>(std::shared_ptr<cmark_node>(), node);
  }
}

namespace {

// Whether the text is valid UTF-8. Replies are mostly ASCII, so runs of it are passed over eight bytes at a
// time, and only the other sequences are decoded.
bool isValidUtf8(std::string_view text) {
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  std::size_t position = 0;
  while (position < text.size()) {
    if (position + 8 <= text.size()) {
      std::uint64_t word;
      std::memcpy(&word, text.data() + position, sizeof word);
      if ((word & kHighBits) == 0) {
        position += 8;
        continue;
      }
    }
    if (static_cast<unsigned char>(text[position]) < 0x80) {
      ++position;
      continue;
    }
    const std::size_t length = foundation::validUtf8SequenceLength(text, position);
    if (length == 0) return false;
    position += length;
  }
  return true;
}

// The inline parser's table of special characters is one process-wide array that the extensions change
// during every parse (the table extension for each row), so two parses at once would see each other's
// characters: this lock serialises every parse, from the parser's creation to its release.
std::mutex& parsingLock() {
  static std::mutex parsing;
  return parsing;
}

// The document the library parses from a text, its nodes made with `memory`; the caller holds
// `parsingLock()`. Null when the library gives no document.
cmark_node* parsedTree(std::string_view text, const std::unordered_set<CommonMarkExtension>& extensions,
                       std::int32_t options, cmark_mem* memory) {
  // The library fills its process-wide extension registry without a lock of its own, so the first
  // registration is serialised here; afterwards the registry is only read.
  static std::once_flag registration;
  std::call_once(registration, [] { cmark_gfm_core_extensions_ensure_registered(); });
  // The library passes invalid UTF-8 through to the literals it makes; a reply is decoded as the text
  // it would be shown as, with U+FFFD for each invalid sequence.
  std::string sanitized;
  if (!isValidUtf8(text)) {
    sanitized = foundation::sanitizedUtf8(text);
    text = sanitized;
  }
  ParserPointer parser(cmark_parser_new_with_mem(options, memory), &cmark_parser_free);
  if (!parser) return nullptr;
  for (const auto& extension : extensions) {
    if (cmark_syntax_extension* found = cmark_find_syntax_extension(extension.rawValue.c_str())) {
      cmark_parser_attach_syntax_extension(parser.get(), found);
    }
  }
  cmark_parser_feed(parser.get(), text.data(), text.size());
  return cmark_parser_finish(parser.get());
}

}  // namespace

std::optional<CommonMarkNode> CommonMarkNode::parsedDocument(
    std::string_view text, const std::unordered_set<CommonMarkExtension>& extensions, std::int32_t options) {
  cmark_node* document = nullptr;
  {
    // Walking and freeing a tree made with the library's ordinary allocator touch no shared state and run
    // outside the lock.
    std::lock_guard lock(parsingLock());
    document = parsedTree(text, extensions, options, cmark_get_default_mem_allocator());
  }
  if (document == nullptr) return std::nullopt;
  return CommonMarkNode(document);
}

std::string CommonMarkNode::typeString() const { return std::string(MarkdownRender::typeString(pointer())); }

std::vector<CommonMarkNode> CommonMarkNode::children() const {
  std::vector<CommonMarkNode> children;
  forEachChild(pointer(), [&](cmark_node* child) {
    children.push_back(CommonMarkNode(std::shared_ptr<cmark_node>(node_, child)));
  });
  return children;
}

bool CommonMarkNode::hasTaskItems() const { return MarkdownRender::hasTaskItems(pointer()); }

std::vector<std::string> CommonMarkNode::tableColumnAlignments() const {
  std::vector<std::string> alignments;
  const auto columns = cmark_gfm_extensions_get_table_columns(pointer());
  const std::uint8_t* letters = cmark_gfm_extensions_get_table_alignments(pointer());
  if (letters == nullptr) return alignments;
  for (std::uint16_t column = 0; column < columns; ++column) {
    alignments.emplace_back(1, static_cast<char>(letters[column]));
  }
  return alignments;
}

std::optional<Block> Block::fromCmarkNode(const CommonMarkNode& node) {
  detail::NodeArenaHold hold;
  return Conversion(hold.arena()).convertBlock(node.pointer(), maximumNestingDepth);
}

std::optional<Inline> Inline::fromCmarkNode(const CommonMarkNode& node) {
  detail::NodeArenaHold hold;
  return Conversion(hold.arena()).convertInline(node.pointer(), maximumNestingDepth);
}

namespace {

// A text's blocks, and where the last of them begins.
struct ParsedBlocks {
  std::vector<Block> blocks;
  // How many of the blocks come before the last top-level block of the text, which is the only one a
  // text appended to this one can change (a lazy continuation line, a setext underline, a fence or an
  // HTML block closed later, one more list item or quoted line: each goes to the block still open), or
  // before the last two when the last begins on a line not yet ended (see `parsedBlocks`).
  std::size_t settledBlocks = 0;
  // The byte offset of the line the first of those blocks begins on; 0 when there is none.
  std::size_t lastBlockOffset = 0;
};

// The byte offset at which a line begins (numbered from 1), counting line endings as the library does:
// a line feed, a carriage return, or the two together.
std::size_t offsetOfLine(std::string_view text, int line) {
  std::size_t position = 0;
  for (int current = 1; current < line && position < text.size(); ++current) {
    const std::size_t end = text.find_first_of("\r\n", position);
    if (end == std::string_view::npos) return text.size();
    position = end + 1;
    if (text[end] == '\r' && position < text.size() && text[position] == '\n') ++position;
  }
  return position;
}

// The blocks of a text, parsed whole; where the last of them begins is worked out only when asked for.
ParsedBlocks parsedBlocks(std::string_view markdown, bool locateLastBlock) {
  // The tree lives only for the conversion, so the library makes it in memory that hands out space without
  // searching the heap and takes the whole tree back at once. That memory is one pool for the process, so
  // the conversion runs under the parsing lock too, and the pool is emptied before the lock is let go.
  std::lock_guard lock(parsingLock());
  struct TreeMemoryReset {
    ~TreeMemoryReset() { detail::resetTreeMemory(); }
  } reset;
  cmark_node* document =
      parsedTree(markdown, CommonMarkExtension::enabledSet(), CMARK_OPT_DEFAULT, detail::treeMemory());
  if (document == nullptr) return {};
  // The first chunk is sized below what the model of most texts takes (running text about twenty bytes for
  // each byte, code and tables far less), so that the arena of a short text grows as it needs to rather
  // than keeps much room unused.
  detail::NodeArenaHold hold(markdown.size() * 8);
  Conversion conversion(hold.arena());
  ParsedBlocks parsed;
  // Where each block begins that starts below every line of the blocks before it; any other block is
  // taken to begin where the one before it does. The table extension gives a paragraph that it leaves
  // before a table no position, and the table its paragraph's first line: a block without a position is
  // taken with the one before it, and the block after it with it.
  struct Start {
    std::size_t blocksBefore = 0;
    int line = 0;  // 0: the start of the text
  };
  Start last;
  Start beforeLast;
  int linesTaken = 0;
  bool afterUnplacedBlock = false;
  forEachChildAhead(document, [&](cmark_node* child) {
    const int startLine = cmark_node_get_start_line(child);
    if (startLine > linesTaken && !afterUnplacedBlock) {
      beforeLast = last;
      last = {parsed.blocks.size(), startLine};
    }
    afterUnplacedBlock = startLine <= 0;
    linesTaken = std::max({linesTaken, startLine, cmark_node_get_end_line(child)});
    if (auto block = conversion.convertBlock(child, maximumNestingDepth)) {
      parsed.blocks.push_back(std::move(*block));
    }
  });
  // A line not yet ended may still change what it is, and with it whether it ended the block before: a
  // `3` after a numbered list is a paragraph that closes the list, a `3.` goes on with the list. A block
  // that begins on such a line is therefore taken together with the one before it.
  if (!locateLastBlock) return parsed;
  std::size_t offset = last.line > 0 ? offsetOfLine(markdown, last.line) : 0;
  if (last.line > 0 && markdown.find_first_of("\r\n", offset) == std::string_view::npos) {
    last = beforeLast;
    offset = last.line > 0 ? offsetOfLine(markdown, last.line) : 0;
  }
  parsed.settledBlocks = last.blocksBefore;
  parsed.lastBlockOffset = offset;
  return parsed;
}

// Whether a text could hold a link reference definition or a footnote definition, which act on the
// whole document: every such definition has a label closed by `]:`, and a footnote's label opens with
// `[^`.
bool mayDefineReferences(std::string_view text) {
  return text.find("]:") != std::string_view::npos || text.find("[^") != std::string_view::npos;
}

// A text this thread parsed, kept so that a later text that extends it, as a streamed reply does, is
// parsed from the start of the last block only, and the same text again is not parsed at all.
struct LastParse {
  std::string text;
  ParsedBlocks parsed;
  // Whether a longer text may reuse the blocks before the last: never when this text could define a
  // reference that a later block would use.
  bool extendable = false;
};

// The texts this thread parsed last, the most recent first. A chat shows several messages and evaluates
// their views one after another, so one remembered text would be replaced by each message in turn and
// the growing reply parsed whole every time; a few dozen texts serve a whole conversation. Bounded by
// count and by their bytes, since each keeps its blocks alive.
class RecentParses {
 public:
  static constexpr std::size_t kMaximumCount = 64;
  static constexpr std::size_t kMaximumBytes = 2 * 1024 * 1024;

  // The kept parse of exactly this text, or else the longest kept text that this one begins with; moved
  // to the front. Nothing when no kept text is either.
  LastParse* find(std::string_view markdown) {
    auto best = entries_.end();
    for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
      const std::string& text = entry->text;
      if (text.size() > markdown.size()) continue;
      if (best != entries_.end() && text.size() <= best->text.size()) continue;
      if (!markdown.starts_with(text)) continue;
      best = entry;
      if (text.size() == markdown.size()) break;
    }
    if (best == entries_.end()) return nullptr;
    entries_.splice(entries_.begin(), entries_, best);
    return &entries_.front();
  }

  // A new entry at the front, the oldest ones let go while the kept texts are over their bounds.
  LastParse& add() {
    entries_.emplace_front();
    return entries_.front();
  }

  // Lets go of the oldest entries (never the newest) while there are too many or their texts hold too
  // many bytes.
  void trim() {
    std::size_t bytes = 0;
    std::size_t count = 0;
    for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
      bytes += entry->text.size();
      if (++count > 1 && (count > kMaximumCount || bytes > kMaximumBytes)) {
        entries_.erase(entry, entries_.end());
        return;
      }
    }
  }

 private:
  std::list<LastParse> entries_;
};

RecentParses& recentParses() {
  thread_local RecentParses recent;
  return recent;
}

// Whether `markdown` extends the kept text by what leaves the settled blocks as they are: it begins with
// the kept text, and neither that text nor what is appended could define a reference.
bool extendsLastParse(const LastParse& last, std::string_view markdown) {
  if (!last.extendable || markdown.size() < last.text.size() || !markdown.starts_with(last.text)) {
    return false;
  }
  // From the last character of the old text, so that a `]` or `[` it ends with is seen with what follows.
  const std::size_t from = last.text.empty() ? 0 : last.text.size() - 1;
  if (mayDefineReferences(markdown.substr(from))) return false;
  // A byte order mark is skipped only at the start of a document, so a tail that starts with one would
  // not parse as it does in the middle of the text.
  return !markdown.substr(last.parsed.lastBlockOffset).starts_with("\xEF\xBB\xBF");
}

// Gives each new block that equals the block an earlier parse had at its place (`blocks` standing from
// `offset` on in `earlier`) that very block. Views keep what they showed while their blocks compare
// equal, so a block parsed again unchanged (the block that was last until more text followed it) would
// otherwise be compared in full with the one they hold at every later update; the same storage compares
// at the cost of a pointer.
void keepUnchangedBlocks(const std::vector<Block>& earlier, std::size_t offset, std::vector<Block>& blocks) {
  for (std::size_t i = 0; i < blocks.size() && offset + i < earlier.size(); ++i) {
    if (blocks[i] == earlier[offset + i]) blocks[i] = earlier[offset + i];
  }
}

}  // namespace

std::vector<Block> parseBlocks(std::string_view markdown) {
  return parsedBlocks(markdown, /*locateLastBlock=*/false).blocks;
}

std::vector<Block> parseGrowingBlocks(std::string_view markdown) {
  RecentParses& recent = recentParses();
  LastParse* kept = recent.find(markdown);
  if (kept && kept->text.size() == markdown.size()) return kept->parsed.blocks;
  if (kept && extendsLastParse(*kept, markdown)) {
    LastParse& last = *kept;
    // The settled blocks are kept; the text from the line the last block begins on is parsed as a
    // document of its own and its blocks take the last block's place.
    const std::size_t tailOffset = last.parsed.lastBlockOffset;
    ParsedBlocks tail = parsedBlocks(markdown.substr(tailOffset), /*locateLastBlock=*/true);
    // Not extendable while it changes, so that a failure halfway leaves nothing to build on.
    last.extendable = false;
    auto& blocks = last.parsed.blocks;
    const std::size_t settled = last.parsed.settledBlocks;
    keepUnchangedBlocks(blocks, settled, tail.blocks);
    blocks.erase(blocks.begin() + static_cast<std::ptrdiff_t>(settled), blocks.end());
    blocks.insert(blocks.end(), std::make_move_iterator(tail.blocks.begin()),
                  std::make_move_iterator(tail.blocks.end()));
    last.parsed.settledBlocks += tail.settledBlocks;
    last.parsed.lastBlockOffset = tailOffset + tail.lastBlockOffset;
    last.text.append(markdown.substr(last.text.size()));
    last.extendable = true;
    recent.trim();
    return blocks;
  }
  // A text that extends a kept one which cannot be built on replaces it: the shorter text was most
  // likely this one's earlier state.
  LastParse& last = kept ? *kept : recent.add();
  last.extendable = false;
  ParsedBlocks parsed = parsedBlocks(markdown, /*locateLastBlock=*/true);
  if (kept) keepUnchangedBlocks(last.parsed.blocks, 0, parsed.blocks);
  last.parsed = std::move(parsed);
  last.text.assign(markdown);
  last.extendable = !mayDefineReferences(markdown);
  recent.trim();
  return last.parsed.blocks;
}

}  // namespace MarkdownRender
