// A window: a frame on screen, a title and the content view at the top of its view hierarchy.
#pragma once

#include <memory>
#include <string>

#include "platform/appkit/view.h"
#include "platform/foundation/geometry.h"

namespace appkit {

class ViewController;

// Always owned through a shared pointer (views find their window weakly). Main thread only.
class Window : public std::enable_shared_from_this<Window> {
 public:
  explicit Window(foundation::Rect frame = {}) : frame_(frame) {}
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  foundation::Rect frame() const { return frame_; }
  void setFrame(foundation::Rect frame);
  const std::string& title() const { return title_; }
  void setTitle(std::string title) { title_ = std::move(title); }

  // The view filling the window; it is given the window's size.
  const std::shared_ptr<View>& contentView() const { return contentView_; }
  void setContentView(std::shared_ptr<View> view);
  const std::shared_ptr<ViewController>& contentViewController() const { return contentViewController_; }
  // Shows the controller's view as the content view.
  void setContentViewController(std::shared_ptr<ViewController> controller);

 private:
  foundation::Rect frame_;
  std::string title_;
  std::shared_ptr<View> contentView_;
  std::shared_ptr<ViewController> contentViewController_;
};

}  // namespace appkit
