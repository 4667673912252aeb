#include "platform/desktop/x11/global_input/x11_applications.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <string>

#include "platform/desktop/x11/global_input/window_properties.h"

namespace desktop::x11 {

X11Applications::X11Applications() : connection_(X11Connection::open()) {
  auto held = connection_->lock();
  Display* display = connection_->display();
  activeWindowAtom_ = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
  XSelectInput(display, DefaultRootWindow(display), PropertyChangeMask);
  if (const auto active = activeApplication()) lastFrontmost_ = active->processIdentifier;
  XSync(display, False);
  connection_->startEvents([this](XEvent& event) { handleEvent(event); });
}

X11Applications::~X11Applications() {
  // The event thread reaches the members through connection_: it ends while they are all there.
  connection_->stopEvents();
  connection_.reset();
}

std::optional<RunningApplication> X11Applications::describe(unsigned long window) const {
  Display* display = connection_->display();
  const auto pid = longProperty(display, window, "_NET_WM_PID", XA_CARDINAL);
  if (pid.empty() || int(pid[0]) == ::getpid()) return std::nullopt;
  RunningApplication application;
  application.processIdentifier = int(pid[0]);
  XClassHint hint{};
  if (XGetClassHint(display, window, &hint)) {
    if (hint.res_class) application.localizedName = hint.res_class;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
  }
  application.bundleIdentifier = textProperty(display, window, "_GTK_APPLICATION_ID");
  if (application.bundleIdentifier.empty()) application.bundleIdentifier = application.localizedName;
  return application;
}

std::vector<X11Applications::Window> X11Applications::windows() const {
  Display* display = connection_->display();
  std::vector<Window> result;
  for (const unsigned long window :
       longProperty(display, DefaultRootWindow(display), "_NET_CLIENT_LIST", XA_WINDOW, 4096)) {
    if (auto application = describe(window)) result.push_back({window, std::move(*application)});
  }
  return result;
}

std::vector<RunningApplication> X11Applications::applications() const {
  auto held = connection_->lock();
  std::vector<RunningApplication> result;
  for (const auto& window : windows()) {
    bool isListed = false;
    for (const auto& listed : result)
      isListed = isListed || listed.processIdentifier == window.application.processIdentifier;
    if (!isListed) result.push_back(window.application);
  }
  return result;
}

std::optional<RunningApplication> X11Applications::application(int processIdentifier) const {
  for (const auto& application : applications()) {
    if (application.processIdentifier == processIdentifier) return application;
  }
  return std::nullopt;
}

std::optional<RunningApplication> X11Applications::activeApplication() const {
  Display* display = connection_->display();
  const auto active = longProperty(display, DefaultRootWindow(display), "_NET_ACTIVE_WINDOW", XA_WINDOW);
  if (active.empty() || active[0] == None) return std::nullopt;
  return describe(active[0]);
}

std::optional<RunningApplication> X11Applications::frontmostApplication() const {
  auto held = connection_->lock();
  return activeApplication();
}

bool X11Applications::activateApplication(int processIdentifier) {
  auto held = connection_->lock();
  std::optional<unsigned long> target;
  for (const auto& window : windows()) {
    if (window.application.processIdentifier == processIdentifier) target = window.id;
  }
  if (!target) return false;
  Display* display = connection_->display();
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = *target;
  message.xclient.message_type = activeWindowAtom_;
  message.xclient.format = 32;
  message.xclient.data.l[0] = 2;  // the request comes from a pager-like program, on the person's behalf
  message.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &message);
  XFlush(display);
  return true;
}

std::size_t X11Applications::addActivationObserver(WorkspaceService::ActivationObserver observer) {
  return observers_.add(std::move(observer));
}

void X11Applications::removeActivationObserver(std::size_t token) { observers_.remove(token); }

void X11Applications::handleEvent(XEvent& event) {
  if (event.type != PropertyNotify || event.xproperty.atom != activeWindowAtom_) return;
  const auto active = activeApplication();
  {
    std::lock_guard lock(mutex_);
    // No window, or one of this program's, in front: coming back to the application before is an
    // activation again.
    if (!active) {
      lastFrontmost_.reset();
      return;
    }
    if (lastFrontmost_ == active->processIdentifier) return;
    lastFrontmost_ = active->processIdentifier;
  }
  observers_.notify(*active);
}

}  // namespace desktop::x11
