// The desktop's window server: the windows this program puts on the screen, with their titles, frames and
// levels, the order they stand in, whether the person can see them, and presses of the pointer.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/geometry.h"

namespace desktop {

// What the window server tells the program about one of its windows.
struct WindowServerEvent {
  enum class Kind {
    visibilityChanged,  // the window became visible to the person, or stopped being visible
    mouseDownInside,    // the pointer was pressed over the window (it is the frontmost one there)
    mouseDownOutside,   // the pointer was pressed anywhere else: another window, another application
  };
  Kind kind = Kind::visibilityChanged;
  // The pointer's location in global coordinates, for presses.
  foundation::Point location;
};

// One window as the window server knows it.
struct WindowRecord {
  std::uint64_t number = 0;
  std::string title;
  // In global coordinates (origin at the bottom-left of the main screen, y growing upwards).
  foundation::Rect frame;
  // The application kit's raw window level: higher levels stand in front of lower ones.
  int level = 0;
  bool isOnScreen = false;
  // Another application's window covers it completely.
  bool isCovered = false;

  // On screen and not covered.
  bool isVisible() const { return isOnScreen && !isCovered; }
  bool operator==(const WindowRecord&) const = default;
};

class WindowServerService {
 public:
  // Hears about one window. Called on the main thread, never while the server holds a lock of its own,
  // so it may call the server back.
  using Handler = std::function<void(const WindowServerEvent&)>;

  virtual ~WindowServerService() = default;

  // Makes a record for a new window, off screen, and returns its number (never 0, never reused in the
  // process, even across desktops, so a number kept from another desktop names no window here).
  virtual std::uint64_t createWindow(Handler handler) = 0;
  // Forgets a window (it leaves the screen); unknown numbers are ignored. The handler is not called
  // after this returns.
  virtual void destroyWindow(std::uint64_t number) = 0;

  // What the server shows of a window; unknown numbers are ignored.
  virtual void setTitle(std::uint64_t number, const std::string& title) = 0;
  virtual void setFrame(std::uint64_t number, foundation::Rect frame) = 0;
  virtual void setLevel(std::uint64_t number, int level) = 0;
  // Puts a window on the screen in front of the others of its level, or takes it off.
  virtual void orderFront(std::uint64_t number) = 0;
  virtual void orderOut(std::uint64_t number) = 0;

  // Which presses on a window's frame are the window's (given the global location): a window that lets
  // clicks through where it draws nothing passes the others to the window beneath. A null filter: every
  // press on the frame is the window's (the default). A server that cannot filter ignores it.
  using ClickFilter = std::function<bool(foundation::Point)>;
  virtual void setClickFilter(std::uint64_t /*number*/, ClickFilter /*filter*/) {}

  // The program's windows on screen, the frontmost first.
  virtual std::vector<WindowRecord> windowsOnScreen() const = 0;
  // Nothing for an unknown number.
  virtual std::optional<WindowRecord> window(std::uint64_t number) const = 0;
};

}  // namespace desktop
