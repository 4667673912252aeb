// How far each view of a hosted tree, with everything below it, may draw: drawing skips whole parts of a
// tree whose reach lies out of sight. Reaches are kept from one layout to the next, so after a change only
// the views that changed, and the views around them, are looked at again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/foundation/geometry.h"
#include "platform/ui/hosting.h"
#include "platform/ui/view_graph.h"

namespace render {

// Drawing may reach a little beyond a view's frame (a check box before its label, a bezel around a button,
// the outer half of a stroke); a view's reach allows it this much on every side.
inline constexpr double drawingMargin = 32;

// The reaches of the tree of one hosting view, in the hosting view's coordinates (a scroll view's content
// unscrolled). A view that draws nothing reaches an empty rectangle; one placed at coordinates that are not
// finite reaches everywhere.
//
// What a subtree draws, and where inside its own frame, follows from the subtree alone (named by its root's
// revision, which changes whenever a view in it is evaluated again) and the size it was given: a subtree
// that kept both has only moved with its frame, and its reach moves along without a look inside. Three
// kinds of view are worked out again from their subviews when asked after a new layout instead: views without
// a frame of their own, views whose subviews a container arranges among its own (groups, lists of views,
// conditional branches, and views whose body is one of those), and subtrees holding a view that reaches out
// of the safe area, which is placed by where it lies and not only by its size. Main thread only.
class ReachTable {
 public:
  // The table kept for the tree of `hosting` as it was last laid out (those of a few hosting views are
  // kept), ready to answer for that layout.
  static std::shared_ptr<ReachTable> of(const ui::HostingView& hosting);

  // Whether `node` or a view below it may draw inside `visible`, given the node's frame. A view whose frame
  // is in sight is answered from the frame alone, so working out reaches is left to views out of sight.
  bool mayReach(const ui::detail::Node& node, const std::optional<foundation::Rect>& frame,
                const foundation::Rect& visible);

  // Reaches kept (for tests of the table's bounds).
  std::size_t keptCount() const { return known_.size(); }

 private:
  struct Known {
    std::uint64_t revision = 0;
    std::optional<foundation::Size> size;  // of the frame it was worked out in; none: never moved along
    foundation::Rect relative;             // the reach less the frame's origin
    bool dependsOnPlace = false;
    std::uint64_t generation = 0;  // the layout run `reach` holds for
    foundation::Rect reach;
  };
  struct Found {
    foundation::Rect reach;
    bool dependsOnPlace;
  };

  Found find(const ui::detail::Node& node);
  Found workOut(const ui::detail::Node& node, const std::optional<foundation::Rect>& frame, Known& known);
  void begin(const ui::HostingView& hosting);

  const ui::HostingView* hosting_ = nullptr;
  std::uint64_t generation_ = 0;
  // Views that left the tree leave their reaches behind; the table starts afresh once they would
  // outnumber the views laid out.
  std::unordered_map<const ui::detail::Node*, Known> known_;
};

}  // namespace render
