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

// Layout is incremental: a view keeps where it was placed for as long as it keeps its identity, its
// revision (neither it nor a view below it was evaluated again) and the proposal and size it was placed
// with. Placing such a view again only moves its subtree by the distance its frame moved, without
// measuring or arranging anything inside it; views whose place depends on where they lie in the space
// (views reaching out of the safe area) are always placed again.
class LayoutPass {
 public:
  explicit LayoutPass(std::shared_ptr<const TextMeasurer> measurer = defaultTextMeasurer());
  ~LayoutPass();
  LayoutPass(const LayoutPass&) = delete;
  LayoutPass& operator=(const LayoutPass&) = delete;

  // Lays out the tree below `root` in a space of `size` less the safe-area insets: the root is offered
  // the safe area and centred in it; views that ignore the safe area reach out to the space's edges.
  // What the previous run placed and this one did not is forgotten.
  void layout(const detail::Node& root, Size size, EdgeInsets safeAreaInsets = {});

  // The size `node` takes under `proposal` (measured once per proposal while its subtree keeps its
  // revision).
  Size sizeThatFits(const detail::Node& node, const ProposedViewSize& proposal);
  // Gives `node` the frame `frame` and places its subtree inside it; `proposal` is the one its size was
  // measured under (the frame's size when absent).
  void place(const detail::Node& node, const Rect& frame,
             std::optional<ProposedViewSize> proposal = std::nullopt);

  // The frame of a view that was placed, in the coordinates of the space laid out.
  std::optional<Rect> frame(const detail::Node& node) const;
  // The run of layout that last arranged the subtree of a view placed by a call of `place` of its own
  // (none for other views): while it stays the same and the view keeps its frame, everything inside the
  // view keeps its frame too.
  std::optional<std::uint64_t> arrangedIn(const detail::Node& node) const;
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
  // Every view placed in the last run with its frame, in tree order. Counting them costs nothing; the
  // list is made when first walked after a run.
  class PlacedFrames {
   public:
    using List = std::vector<std::pair<const detail::Node*, Rect>>;
    explicit PlacedFrames(const LayoutPass& pass) : pass_(&pass) {}
    std::size_t size() const;
    bool empty() const { return size() == 0; }
    List::const_iterator begin() const { return list().begin(); }
    List::const_iterator end() const { return list().end(); }

   private:
    const List& list() const;
    const LayoutPass* pass_;
  };
  PlacedFrames frames() const { return PlacedFrames(*this); }
  // The geometry readers placed in the last run whose frames may differ from the ones they were last
  // told, in the order they were placed: those placed anew or moved, and all of them when the run before
  // was not followed by `geometryReported`. Readers in a subtree kept where it was are left out.
  const std::vector<const detail::Node*>& geometryReaders() const { return geometryReaders_; }
  // Said once the readers of the last run were told their frames.
  void geometryReported() { isGeometryReported_ = true; }
  const TextMeasurer& measurer() const { return *measurer_; }
  // Names the last run of `layout`: no two runs of any pass in the process share one, so what was worked
  // out from one run's frames can be kept and known to be stale once this changes.
  std::uint64_t generation() const { return generation_; }

 private:
  using Record = detail::Node::LayoutRecord;
  // The record this pass keeps for `node`: the node's own, unless another pass holds that one; then one
  // of this pass's, kept for a single run.
  Record& record(const detail::Node& node);
  const Record* recordIfAny(const detail::Node& node) const;
  // The record of a view placed in the last run (null for one that was not).
  const Record* placed(const detail::Node& node) const;
  Record& setFrame(const detail::Node& node, const Rect& frame);
  std::optional<Rect> placedFrame(const detail::Node& node) const;
  Size measure(const detail::Node& node, const ProposedViewSize& proposal);
  void placeInside(const detail::Node& node, const Rect& frame, const ProposedViewSize& proposal);
  struct Subtree {
    bool isPositionDependent = false;
    bool hasGeometryReaders = false;
    std::size_t placedViews = 0;
  };
  // After `node` was placed: forgets the views below it that were placed before and not this time, and
  // works out what its subtree holds.
  Subtree settleChildren(const detail::Node& node);
  // Adds the geometry readers of a subtree kept where it was, in tree order.
  void collectGeometryReaders(const detail::Node& node);
  void forget(const detail::Node& node);
  void move(const detail::Node& node, double dx, double dy);
  // `frame` with the chosen edges that lie on the safe area's boundary moved out to the space's edges.
  Rect reachingOutOfSafeArea(const Rect& frame, Edges edges) const;

  std::shared_ptr<const TextMeasurer> measurer_;
  const std::uint64_t id_;  // names this pass in the records it keeps in nodes
  std::unordered_map<const detail::Node*, std::unique_ptr<Record>> borrowed_;
  std::vector<const detail::Node*> geometryReaders_;
  std::weak_ptr<const detail::Node> root_;
  mutable PlacedFrames::List placedFrames_;
  mutable std::uint64_t placedFramesGeneration_ = 0;
  Rect bounds_;    // the space laid out
  Rect safeArea_;  // its safe area
  std::uint64_t generation_ = 0;
  std::uint64_t era_ = 0;            // changes when a new root is laid out: nothing placed before counts
  bool isGeometryReported_ = false;  // the readers of the last run were told their frames
  bool listsKeptReaders_ = true;     // this run lists the readers of subtrees kept where they were
};

}  // namespace ui
