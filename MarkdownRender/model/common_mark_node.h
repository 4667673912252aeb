// Parsing with cmark-gfm: the extensions a parse attaches and the nodes of the tree it yields.
#pragma once

#include <cmark-gfm.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace MarkdownRender {

// One cmark-gfm syntax extension, by the name the library registers it under.
struct CommonMarkExtension {
  std::string rawValue;

  bool operator==(const CommonMarkExtension&) const = default;

  static const CommonMarkExtension autolink;
  static const CommonMarkExtension strikethrough;
  static const CommonMarkExtension tagfilter;
  static const CommonMarkExtension tasklist;
  static const CommonMarkExtension table;

  // The extensions every parse of a reply attaches: all five (tables are always available here). Made
  // once, on first use, safely when several threads reach it together.
  static const std::unordered_set<CommonMarkExtension>& enabledSet();
};

inline const CommonMarkExtension CommonMarkExtension::autolink{"autolink"};
inline const CommonMarkExtension CommonMarkExtension::strikethrough{"strikethrough"};
inline const CommonMarkExtension CommonMarkExtension::tagfilter{"tagfilter"};
inline const CommonMarkExtension CommonMarkExtension::tasklist{"tasklist"};
inline const CommonMarkExtension CommonMarkExtension::table{"table"};

}  // namespace MarkdownRender

template <>
struct std::hash<MarkdownRender::CommonMarkExtension> {
  std::size_t operator()(const MarkdownRender::CommonMarkExtension& extension) const {
    return std::hash<std::string>{}(extension.rawValue);
  }
};

namespace MarkdownRender {

// One node of a cmark-gfm tree. A wrapper of a document owns the tree and frees it when the last copy of
// it, or of any wrapper reached from it, goes away; a wrapper made from an inner node owns nothing.
class CommonMarkNode {
 public:
  // Wraps a node; takes ownership of the tree when the node is a document.
  explicit CommonMarkNode(cmark_node* node);

  // The parsed document of a Markdown text with the given extensions attached (names the library does not
  // know are skipped) and the library's option bits, or nothing when the library gives no document. May be
  // called from any thread: parses run one at a time behind a process-wide lock.
  static std::optional<CommonMarkNode> parsedDocument(
      std::string_view text, const std::unordered_set<CommonMarkExtension>& extensions, std::int32_t options);

  cmark_node* pointer() const { return node_.get(); }
  // The type name the library gives ("paragraph", "table_header", "tasklist", ...).
  std::string typeString() const;

  // The node's children, in order; they keep the tree alive like this wrapper does.
  std::vector<CommonMarkNode> children() const;

  // Whether at least one child is a list item that the tasklist extension recognised.
  bool hasTaskItems() const;
  // For a table: one entry per column, "l", "c" or "r", or a string holding one zero byte for a column
  // without alignment.
  std::vector<std::string> tableColumnAlignments() const;

 private:
  CommonMarkNode(std::shared_ptr<cmark_node> node) : node_(std::move(node)) {}

  std::shared_ptr<cmark_node> node_;  // shares the ownership of the document, when there is one
};

}  // namespace MarkdownRender
