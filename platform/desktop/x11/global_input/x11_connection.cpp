#include "platform/desktop/x11/global_input/x11_connection.h"

#include <X11/Xlib.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

#include "platform/foundation/text_error.h"

namespace desktop::x11 {
namespace {

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The error handler is one per process, shared with every other X connection (the toolkit's too), so
// errors are recorded only for the connection whose checked requests are running and passed on otherwise.
// Guarded by errorTrapMutex: one checked request at a time in the whole program.
std::mutex errorTrapMutex;
Display* trappedDisplay = nullptr;
int firstTrappedError = Success;
XErrorHandler previousErrorHandler = nullptr;

int recordError(Display* display, XErrorEvent* error) {
  if (display == trappedDisplay) {
    if (firstTrappedError == Success) firstTrappedError = error->error_code;
    return 0;
  }
  return previousErrorHandler ? previousErrorHandler(display, error) : 0;
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
  return std::unique_ptr<X11Connection>(new X11Connection(display));
}

X11Connection::X11Connection(Display* display) : display_(display) {}

X11Connection::~X11Connection() {
  if (eventThread_.joinable()) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(wakeFd_, &one, sizeof one);
    eventThread_.join();
  }
  if (wakeFd_ >= 0) ::close(wakeFd_);
  XCloseDisplay(display_);
}

void X11Connection::startEvents(EventHandler handler) {
  if (eventThread_.joinable()) return;
  handler_ = std::move(handler);
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC);
  eventThread_ = std::thread([this] { readEvents(); });
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
  trappedDisplay = display_;
  firstTrappedError = Success;
  previousErrorHandler = XSetErrorHandler(recordError);
  requests();
  XSync(display_, False);
  XSetErrorHandler(previousErrorHandler);
  trappedDisplay = nullptr;
  return firstTrappedError;
}

}  // namespace desktop::x11
