// The status area of the desktop's menu bar, headless: the items this program put there, with the image
// and tooltip each shows and where it sits; a test clicks them.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop/status_bar_service.h"
#include "platform/foundation/geometry.h"

namespace desktop {

// Thread-safe: one mutex guards the items; click handlers are called outside it, on the calling thread
// (the menu bar delivers clicks on the main thread, so tests click there).
//
// Items sit in the menu bar at the top of the main screen, right to left in the order they were added,
// starting `trailingInset` points from the screen's right edge (where the system's own items are).
class HeadlessStatusBar final : public StatusBarService {
 public:
  // The height of the menu bar.
  static constexpr double menuBarThickness = 22;
  double thickness() const override { return menuBarThickness; }
  // Where the first item starts unless a test moves it.
  static constexpr double defaultTrailingInset = 160;

  // Adds an item of `width` points (never 0, unique in the process across desktops).
  std::uint64_t addItem(double width, ClickHandler onClick) override;
  // Removes an item; the ones to its left move right. Unknown numbers are ignored.
  void removeItem(std::uint64_t number) override;
  void setWidth(std::uint64_t number, double width) override;
  void setImage(std::uint64_t number, std::optional<StatusItemImage> image) override;
  void setToolTip(std::uint64_t number, std::optional<std::string> toolTip) override;

  // The items, rightmost first.
  std::vector<StatusItemRecord> items() const;
  std::optional<StatusItemRecord> item(std::uint64_t number) const override;

  // The main screen's frame, which the menu bar spans (the desktop keeps it current).
  void setScreenFrame(foundation::Rect frame);
  // Moves the items: the first one's right edge lies `inset` points left of the screen's right edge.
  void setTrailingInset(double inset);

  // The user clicks an item: its handler runs. False for an unknown item.
  bool click(std::uint64_t number);

 private:
  struct Entry {
    StatusItemRecord record;
    double width = 0;
    ClickHandler onClick;
  };
  std::vector<StatusItemRecord> layOut() const;  // callers hold the lock

  mutable std::mutex mutex_;
  std::map<std::uint64_t, Entry> entries_;  // by number: the order they were added
  foundation::Rect screenFrame_;
  double trailingInset_ = defaultTrailingInset;
};

}  // namespace desktop
