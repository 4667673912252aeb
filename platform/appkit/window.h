// A window: a frame on screen, a title and the content view at the top of its view hierarchy.
#pragma once

#include <memory>
#include <string>

#include "platform/appkit/view.h"
#include "platform/foundation/geometry.h"

namespace appkit {

class Event;
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

  // Keyboard focus between windows: at most one window of the application is key, and key events go to
  // its first responder. Making a window key takes the state from the window that had it.
  virtual bool canBecomeKeyWindow() const { return true; }
  bool isKeyWindow() const;
  // Makes the window key when it may become key; returns whether it is key now.
  bool makeKeyWindow();
  // The window stops being key (nothing is key afterwards); nothing happens when it is not key.
  void resignKeyWindow();
  // The key window, or null when none is.
  static std::shared_ptr<Window> keyWindow();

  // An event the application hands the window (see dispatchEvent). A key press goes to the first
  // responder and up the responders above it; when none handles it, Tab and Shift-Tab move focus along
  // the key-view loop. A press of the pointer makes the window key, gives keyboard focus to the view
  // under the pointer when it takes focus (focus stays where it was otherwise), and goes to the responder
  // under the pointer, which also gets the release.
  void sendEvent(const Event& event);
  // Moves focus to the next (previous) view of the key-view loop: the views in the window that can
  // become key view, in the order of the view hierarchy, starting over at the end. Returns whether a
  // view took focus.
  bool selectNextKeyView();
  bool selectPreviousKeyView();

 private:
  bool selectKeyView(bool isForward);
  std::weak_ptr<View> mouseTarget_;  // the responder that got the last press, until its release
  foundation::Rect frame_;
  std::string title_;
  std::shared_ptr<View> contentView_;
  std::shared_ptr<ViewController> contentViewController_;
};

}  // namespace appkit
