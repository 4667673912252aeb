#include "MarkdownRender/model/inline.h"

#include <algorithm>
#include <type_traits>
#include <utility>

#include "MarkdownRender/model/hash_combine.h"
#include "MarkdownRender/model/nesting_depth.h"
#include "MarkdownRender/model/node_arena.h"

namespace MarkdownRender {

// The hash and whether a picture lies anywhere inside are worked out once, when the value is built:
// children are built first, so each level adds only its own part, and a value compared, hashed or
// filtered again and again (a document shown while it streams in) never walks its text again.
struct Inline::Storage {
  Value value;
  int depth;
  std::size_t hash;
  bool holdsPictures;
};

namespace {

template <class Case>
constexpr bool hasChildren = requires(const Case& c) {
  c.children;
};

// The same case with other children.
template <class Case>
Case withChildren(const Case& payload, std::vector<Inline> children) {
  Case copy = payload;
  copy.children = std::move(children);
  return copy;
}

}  // namespace

bool Inline::Emphasis::operator==(const Emphasis& other) const { return children == other.children; }
bool Inline::Strong::operator==(const Strong& other) const { return children == other.children; }
bool Inline::Strikethrough::operator==(const Strikethrough& other) const {
  return children == other.children;
}
bool Inline::Link::operator==(const Link& other) const {
  return destination == other.destination && children == other.children;
}
bool Inline::ImageNode::operator==(const ImageNode& other) const {
  return source == other.source && children == other.children;
}

namespace {

// The depth of an inline with this payload, the payload limited first when it would pass the cap.
int limitedDepth(Inline::Value& value) {
  int childDepth = std::visit(
      [](const auto& payload) {
        if constexpr (hasChildren<std::decay_t<decltype(payload)>>) {
          return detail::maximumDepth(payload.children);
        } else {
          return 0;
        }
      },
      value);
  if (childDepth + 1 > maximumNestingDepth) {
    std::visit(
        [](auto& payload) {
          if constexpr (hasChildren<std::decay_t<decltype(payload)>>) {
            payload.children = inlinesLimitedToDepth(payload.children, maximumNestingDepth - 1);
          }
        },
        value);
    childDepth = maximumNestingDepth - 1;
  }
  return childDepth + 1;
}

}  // namespace

namespace {

std::size_t hashOf(const Inline::Value& value) {
  std::size_t seed = value.index();
  std::visit(
      [&](const auto& payload) {
        using Case = std::decay_t<decltype(payload)>;
        if constexpr (requires { payload.content; }) detail::hashValue(seed, payload.content);
        if constexpr (std::is_same_v<Case, Inline::Link>) detail::hashValue(seed, payload.destination);
        if constexpr (std::is_same_v<Case, Inline::ImageNode>) detail::hashValue(seed, payload.source);
        if constexpr (hasChildren<Case>) detail::hashInlines(seed, payload.children);
      },
      value);
  return seed;
}

bool hasPicturesInside(const Inline::Value& value) {
  return std::visit(
      [](const auto& payload) {
        using Case = std::decay_t<decltype(payload)>;
        if constexpr (std::is_same_v<Case, Inline::ImageNode>) {
          return true;
        } else if constexpr (hasChildren<Case>) {
          return detail::holdPictures(payload.children);
        } else {
          return false;
        }
      },
      value);
}

}  // namespace

Inline::Inline(Value value) {
  const int depth = limitedDepth(value);
  const std::size_t hash = hashOf(value);
  const bool pictures = hasPicturesInside(value);
  storage_ = std::make_shared<const Storage>(Storage{std::move(value), depth, hash, pictures});
}

Inline::Inline(Value value, detail::NodeArena& arena) {
  const int depth = limitedDepth(value);
  const std::size_t hash = hashOf(value);
  const bool pictures = hasPicturesInside(value);
  storage_ = std::allocate_shared<Storage>(detail::NodeArenaAllocator<Storage>(arena),
                                           Storage{std::move(value), depth, hash, pictures});
}

Inline Inline::text(std::string content) { return Inline(Text{std::move(content)}); }
Inline Inline::code(std::string content) { return Inline(Code{std::move(content)}); }
Inline Inline::html(std::string content) { return Inline(HTML{std::move(content)}); }
Inline Inline::emphasis(std::vector<Inline> children) { return Inline(Emphasis{std::move(children)}); }
Inline Inline::strong(std::vector<Inline> children) { return Inline(Strong{std::move(children)}); }
Inline Inline::strikethrough(std::vector<Inline> children) {
  return Inline(Strikethrough{std::move(children)});
}
Inline Inline::link(std::string destination, std::vector<Inline> children) {
  return Inline(Link{std::move(destination), std::move(children)});
}
Inline Inline::image(std::string source, std::vector<Inline> children) {
  return Inline(ImageNode{std::move(source), std::move(children)});
}
Inline Inline::softBreak() { return Inline(SoftBreak{}); }
Inline Inline::lineBreak() { return Inline(LineBreak{}); }

const Inline::Value& Inline::value() const { return storage_->value; }

int Inline::depth() const { return storage_->depth; }

std::string Inline::plainText() const {
  return visit([](const auto& payload) -> std::string {
    using Case = std::decay_t<decltype(payload)>;
    if constexpr (std::is_same_v<Case, Text> || std::is_same_v<Case, Code> || std::is_same_v<Case, HTML>) {
      return payload.content;
    } else if constexpr (std::is_same_v<Case, SoftBreak>) {
      return " ";
    } else if constexpr (std::is_same_v<Case, LineBreak>) {
      return "\n";
    } else {
      return MarkdownRender::plainText(payload.children);
    }
  });
}

std::string plainText(const std::vector<Inline>& inlines) {
  std::string text;
  for (const auto& inline_ : inlines) text += inline_.plainText();
  return text;
}

std::optional<Inline::Image> Inline::Image::from(const Inline& inline_) {
  if (const auto* image = inline_.as<ImageNode>()) {
    return Image{image->source, MarkdownRender::plainText(image->children), std::nullopt};
  }
  if (const auto* link = inline_.as<Link>()) {
    if (link->children.size() == 1) {
      if (const auto* image = link->children.front().as<ImageNode>()) {
        return Image{image->source, MarkdownRender::plainText(image->children), link->destination};
      }
    }
  }
  return std::nullopt;
}

std::vector<Inline> inlinesLimitedToDepth(const std::vector<Inline>& inlines, int depthBudget) {
  depthBudget = std::max(depthBudget, 1);
  std::vector<Inline> limited;
  limited.reserve(inlines.size());
  for (const auto& inline_ : inlines) {
    if (inline_.depth() <= depthBudget) {
      limited.push_back(inline_);
    } else if (depthBudget == 1) {
      limited.push_back(Inline::text(inline_.plainText()));
    } else {
      limited.push_back(inline_.visit([&](const auto& payload) {
        if constexpr (hasChildren<std::decay_t<decltype(payload)>>) {
          return Inline(withChildren(payload, inlinesLimitedToDepth(payload.children, depthBudget - 1)));
        } else {
          return Inline(payload);
        }
      }));
    }
  }
  return limited;
}

// Values that hash differently differ, so only values with equal hashes are compared in full.
bool Inline::operator==(const Inline& other) const {
  return storage_ == other.storage_ || (storage_->hash == other.storage_->hash && value() == other.value());
}

std::size_t Inline::hashValue() const { return storage_->hash; }

bool Inline::holdsPictures() const { return storage_->holdsPictures; }

namespace detail {

int maximumDepth(const std::vector<Inline>& inlines) {
  int depth = 0;
  for (const auto& inline_ : inlines) depth = std::max(depth, inline_.depth());
  return depth;
}

void hashInlines(std::size_t& seed, const std::vector<Inline>& inlines) {
  hashCombine(seed, inlines.size());
  for (const auto& inline_ : inlines) hashCombine(seed, inline_.hashValue());
}

bool holdPictures(const std::vector<Inline>& inlines) {
  return std::any_of(inlines.begin(), inlines.end(),
                     [](const Inline& inline_) { return inline_.holdsPictures(); });
}

}  // namespace detail

}  // namespace MarkdownRender

std::size_t std::hash<MarkdownRender::Inline::Image>::operator()(
    const MarkdownRender::Inline::Image& image) const {
  using MarkdownRender::detail::hashCombine;
  using MarkdownRender::detail::hashValue;
  std::size_t seed = 0;
  hashCombine(seed, image.source.has_value());
  if (image.source) hashValue(seed, *image.source);
  hashValue(seed, image.alt);
  hashCombine(seed, image.destination.has_value());
  if (image.destination) hashValue(seed, *image.destination);
  return seed;
}
