#include "MarkdownRender/model/color_scheme_filter.h"

#include <type_traits>

#include "MarkdownRender/model/block.h"
#include "MarkdownRender/model/inline.h"
#include "platform/foundation/unicode.h"

namespace MarkdownRender {

bool isShown(const foundation::URL& url, ui::ColorScheme scheme) {
  const auto& fragment = url.fragment();
  if (!fragment) return true;
  const std::string lowered = foundation::lowercased(*fragment);
  switch (scheme) {
    case ui::ColorScheme::light:
      return lowered != "gh-dark-mode-only";
    case ui::ColorScheme::dark:
      return lowered != "gh-light-mode-only";
  }
  return true;
}

std::optional<Inline> Inline::filteredForColorScheme(ui::ColorScheme scheme) const {
  // Without a picture inside there is nothing to remove: the value itself, its storage shared, so that
  // it still compares equal at the cost of a pointer.
  if (!holdsPictures()) return *this;
  return visit([&](const auto& payload) -> std::optional<Inline> {
    using Case = std::decay_t<decltype(payload)>;
    if constexpr (std::is_same_v<Case, ImageNode>) {
      const auto url = foundation::URL::parse(payload.source);
      if (!url || isShown(*url, scheme)) return *this;
      return std::nullopt;
    } else if constexpr (requires { payload.children; }) {
      Case filtered = payload;
      filtered.children = MarkdownRender::filteredForColorScheme(payload.children, scheme);
      return Inline(std::move(filtered));
    } else {
      return *this;
    }
  });
}

std::vector<Inline> filteredForColorScheme(const std::vector<Inline>& inlines, ui::ColorScheme scheme) {
  std::vector<Inline> filtered;
  filtered.reserve(inlines.size());
  for (const auto& inline_ : inlines) {
    if (auto kept = inline_.filteredForColorScheme(scheme)) filtered.push_back(std::move(*kept));
  }
  return filtered;
}

namespace {

std::vector<Block> filteredBlocks(const std::vector<Block>& blocks, ui::ColorScheme scheme) {
  std::vector<Block> filtered;
  filtered.reserve(blocks.size());
  for (const auto& block : blocks) filtered.push_back(block.filteredForColorScheme(scheme));
  return filtered;
}

}  // namespace

Block Block::filteredForColorScheme(ui::ColorScheme scheme) const {
  if (!holdsPictures()) return *this;
  return visit([&](const auto& payload) -> Block {
    using Case = std::decay_t<decltype(payload)>;
    Case filtered = payload;
    if constexpr (std::is_same_v<Case, Blockquote>) {
      filtered.blocks = filteredBlocks(payload.blocks, scheme);
    } else if constexpr (requires { payload.items; }) {
      for (auto& item : filtered.items) item.blocks = filteredBlocks(item.blocks, scheme);
    } else if constexpr (std::is_same_v<Case, Paragraph>) {
      filtered.inlines = MarkdownRender::filteredForColorScheme(payload.inlines, scheme);
    } else if constexpr (std::is_same_v<Case, Heading>) {
      filtered.text = MarkdownRender::filteredForColorScheme(payload.text, scheme);
    } else if constexpr (std::is_same_v<Case, Table>) {
      for (auto& row : filtered.rows) {
        for (auto& cell : row) cell = MarkdownRender::filteredForColorScheme(cell, scheme);
      }
    } else {
      return *this;
    }
    return Block(std::move(filtered));
  });
}

}  // namespace MarkdownRender
