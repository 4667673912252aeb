#include "platform/appkit/popover.h"

#include <utility>

namespace appkit {

PopoverWindow::PopoverWindow(std::weak_ptr<Popover> popover)
    : StyledWindow(foundation::Rect(), StyleMask::borderless, BackingStoreType::buffered, false),
      popover_(std::move(popover)) {
  setLevel(Level::popUpMenu);
}

void PopoverWindow::mouseDownOnScreen(bool isInside, foundation::Point location) {
  StyledWindow::mouseDownOnScreen(isInside, location);
  if (isInside) return;
  auto popover = popover_.lock();
  if (popover && popover->isShown() && popover->behavior() != Popover::Behavior::applicationDefined) {
    popover->performClose();
  }
}

std::shared_ptr<Popover> Popover::make() { return std::make_shared<Popover>(Token{}); }

void Popover::setContentViewController(std::shared_ptr<ViewController> controller) {
  contentViewController_ = std::move(controller);
  if (window_) window_->setContentViewController(contentViewController_);
}

foundation::Size Popover::presentedSize() const {
  if (auto preferred = contentViewController_->preferredContentSize()) return *preferred;
  return contentSize_;
}

void Popover::show(foundation::Rect positioningRect, const View& positioningView, RectEdge preferredEdge) {
  if (!contentViewController_) return;
  auto anchorWindow = positioningView.window();
  if (!anchorWindow) return;
  // The rectangle in the view's window (origin top-left, y down), then on the screen (y up).
  const foundation::Rect inWindow = positioningView.convertRectToView(positioningRect, nullptr);
  const foundation::Rect windowFrame = anchorWindow->frame();
  const foundation::Rect anchor(windowFrame.minX() + inWindow.minX(), windowFrame.maxY() - inWindow.maxY(),
                                inWindow.width(), inWindow.height());
  const foundation::Size size = presentedSize();
  foundation::Point origin;
  switch (preferredEdge) {
    case RectEdge::minY:
      origin = {anchor.midX() - size.width / 2, anchor.minY() - size.height};
      break;
    case RectEdge::maxY:
      origin = {anchor.midX() - size.width / 2, anchor.maxY()};
      break;
    case RectEdge::minX:
      origin = {anchor.minX() - size.width, anchor.midY() - size.height / 2};
      break;
    case RectEdge::maxX:
      origin = {anchor.maxX(), anchor.midY() - size.height / 2};
      break;
  }
  if (!window_) {
    window_ = std::make_shared<PopoverWindow>(weak_from_this());
    window_->setContentViewController(contentViewController_);
  }
  isShown_ = true;
  window_->setFrame(foundation::Rect(origin, size));
  window_->makeKeyAndOrderFront();
}

void Popover::performClose() { close(); }

void Popover::close() {
  if (!isShown_) return;
  isShown_ = false;
  if (window_) window_->orderOut();
}

}  // namespace appkit
