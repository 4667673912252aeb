// A window: a frame on screen, a title and the content view at the top of its view hierarchy.
#pragma once

#include <memory>
#include <string>

#include "platform/appkit/view.h"
#include "platform/foundation/geometry.h"
#include "platform/foundation/notification_center.h"

namespace appkit {

class Event;
class ViewController;

// Told about changes of one window; each call carries the window's notification (its object is the
// window). Main thread only.
class WindowDelegate {
 public:
  virtual ~WindowDelegate() = default;
  virtual void windowDidBecomeKey(const foundation::Notification&) {}
  virtual void windowDidResignKey(const foundation::Notification&) {}
  virtual void windowWillClose(const foundation::Notification&) {}
};

// Always owned through a shared pointer (views find their window weakly). Main thread only.
class Window : public std::enable_shared_from_this<Window> {
 public:
  explicit Window(foundation::Rect frame = {}) : frame_(frame) {}
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Posted on the default notification centre with the window as object.
  static constexpr const char* didBecomeKeyNotification = "NSWindowDidBecomeKeyNotification";
  static constexpr const char* didResignKeyNotification = "NSWindowDidResignKeyNotification";
  static constexpr const char* didBecomeMainNotification = "NSWindowDidBecomeMainNotification";
  static constexpr const char* didResignMainNotification = "NSWindowDidResignMainNotification";

  virtual ~Window() = default;

  foundation::Rect frame() const { return frame_; }
  virtual void setFrame(foundation::Rect frame);
  const std::string& title() const { return title_; }
  virtual void setTitle(std::string title) { title_ = std::move(title); }

  // Held weakly, as the platform does: whoever sets a delegate keeps it alive.
  std::shared_ptr<WindowDelegate> delegate() const { return delegate_.lock(); }
  void setDelegate(const std::shared_ptr<WindowDelegate>& delegate) { delegate_ = delegate; }

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

  // The main window: the one the application's commands act on, at most one. Making a window main takes
  // the state from the window that had it; the change is posted.
  virtual bool canBecomeMainWindow() const { return true; }
  bool isMainWindow() const;
  bool makeMainWindow();
  void resignMainWindow();
  static std::shared_ptr<Window> mainWindow();

 protected:
  // Posts a notification about this window on the default centre.
  void postNotification(const char* name) const;

 private:
  bool selectKeyView(bool isForward);
  std::weak_ptr<View> mouseTarget_;  // the responder that got the last press, until its release
  foundation::Rect frame_;
  std::string title_;
  std::shared_ptr<View> contentView_;
  std::shared_ptr<ViewController> contentViewController_;
  std::weak_ptr<WindowDelegate> delegate_;
};

}  // namespace appkit
