// The inline nodes of the Markdown document model: text and the runs that style or link it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/ui/color_scheme.h"  // ColorScheme, for the image filter

namespace MarkdownRender {

class CommonMarkNode;
namespace detail {
class NodeArena;
}

// An immutable inline value, compared and hashed by value. Its storage is shared between copies, so
// copying is cheap; nothing can change it once built. No value is deeper than `maximumNestingDepth`: the
// factories below turn content that would pass that depth into plain text.
class Inline {
 public:
  // The cases, in the order the model declares them.
  enum class Kind { text, code, html, emphasis, strong, strikethrough, link, image, softBreak, lineBreak };

  // Payloads, one per case.
  struct Text {
    std::string content;
    bool operator==(const Text&) const = default;
  };
  struct Code {
    std::string content;  // literal
    bool operator==(const Code&) const = default;
  };
  struct HTML {
    std::string content;  // literal
    bool operator==(const HTML&) const = default;
  };
  struct Emphasis {
    std::vector<Inline> children;
    bool operator==(const Emphasis&) const;
  };
  struct Strong {
    std::vector<Inline> children;
    bool operator==(const Strong&) const;
  };
  struct Strikethrough {
    std::vector<Inline> children;
    bool operator==(const Strikethrough&) const;
  };
  struct Link {
    std::string destination;  // as the parser gives it; empty when there is none
    std::vector<Inline> children;
    bool operator==(const Link&) const;
  };
  // The `image` case. (`Inline::Image` is the description of a picture that the utilities make.)
  struct ImageNode {
    std::string source;            // as the parser gives it; empty when there is none
    std::vector<Inline> children;  // the description (alt text)
    bool operator==(const ImageNode&) const;
  };
  struct SoftBreak {
    bool operator==(const SoftBreak&) const = default;
  };
  struct LineBreak {
    bool operator==(const LineBreak&) const = default;
  };

  using Value =
      std::variant<Text, Code, HTML, Emphasis, Strong, Strikethrough, Link, ImageNode, SoftBreak, LineBreak>;

  // The description of one picture: an image, or a link whose only child is an image.
  struct Image {
    std::optional<std::string> source;
    std::string alt;                         // the plain text of the image's children
    std::optional<std::string> destination;  // the link around the image, if any
    bool operator==(const Image&) const = default;

    // The picture an inline shows on its own, or nothing (any other inline, including a link holding an
    // image and anything beside it).
    static std::optional<Image> from(const Inline& inline_);
  };

  static Inline text(std::string content);
  static Inline code(std::string content);
  static Inline html(std::string content);
  static Inline emphasis(std::vector<Inline> children);
  static Inline strong(std::vector<Inline> children);
  static Inline strikethrough(std::vector<Inline> children);
  static Inline link(std::string destination, std::vector<Inline> children);
  static Inline image(std::string source, std::vector<Inline> children);
  static Inline softBreak();
  static Inline lineBreak();

  // Any payload; a value deeper than `maximumNestingDepth` keeps its deepest levels as plain text.
  explicit Inline(Value value);
  // The same value placed in an arena that a parse fills (see node_arena.h).
  Inline(Value value, detail::NodeArena& arena);

  // The inline for one node of a cmark-gfm tree (converted as the top of a value), or nothing for a node
  // the model has no case for.
  static std::optional<Inline> fromCmarkNode(const CommonMarkNode& node);

  Kind kind() const { return static_cast<Kind>(value().index()); }
  const Value& value() const;
  // The payload when the inline is of that case, else null.
  template <class Case>
  const Case* as() const {
    return std::get_if<Case>(&value());
  }
  template <class Visitor>
  decltype(auto) visit(Visitor&& visitor) const {
    return std::visit(std::forward<Visitor>(visitor), value());
  }

  // Levels of inlines in this value, itself included (1 for an inline without children).
  int depth() const;

  // The text the inline shows, without styling: breaks become " " and "\n", links and images give their
  // children's text only.
  std::string plainText() const;

  // The inline with every picture that is hidden in the colour scheme removed, or nothing when the
  // inline itself is such a picture. The children of a picture that stays are not filtered.
  std::optional<Inline> filteredForColorScheme(ui::ColorScheme scheme) const;

  // Whether an `image` lies in this value, itself included.
  bool holdsPictures() const;

  bool operator==(const Inline& other) const;
  // Worked out when the value is built, so asking costs nothing.
  std::size_t hashValue() const;

 private:
  struct Storage;
  std::shared_ptr<const Storage> storage_;
};

// The plain texts of the inlines joined with nothing between them.
std::string plainText(const std::vector<Inline>& inlines);

// The inlines filtered one by one, those that become nothing left out.
std::vector<Inline> filteredForColorScheme(const std::vector<Inline>& inlines, ui::ColorScheme scheme);

// The inlines with no level deeper than `depthBudget` (at least 1): inlines with children at the last
// level become `text` with their plain text.
std::vector<Inline> inlinesLimitedToDepth(const std::vector<Inline>& inlines, int depthBudget);

namespace detail {
// Depth of the deepest inline of a list (0 for an empty list).
int maximumDepth(const std::vector<Inline>& inlines);
void hashInlines(std::size_t& seed, const std::vector<Inline>& inlines);
// Whether an `image` lies in any of the inlines.
bool holdPictures(const std::vector<Inline>& inlines);
}  // namespace detail

}  // namespace MarkdownRender

template <>
struct std::hash<MarkdownRender::Inline> {
  std::size_t operator()(const MarkdownRender::Inline& value) const { return value.hashValue(); }
};

template <>
struct std::hash<MarkdownRender::Inline::Image> {
  std::size_t operator()(const MarkdownRender::Inline::Image& image) const;
};
