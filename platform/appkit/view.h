// The platform view hierarchy: views with a runtime class name, subviews and superview, frames and
// bounds, a hidden flag, an accessibility label, hit testing and point conversion between views.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/geometry.h"

namespace appkit {

class Window;

// A rectangular area of a window. Views are always owned through shared pointers (superviews own
// their subviews; a subview knows its superview weakly). Every view is flipped: its origin is the
// top-left corner and y grows downwards, as in the layout above it. A frame is in the superview's
// coordinates; the bounds are the view's own (the origin moves when content scrolls). Main thread only.
class View : public std::enable_shared_from_this<View> {
 public:
  View() = default;
  explicit View(foundation::Rect frame) : frame_(frame) {}
  virtual ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // The name of the view's runtime class with its namespace ("appkit::TextView"), as searches by class
  // name read it.
  std::string className() const;

  foundation::Rect frame() const { return frame_; }
  virtual void setFrame(foundation::Rect frame);
  // The view's own coordinate space: the frame's size with the scrolled origin.
  foundation::Rect bounds() const { return {boundsOrigin_, frame_.size}; }
  void setBoundsOrigin(foundation::Point origin) { boundsOrigin_ = origin; }

  const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
  std::shared_ptr<View> superview() const { return superview_.lock(); }
  // Adds `view` in front of the other subviews, taking it from its old superview first.
  void addSubview(std::shared_ptr<View> view);
  // Replaces all subviews (back to front); views that stay keep their place in the new order.
  void setSubviews(std::vector<std::shared_ptr<View>> views);
  void removeFromSuperview();
  bool isDescendantOf(const View& view) const;

  // The window of the hierarchy the view is in (its topmost ancestor's window), if any.
  std::shared_ptr<Window> window() const;
  // Told when the view became a window's content view, or stopped being one. Views deeper in a
  // hierarchy are not told (see SearchField::noteWindowChange).
  virtual void viewDidMoveToWindow() {}

  bool isHidden() const { return isHidden_; }
  void setHidden(bool isHidden) { isHidden_ = isHidden; }
  bool isHiddenOrHasHiddenAncestor() const;

  const std::optional<std::string>& accessibilityLabel() const { return accessibilityLabel_; }
  void setAccessibilityLabel(std::optional<std::string> label) { accessibilityLabel_ = std::move(label); }

  // The farthest descendant (or this view) containing `point`, given in the superview's coordinates;
  // hidden views and their subviews are passed over, front subviews first. Nothing when the point is
  // outside the frame.
  virtual std::shared_ptr<View> hitTest(foundation::Point point);

  // Where the view takes a press of the pointer, in its own coordinates: its bounds, for a view that
  // draws itself. A window that lets clicks through where it draws nothing asks its content view.
  virtual std::vector<foundation::Rect> clickableRects() const { return {bounds()}; }

  // Converts a point from the coordinates of `view` (the window's when null) to this view's, and back.
  // Views of different hierarchies are related through their topmost ancestors' coordinates.
  foundation::Point convertPointFromView(foundation::Point point, const View* view) const;
  foundation::Point convertPointToView(foundation::Point point, const View* view) const;
  foundation::Rect convertRectFromView(foundation::Rect rect, const View* view) const;
  foundation::Rect convertRectToView(foundation::Rect rect, const View* view) const;

 private:
  friend class Window;
  // This view's coordinates to its topmost ancestor's (or the window's) and back.
  foundation::Point toBase(foundation::Point point) const;
  foundation::Point fromBase(foundation::Point point) const;

  foundation::Rect frame_;
  foundation::Point boundsOrigin_;
  std::vector<std::shared_ptr<View>> subviews_;
  std::weak_ptr<View> superview_;
  std::weak_ptr<Window> window_;  // set on a window's content view
  bool isHidden_ = false;
  std::optional<std::string> accessibilityLabel_;
};

}  // namespace appkit
