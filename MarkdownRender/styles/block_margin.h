// The margins a block asks for above and below itself, reported up the view tree, where the block
// sequence that stacks the blocks collapses the margins of neighbours.
#pragma once

#include <functional>
#include <optional>

#include "MarkdownRender/styles/relative_size.h"
#include "platform/ui/view.h"

namespace MarkdownRender {

// Margins in points; an absent edge states nothing about that edge, zero is a stated margin of zero.
struct BlockMargin {
  std::optional<double> top;
  std::optional<double> bottom;

  static BlockMargin unspecified() { return {}; }

  // Edge by edge, the larger of the present values, or absent when neither is present: a present value
  // beats an absent one, and a stated 0 beats a negative value.
  BlockMargin merged(const BlockMargin& other) const;

  bool operator==(const BlockMargin&) const = default;
};

// The margins a subtree reports: the edge-wise maximum of every margin declared inside it.
struct BlockMarginsPreference {
  using Value = BlockMargin;
  static BlockMargin defaultValue() { return BlockMargin::unspecified(); }
  static void reduce(BlockMargin& value, const std::function<BlockMargin()>& next) {
    value = value.merged(next());
  }
};

// The view, reporting the given margins merged into what it already reports (an absent argument leaves
// that edge as the view reports it).
ui::AnyView blockMargins(const ui::AnyView& view, std::optional<double> top, std::optional<double> bottom);

// The same with margins relative to the font of the text style in force where the block is drawn.
ui::AnyView fontRelativeMargins(const ui::AnyView& view, std::optional<RelativeSize> top,
                                std::optional<RelativeSize> bottom);

}  // namespace MarkdownRender
