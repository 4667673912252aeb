#include "platform/appkit/window.h"

#include "platform/appkit/view_controller.h"

namespace appkit {
namespace {

// Windows live on the main thread only, so the key window needs no lock.
std::weak_ptr<Window>& keyWindowSlot() {
  static std::weak_ptr<Window> slot;
  return slot;
}

}  // namespace

void Window::setFrame(foundation::Rect frame) {
  frame_ = frame;
  if (contentView_) contentView_->setFrame({{0, 0}, frame.size});
}

void Window::setContentView(std::shared_ptr<View> view) {
  if (view && view == contentView_) {
    contentView_->setFrame({{0, 0}, frame_.size});
    return;
  }
  auto old = std::move(contentView_);
  if (old) old->window_.reset();
  contentView_ = std::move(view);
  if (contentView_) {
    contentView_->removeFromSuperview();
    contentView_->window_ = weak_from_this();
    contentView_->setFrame({{0, 0}, frame_.size});
  }
  if (old) old->viewDidMoveToWindow();
  if (contentView_) contentView_->viewDidMoveToWindow();
}

void Window::setContentViewController(std::shared_ptr<ViewController> controller) {
  contentViewController_ = std::move(controller);
  setContentView(contentViewController_ ? contentViewController_->view() : nullptr);
}

bool Window::isKeyWindow() const { return keyWindowSlot().lock().get() == this; }

bool Window::makeKeyWindow() {
  if (!canBecomeKeyWindow()) return false;
  keyWindowSlot() = weak_from_this();
  return true;
}

void Window::resignKeyWindow() {
  if (isKeyWindow()) keyWindowSlot().reset();
}

std::shared_ptr<Window> Window::keyWindow() { return keyWindowSlot().lock(); }

}  // namespace appkit
