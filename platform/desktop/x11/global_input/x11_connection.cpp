#include "platform/desktop/x11/global_input/x11_connection.h"

#include <X11/Xlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <set>

#include "platform/foundation/text_error.h"

namespace desktop::x11 {
namespace {

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The error handler is one per process, shared with every X connection (the toolkit's too). Errors on this
// program's own service connections never end the program: those of checked requests are recorded for
// their caller, the others (a window that closed while its properties were read) are dropped. Errors on
// other connections go on to the handler that was there before. `ownMutex` guards the set of own
// connections and the handler before; `errorTrapMutex` lets one checked request run at a time.
std::mutex ownMutex;
std::set<Display*> ownDisplays;
XErrorHandler handlerBefore = nullptr;
std::mutex errorTrapMutex;
std::atomic<Display*> trappedDisplay{nullptr};
int firstTrappedError = Success;  // written only by the trapping thread's own requests

int handleError(Display* display, XErrorEvent* error) {
  if (display == trappedDisplay.load()) {
    if (firstTrappedError == Success) firstTrappedError = error->error_code;
    return 0;
  }
  XErrorHandler before = nullptr;
  {
    std::lock_guard lock(ownMutex);
    if (ownDisplays.contains(display)) return 0;
    before = handlerBefore;
  }
  return before ? before(display, error) : 0;
}

// Makes handleError the process's handler, keeping the one before it to pass other connections' errors on.
void installErrorHandler() {
  const XErrorHandler replaced = XSetErrorHandler(handleError);
  std::lock_guard lock(ownMutex);
  if (replaced != handleError) handlerBefore = replaced;
}

}  // namespace

std::string globalInputUnavailableReason() {
  if (!environmentValue("WAYLAND_DISPLAY").empty() || environmentValue("XDG_SESSION_TYPE") == "wayland")
    return "global hot keys, event monitors and typing into other applications are not available in a "
           "Wayland session";
  if (environmentValue("DISPLAY").empty()) return "there is no X display (DISPLAY is not set)";
  return "";
}

std::unique_ptr<X11Connection> X11Connection::open() {
  if (const std::string reason = globalInputUnavailableReason(); !reason.empty())
    throw foundation::TextError(reason);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr)
    throw foundation::TextError("the X display " + environmentValue("DISPLAY") + " cannot be opened");
  {
    std::lock_guard lock(ownMutex);
    ownDisplays.insert(display);
  }
  installErrorHandler();
  return std::unique_ptr<X11Connection>(new X11Connection(display));
}

X11Connection::X11Connection(Display* display) : display_(display) {}

X11Connection::~X11Connection() {
  stopEvents();
  if (wakeFd_ >= 0) ::close(wakeFd_);
  XCloseDisplay(display_);
  std::lock_guard lock(ownMutex);
  ownDisplays.erase(display_);
}

void X11Connection::startEvents(EventHandler handler) {
  if (eventThread_.joinable()) return;
  handler_ = std::move(handler);
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC);
  eventThread_ = std::thread([this] { readEvents(); });
}

void X11Connection::stopEvents() {
  if (!eventThread_.joinable()) return;
  const std::uint64_t one = 1;
  [[maybe_unused]] const auto written = ::write(wakeFd_, &one, sizeof one);
  eventThread_.join();
}

void X11Connection::readEvents() {
  pollfd descriptors[2] = {{ConnectionNumber(display_), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
  for (;;) {
    {
      auto held = lock();
      while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        handler_(event);
      }
    }
    if (::poll(descriptors, 2, -1) < 0) continue;
    if (descriptors[1].revents != 0) return;
    if (descriptors[0].revents & (POLLERR | POLLHUP)) return;
  }
}

int X11Connection::checkedRequests(const std::function<void()>& requests) {
  auto held = lock();
  std::lock_guard trap(errorTrapMutex);
  XSync(display_, False);  // errors of earlier requests are not this call's
  firstTrappedError = Success;
  trappedDisplay = display_;
  // Installed again: a toolkit opened later may have put its own handler in place.
  installErrorHandler();
  requests();
  XSync(display_, False);
  trappedDisplay = nullptr;
  return firstTrappedError;
}

}  // namespace desktop::x11
