// Layout of an evaluated view tree: every view is asked for the size it takes under a proposal, then
// placed; the frames (in the coordinates of the space laid out, origin top-left, y growing downwards)
// are kept for hosting, drawing, hit testing and the inspector.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/ui/layout/layout.h"
#include "platform/ui/layout/text_measurer.h"
#include "platform/ui/view_graph.h"

namespace ui {

// Height of the row of tabs above a tab view's content: each tab's icon above its title.
inline constexpr double tabBarHeight = 48;
// Room between a label's icon and its title in the row of tabs.
inline constexpr double tabLabelSpacing = 3;
// The margins of a tab's content inside the box below the row of tabs.
inline constexpr EdgeInsets tabContentMargins{12, 24, 12, 24};
// Height a single-line text field adds to its font's line height (its border and inner margins); pickers
// and segments are as high.
inline constexpr double textFieldChrome = 6;
// Width a pop-up menu adds to its widest option title (its arrows and margins), and the margin a segment
// leaves on either side of its label.
inline constexpr double popUpChrome = 26;
inline constexpr double segmentMargin = 8;
// A toggle's check box stands before its label, centred on it, with this gap.
inline constexpr double checkboxSide = 14;
inline constexpr double checkboxSpacing = 6;
// A colour picker's well.
inline constexpr double colorWellWidth = 44;
inline constexpr double colorWellHeight = 24;
// A searchable view's search field sits in a bar above it, with these margins.
inline constexpr double searchFieldHeight = 22;
inline constexpr EdgeInsets searchBarMargin{6, 8, 6, 8};
inline constexpr double searchBarHeight = searchFieldHeight + searchBarMargin.top + searchBarMargin.bottom;

namespace detail {
// The views a container arranges as its items, in order: groups, ForEach rows, conditional branches
// (also behind a view with a body) are taken apart and empty views left out; with
// `takesSectionsApart`, sections too (as the rows of a list are).
std::vector<const Node*> arrangedItems(const Node& container, bool takesSectionsApart = false);
}  // namespace detail

class LayoutPass {
 public:
  explicit LayoutPass(std::shared_ptr<const TextMeasurer> measurer = defaultTextMeasurer());

  // Lays out the tree below `root` in a space of `size` less the safe-area insets: the root is offered
  // the safe area and centred in it; views that ignore the safe area reach out to the space's edges.
  // Forgets the frames of the previous run.
  void layout(const detail::Node& root, Size size, EdgeInsets safeAreaInsets = {});

  // The size `node` takes under `proposal` (measured once per proposal and run).
  Size sizeThatFits(const detail::Node& node, const ProposedViewSize& proposal);
  // Gives `node` the frame `frame` and places its subtree inside it; `proposal` is the one its size was
  // measured under (the frame's size when absent).
  void place(const detail::Node& node, const Rect& frame,
             std::optional<ProposedViewSize> proposal = std::nullopt);

  // The frame of a view that was placed, in the coordinates of the space laid out.
  std::optional<Rect> frame(const detail::Node& node) const;
  // The frames of the pictures in a text that was placed, in order (none for other views).
  std::vector<Rect> imageFrames(const detail::Node& text) const;
  // Where the characters of a text with pictures were set (runs are the text's segments, positions in
  // the coordinates of the space laid out); none for other views.
  std::vector<SetCharacters> setCharacters(const detail::Node& text) const;
  // Where the control of a view that is more than its control sits: a picker's pop-up menu or segments
  // (after its title), a colour picker's well (after its label), a searchable view's search field.
  std::optional<Rect> controlFrame(const detail::Node& node) const;
  // The size of a scroll view's (or list's) content: laid out unbounded along the scroll axis.
  std::optional<Size> contentSize(const detail::Node& scrollView) const;
  const std::unordered_map<const detail::Node*, Rect>& frames() const { return frames_; }
  // The geometry readers placed in the last run, in the order they were placed.
  const std::vector<const detail::Node*>& geometryReaders() const { return geometryReaders_; }
  const TextMeasurer& measurer() const { return *measurer_; }
  // Names the last run of `layout`: no two runs of any pass in the process share one, so what was worked
  // out from one run's frames can be kept and known to be stale once this changes.
  std::uint64_t generation() const { return generation_; }

 private:
  struct Measured {
    ProposedViewSize proposal;
    Size size;
  };
  // The sizes a view took, kept across layouts while its subtree keeps the revision they were measured at.
  struct MeasuredNode {
    std::uint64_t revision = 0;
    std::vector<Measured> sizes;
  };
  Size measure(const detail::Node& node, const ProposedViewSize& proposal);
  // `frame` with the chosen edges that lie on the safe area's boundary moved out to the space's edges.
  Rect reachingOutOfSafeArea(const Rect& frame, Edges edges) const;

  std::shared_ptr<const TextMeasurer> measurer_;
  std::unordered_map<const detail::Node*, MeasuredNode> measured_;
  std::unordered_map<const detail::Node*, Rect> frames_;
  std::unordered_map<const detail::Node*, Rect> controlFrames_;
  std::unordered_map<const detail::Node*, Size> contentSizes_;
  std::unordered_map<const detail::Node*, std::vector<Rect>> imageFrames_;
  std::unordered_map<const detail::Node*, std::vector<SetCharacters>> setCharacters_;
  std::vector<const detail::Node*> geometryReaders_;
  Rect bounds_;    // the space laid out
  Rect safeArea_;  // its safe area
  std::uint64_t generation_ = 0;
};

}  // namespace ui
