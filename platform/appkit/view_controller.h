// View controllers: a view with the controller that manages it, and a tree of child controllers.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/view.h"

namespace appkit {

// Always owned through a shared pointer: parents own their children, a child knows its parent weakly.
// Main thread only.
class ViewController : public std::enable_shared_from_this<ViewController> {
 public:
  ViewController() = default;
  explicit ViewController(std::shared_ptr<View> view) : view_(std::move(view)) {}
  virtual ~ViewController();
  ViewController(const ViewController&) = delete;
  ViewController& operator=(const ViewController&) = delete;

  // The runtime class name with its namespace, like View::className.
  std::string className() const;

  // The managed view; a plain view is made the first time it is asked for when none was given.
  const std::shared_ptr<View>& view();
  void setView(std::shared_ptr<View> view) { view_ = std::move(view); }

  // The size the controller's view asks for when it is presented (in a popover, a window): nothing
  // when it leaves that to the presenter.
  virtual std::optional<foundation::Size> preferredContentSize() { return std::nullopt; }

  const std::vector<std::shared_ptr<ViewController>>& childViewControllers() const { return children_; }
  std::shared_ptr<ViewController> parentViewController() const { return parent_.lock(); }
  // Adds `child` after the other children, taking it from its old parent first.
  void addChildViewController(std::shared_ptr<ViewController> child);
  void removeFromParentViewController();

 private:
  std::shared_ptr<View> view_;
  std::vector<std::shared_ptr<ViewController>> children_;
  std::weak_ptr<ViewController> parent_;
};

}  // namespace appkit
