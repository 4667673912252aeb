// Popovers: a view controller's content shown in a window of its own next to a rectangle of another view
// (the status item's button), closed by the application or, when transient, by a click elsewhere.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/appkit/styled_window.h"
#include "platform/appkit/view.h"
#include "platform/appkit/view_controller.h"
#include "platform/foundation/geometry.h"

namespace appkit {

// A side of a rectangle, with the platform's raw values, taken on the screen: minY is the lower side.
enum class RectEdge : std::uint64_t { minX = 0, minY = 1, maxX = 2, maxY = 3 };

class Popover;

// The window a popover shows its content in: untitled, able to take keyboard focus.
class PopoverWindow final : public StyledWindow {
 public:
  explicit PopoverWindow(std::weak_ptr<Popover> popover);
  bool canBecomeKeyWindow() const override { return true; }

 protected:
  void mouseDownOnScreen(bool isInside, foundation::Point location) override;

 private:
  std::weak_ptr<Popover> popover_;
};

// Always owned through a shared pointer. Main thread only.
class Popover : public std::enable_shared_from_this<Popover> {
 public:
  // How the popover closes, with the platform's raw values: only when told to, at a click outside it,
  // or at a click outside it in another application.
  enum class Behavior : std::int64_t { applicationDefined = 0, transient = 1, semitransient = 2 };

  static std::shared_ptr<Popover> make();

  // The content's size unless the content view controller asks for one of its own.
  foundation::Size contentSize() const { return contentSize_; }
  void setContentSize(foundation::Size size) { contentSize_ = size; }
  Behavior behavior() const { return behavior_; }
  void setBehavior(Behavior behavior) { behavior_ = behavior; }
  bool animates() const { return animates_; }
  void setAnimates(bool animates) { animates_ = animates; }
  const std::shared_ptr<ViewController>& contentViewController() const { return contentViewController_; }
  void setContentViewController(std::shared_ptr<ViewController> controller);

  bool isShown() const { return isShown_; }
  // Shows the content next to `positioningRect` (in the coordinates of `positioningView`, which must be
  // in a window): on the preferred side, centred along it, at the content's size; the popover's window
  // comes to the front and takes keyboard focus. Showing a shown popover moves it. Nothing happens
  // without content or when the view is in no window.
  void show(foundation::Rect positioningRect, const View& positioningView, RectEdge preferredEdge);
  // Closes the popover (with its animation, when it animates); nothing happens when it is not shown.
  void performClose();
  void close();

  // The window of the content while shown; null before the first showing.
  const std::shared_ptr<PopoverWindow>& window() const { return window_; }

  struct Token {};
  explicit Popover(Token) {}

 private:
  foundation::Size presentedSize() const;

  foundation::Size contentSize_;
  Behavior behavior_ = Behavior::applicationDefined;
  bool animates_ = true;
  std::shared_ptr<ViewController> contentViewController_;
  std::shared_ptr<PopoverWindow> window_;
  bool isShown_ = false;
};

}  // namespace appkit
