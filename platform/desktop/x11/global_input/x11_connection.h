// One X connection of this program's own, for a live service that must not share the toolkit's: its
// requests serialised by one lock, its events read on a thread of its own, and requests whose X errors the
// caller needs to see before going on.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

// Xlib's own types, declared here so that users of the services need not include Xlib (whose macros
// clash with common names).
struct _XDisplay;
union _XEvent;

namespace desktop::x11 {

// Why the live X services cannot work in this session (a Wayland session, no display, a display that
// cannot be opened); empty when they can.
std::string globalInputUnavailableReason();

// Thread-safe: every Xlib call on display() is made holding lock(); the event handler runs on the event
// thread holding it too (the lock is recursive, so the handler may make requests).
class X11Connection {
 public:
  using EventHandler = std::function<void(_XEvent&)>;

  // Opens the display named by DISPLAY; throws foundation::TextError saying why when it cannot.
  static std::unique_ptr<X11Connection> open();
  ~X11Connection();
  X11Connection(const X11Connection&) = delete;
  X11Connection& operator=(const X11Connection&) = delete;

  _XDisplay* display() const { return display_; }
  std::unique_lock<std::recursive_mutex> lock() { return std::unique_lock(mutex_); }

  // Starts delivering every event of the connection to `handler` on the event thread; once only.
  void startEvents(EventHandler handler);
  // Ends the event thread, after the handler call that runs, if any; nothing more is delivered. An owner
  // whose handler reaches its other members calls this before they go. Not from the handler.
  void stopEvents();

  // Makes the requests and waits until the server has answered them all; returns the error code of the
  // first X error they caused (Success when none). X reports errors such as a refused key grab only
  // later and, by default, ends the program over them, so requests that can be refused go through here.
  int checkedRequests(const std::function<void()>& requests);

 private:
  explicit X11Connection(_XDisplay* display);
  void readEvents();

  _XDisplay* display_;
  std::recursive_mutex mutex_;
  EventHandler handler_;
  int wakeFd_ = -1;
  std::thread eventThread_;
};

}  // namespace desktop::x11
