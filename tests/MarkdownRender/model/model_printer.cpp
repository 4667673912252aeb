// Readable descriptions of model values for test failure messages.
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/model/inline.h"

namespace MarkdownRender {
namespace {

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '"') {
      out += "\\\"";
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string describe(const Inline& inline_);
std::string describe(const Block& block);
std::string describe(const std::vector<Inline>& cell);

template <class T>
std::string describeList(const std::vector<T>& values) {
  std::string out = "[";
  for (const auto& value : values) {
    if (out.size() > 1) out += ", ";
    out += describe(value);
  }
  return out + "]";
}

std::string describe(const Inline& inline_) {
  return inline_.visit([](const auto& p) -> std::string {
    using C = std::decay_t<decltype(p)>;
    if constexpr (std::is_same_v<C, Inline::Text>) return "text(" + quoted(p.content) + ")";
    if constexpr (std::is_same_v<C, Inline::Code>) return "code(" + quoted(p.content) + ")";
    if constexpr (std::is_same_v<C, Inline::HTML>) return "html(" + quoted(p.content) + ")";
    if constexpr (std::is_same_v<C, Inline::Emphasis>) return "emphasis" + describeList(p.children);
    if constexpr (std::is_same_v<C, Inline::Strong>) return "strong" + describeList(p.children);
    if constexpr (std::is_same_v<C, Inline::Strikethrough>) return "strikethrough" + describeList(p.children);
    if constexpr (std::is_same_v<C, Inline::Link>) {
      return "link(" + quoted(p.destination) + ")" + describeList(p.children);
    }
    if constexpr (std::is_same_v<C, Inline::ImageNode>) {
      return "image(" + quoted(p.source) + ")" + describeList(p.children);
    }
    if constexpr (std::is_same_v<C, Inline::SoftBreak>) return "softBreak";
    if constexpr (std::is_same_v<C, Inline::LineBreak>) return "lineBreak";
    return "?";
  });
}

std::string describe(const std::vector<Inline>& cell) { return describeList(cell); }

std::string describe(const Block& block) {
  return block.visit([](const auto& p) -> std::string {
    using C = std::decay_t<decltype(p)>;
    if constexpr (std::is_same_v<C, Block::Blockquote>) return "blockquote" + describeList(p.blocks);
    if constexpr (std::is_same_v<C, Block::TaskList>) {
      std::string out = std::string("taskList(tight: ") + (p.tight ? "true" : "false") + ")[";
      for (const auto& item : p.items)
        out += (item.isCompleted ? "[x] " : "[ ] ") + describeList(item.blocks) + " ";
      return out + "]";
    }
    if constexpr (std::is_same_v<C, Block::BulletedList> || std::is_same_v<C, Block::NumberedList>) {
      std::string out = std::is_same_v<C, Block::BulletedList> ? "bulletedList" : "numberedList";
      out += std::string("(tight: ") + (p.tight ? "true" : "false");
      if constexpr (std::is_same_v<C, Block::NumberedList>) out += ", start: " + std::to_string(p.start);
      out += ")[";
      for (const auto& item : p.items) out += describeList(item.blocks) + " ";
      return out + "]";
    }
    if constexpr (std::is_same_v<C, Block::CodeBlock>) {
      return "codeBlock(" + (p.info ? quoted(*p.info) : std::string("nil")) + ", " + quoted(p.content) + ")";
    }
    if constexpr (std::is_same_v<C, Block::HTMLBlock>) return "htmlBlock(" + quoted(p.content) + ")";
    if constexpr (std::is_same_v<C, Block::Paragraph>) return "paragraph" + describeList(p.inlines);
    if constexpr (std::is_same_v<C, Block::Heading>) {
      return "heading(" + std::to_string(p.level) + ")" + describeList(p.text);
    }
    if constexpr (std::is_same_v<C, Block::Table>) {
      std::string out = "table(";
      for (const auto& alignment : p.columnAlignments) {
        out += alignment ? std::to_string(static_cast<int>(*alignment)) : std::string("nil");
        out += " ";
      }
      out += ")";
      for (const auto& row : p.rows) out += " row" + describeList(row);
      return out;
    }
    if constexpr (std::is_same_v<C, Block::ThematicBreak>) return "thematicBreak";
    return "?";
  });
}

}  // namespace

void PrintTo(const Inline& inline_, std::ostream* out) { *out << describe(inline_); }
void PrintTo(const Block& block, std::ostream* out) { *out << describe(block); }
void PrintTo(const ListItem& item, std::ostream* out) { *out << "item" << describeList(item.blocks); }
void PrintTo(const TaskListItem& item, std::ostream* out) {
  *out << (item.isCompleted ? "[x] " : "[ ] ") << describeList(item.blocks);
}

}  // namespace MarkdownRender
