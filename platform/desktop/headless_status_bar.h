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

#include "platform/foundation/geometry.h"

namespace desktop {

// One item as the menu bar shows it.
struct StatusItemRecord {
  std::uint64_t number = 0;
  std::optional<std::string> imageName;
  bool isTemplateImage = false;
  std::optional<std::string> toolTip;
  // In global coordinates: inside the menu bar at the top of the main screen.
  foundation::Rect frame;
  bool operator==(const StatusItemRecord&) const = default;
};

// Thread-safe: one mutex guards the items; click handlers are called outside it, on the calling thread
// (the menu bar delivers clicks on the main thread, so tests click there).
//
// Items sit in the menu bar at the top of the main screen, right to left in the order they were added,
// starting `trailingInset` points from the screen's right edge (where the system's own items are).
class HeadlessStatusBar {
 public:
  using ClickHandler = std::function<void()>;

  // The height of the menu bar.
  static constexpr double thickness = 22;
  // Where the first item starts unless a test moves it.
  static constexpr double defaultTrailingInset = 160;

  // Adds an item of `width` points (never 0, unique in the process across desktops).
  std::uint64_t addItem(double width, ClickHandler onClick);
  // Removes an item; the ones to its left move right. Unknown numbers are ignored.
  void removeItem(std::uint64_t number);
  void setWidth(std::uint64_t number, double width);
  // Nothing: the item shows no image (or no tooltip).
  void setImage(std::uint64_t number, std::optional<std::string> name, bool isTemplate);
  void setToolTip(std::uint64_t number, std::optional<std::string> toolTip);

  // The items, rightmost first.
  std::vector<StatusItemRecord> items() const;
  std::optional<StatusItemRecord> item(std::uint64_t number) const;

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
