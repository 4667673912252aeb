#include "platform/appkit/window.h"

#include "platform/appkit/view_controller.h"

namespace appkit {
namespace {

// Windows live on the main thread only, so the key window needs no lock.
std::weak_ptr<Window>& keyWindowSlot() {
  static std::weak_ptr<Window> slot;
  return slot;
}

std::weak_ptr<Window>& mainWindowSlot() {
  static std::weak_ptr<Window> slot;
  return slot;
}

foundation::Notification notificationAbout(const Window& window, const char* name) {
  return foundation::Notification{name, &window, {}};
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
  if (isKeyWindow()) return true;
  if (auto previous = keyWindowSlot().lock()) previous->resignKeyWindow();
  keyWindowSlot() = weak_from_this();
  const auto notification = notificationAbout(*this, didBecomeKeyNotification);
  foundation::NotificationCenter::defaultCenter().post(notification);
  if (auto delegate = delegate_.lock()) delegate->windowDidBecomeKey(notification);
  return true;
}

void Window::resignKeyWindow() {
  if (!isKeyWindow()) return;
  keyWindowSlot().reset();
  const auto notification = notificationAbout(*this, didResignKeyNotification);
  foundation::NotificationCenter::defaultCenter().post(notification);
  if (auto delegate = delegate_.lock()) delegate->windowDidResignKey(notification);
}

std::shared_ptr<Window> Window::keyWindow() { return keyWindowSlot().lock(); }

bool Window::isMainWindow() const { return mainWindowSlot().lock().get() == this; }

bool Window::makeMainWindow() {
  if (!canBecomeMainWindow()) return false;
  if (isMainWindow()) return true;
  if (auto previous = mainWindowSlot().lock()) previous->resignMainWindow();
  mainWindowSlot() = weak_from_this();
  postNotification(didBecomeMainNotification);
  return true;
}

void Window::resignMainWindow() {
  if (!isMainWindow()) return;
  mainWindowSlot().reset();
  postNotification(didResignMainNotification);
}

std::shared_ptr<Window> Window::mainWindow() { return mainWindowSlot().lock(); }

void Window::postNotification(const char* name) const {
  foundation::NotificationCenter::defaultCenter().post(notificationAbout(*this, name));
}

}  // namespace appkit
