#include "platform/appkit/view.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "platform/appkit/window.h"

namespace appkit {

View::~View() {
  for (auto& subview : subviews_) subview->superview_.reset();
}

std::string View::className() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
  return status == 0 && demangled ? std::string(demangled.get()) : std::string(mangled);
}

void View::setFrame(foundation::Rect frame) { frame_ = frame; }

void View::addSubview(std::shared_ptr<View> view) {
  if (!view || view.get() == this) return;
  view->removeFromSuperview();
  view->superview_ = weak_from_this();
  subviews_.push_back(std::move(view));
}

void View::setSubviews(std::vector<std::shared_ptr<View>> views) {
  std::erase_if(views, [this](const auto& view) { return !view || view.get() == this; });
  for (auto& old : subviews_) {
    if (std::find(views.begin(), views.end(), old) == views.end()) old->superview_.reset();
  }
  auto self = weak_from_this();
  for (auto& view : views) {
    auto parent = view->superview_.lock();
    if (parent && parent.get() != this) view->removeFromSuperview();
    view->superview_ = self;
  }
  subviews_ = std::move(views);
}

void View::removeFromSuperview() {
  auto parent = superview_.lock();
  superview_.reset();
  if (!parent) return;
  auto keep = shared_from_this();  // the superview may hold the last reference
  std::erase_if(parent->subviews_, [this](const auto& view) { return view.get() == this; });
}

bool View::isDescendantOf(const View& view) const {
  for (const View* current = this; current; current = current->superview_.lock().get()) {
    if (current == &view) return true;
  }
  return false;
}

std::shared_ptr<Window> View::window() const {
  const View* top = this;
  while (auto parent = top->superview_.lock()) top = parent.get();
  return top->window_.lock();
}

bool View::isHiddenOrHasHiddenAncestor() const {
  for (auto current = shared_from_this(); current; current = current->superview()) {
    if (current->isHidden_) return true;
  }
  return false;
}

std::shared_ptr<View> View::hitTest(foundation::Point point) {
  if (isHidden_ || !frame_.contains(point)) return nullptr;
  foundation::Point local{point.x - frame_.origin.x + boundsOrigin_.x,
                          point.y - frame_.origin.y + boundsOrigin_.y};
  for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
    if (auto hit = (*it)->hitTest(local)) return hit;
  }
  return shared_from_this();
}

foundation::Point View::toBase(foundation::Point point) const {
  for (const View* current = this; current;) {
    auto parent = current->superview_.lock();
    point = {point.x - current->boundsOrigin_.x + current->frame_.origin.x,
             point.y - current->boundsOrigin_.y + current->frame_.origin.y};
    current = parent.get();
  }
  return point;
}

foundation::Point View::fromBase(foundation::Point point) const {
  std::vector<const View*> chain;
  for (const View* current = this; current; current = current->superview_.lock().get())
    chain.push_back(current);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    point = {point.x - (*it)->frame_.origin.x + (*it)->boundsOrigin_.x,
             point.y - (*it)->frame_.origin.y + (*it)->boundsOrigin_.y};
  }
  return point;
}

foundation::Point View::convertPointFromView(foundation::Point point, const View* view) const {
  return fromBase(view ? view->toBase(point) : point);
}

foundation::Point View::convertPointToView(foundation::Point point, const View* view) const {
  auto base = toBase(point);
  return view ? view->fromBase(base) : base;
}

foundation::Rect View::convertRectFromView(foundation::Rect rect, const View* view) const {
  return {convertPointFromView(rect.origin, view), rect.size};
}

foundation::Rect View::convertRectToView(foundation::Rect rect, const View* view) const {
  return {convertPointToView(rect.origin, view), rect.size};
}

}  // namespace appkit
