// The desktop's window server, headless: the windows this program has put on the screen, front to back,
// with their titles, frames and levels, whether the user can see them, and clicks of the pointer.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/window_server_service.h"
#include "platform/foundation/geometry.h"

namespace desktop {

// Thread-safe: one mutex guards the records; handlers are called outside it, on the calling thread. The
// program changes its windows on the main thread, and tests click and cover there too.
class HeadlessWindowServer final : public WindowServerService {
 public:
  // Makes a record for a new window, off screen, and returns its number (never 0, unique in the process
  // across desktops). The handler hears about that window only.
  std::uint64_t createWindow(Handler handler) override;
  // Forgets a window (it leaves the screen); unknown numbers are ignored.
  void destroyWindow(std::uint64_t number) override;

  // Updates what the server shows of a window; unknown numbers are ignored.
  void setTitle(std::uint64_t number, const std::string& title) override;
  void setFrame(std::uint64_t number, foundation::Rect frame) override;
  void setLevel(std::uint64_t number, int level) override;
  // Puts a window on the screen in front of the others of its level, or takes it off.
  void orderFront(std::uint64_t number) override;
  void orderOut(std::uint64_t number) override;
  // Presses on the window's frame that the filter refuses go to the window beneath.
  void setClickFilter(std::uint64_t number, ClickFilter filter) override;

  // The program's windows on screen, the frontmost first (higher levels in front of lower ones).
  std::vector<WindowRecord> windowsOnScreen() const override;
  std::optional<WindowRecord> window(std::uint64_t number) const override;
  // The frontmost window on screen that takes a press at a global point.
  std::optional<WindowRecord> windowAt(foundation::Point location) const;

  // Covers a window with another application's window, or uncovers it.
  void setCovered(std::uint64_t number, bool isCovered);
  // The user presses the pointer at a global location: the frontmost window there that takes the press
  // hears that it was clicked, every other window on screen that it was not.
  void click(foundation::Point location);

 private:
  struct Entry {
    WindowRecord record;
    Handler handler;
    ClickFilter clickFilter;  // null: every press on the frame
    std::uint64_t order = 0;  // larger: ordered front later
  };
  // Runs `change` on the entry under the lock and reports a change of visibility to its handler after.
  void changeEntry(std::uint64_t number, const std::function<void(Entry&)>& change);
  std::vector<const Entry*> frontToBack() const;  // callers hold the lock
  // The number of the window that takes a press there, if any. Takes the lock itself and asks the filters
  // outside it (a filter asks its window, which may call the server).
  std::optional<std::uint64_t> windowTaking(foundation::Point location) const;

  mutable std::mutex mutex_;
  std::map<std::uint64_t, Entry> entries_;
  std::uint64_t nextOrder_ = 1;
};

}  // namespace desktop
