#include "platform/appkit/view_controller.h"

#include <cxxabi.h>

#include <cstdlib>
#include <typeinfo>

namespace appkit {

ViewController::~ViewController() {
  for (auto& child : children_) child->parent_.reset();
}

std::string ViewController::className() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), &std::free);
  return status == 0 && demangled ? std::string(demangled.get()) : std::string(mangled);
}

const std::shared_ptr<View>& ViewController::view() {
  if (!view_) view_ = std::make_shared<View>();
  return view_;
}

void ViewController::addChildViewController(std::shared_ptr<ViewController> child) {
  if (!child || child.get() == this) return;
  child->removeFromParentViewController();
  child->parent_ = weak_from_this();
  children_.push_back(std::move(child));
}

void ViewController::removeFromParentViewController() {
  auto parent = parent_.lock();
  parent_.reset();
  if (!parent) return;
  auto keep = shared_from_this();
  std::erase_if(parent->children_, [this](const auto& child) { return child.get() == this; });
}

}  // namespace appkit
