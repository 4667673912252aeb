// The status area of the desktop's menu bar: the items this program puts there, the picture and tooltip
// each shows, where its button stands, and clicks on it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/geometry.h"

namespace desktop {

// The picture an item shows.
struct StatusItemImage {
  // The name the program knows the picture by.
  std::string name;
  // The SVG file it is drawn from.
  std::filesystem::path path;
  // Drawn in the menu bar's own colour rather than its own.
  bool isTemplate = false;
  bool operator==(const StatusItemImage&) const = default;
};

// One item as the menu bar shows it.
struct StatusItemRecord {
  std::uint64_t number = 0;
  std::optional<StatusItemImage> image;
  std::optional<std::string> toolTip;
  // The item's button in global coordinates (origin at the bottom-left of the main screen, y growing
  // upwards): inside the menu bar.
  foundation::Rect frame;
  bool operator==(const StatusItemRecord&) const = default;
};

class StatusBarService {
 public:
  // Called on the main thread, never while the service holds a lock of its own.
  using ClickHandler = std::function<void()>;

  virtual ~StatusBarService() = default;

  // The height of the menu bar, which every item's button shares.
  virtual double thickness() const = 0;

  // Adds an item `width` points wide at the left of this program's other items and returns its number
  // (never 0, never reused in the process, even across desktops).
  virtual std::uint64_t addItem(double width, ClickHandler onClick) = 0;
  // Removes an item; unknown numbers are ignored. Its handler is not called after this returns.
  virtual void removeItem(std::uint64_t number) = 0;
  virtual void setWidth(std::uint64_t number, double width) = 0;
  // Nothing: the item shows no picture (or no tooltip).
  virtual void setImage(std::uint64_t number, std::optional<StatusItemImage> image) = 0;
  virtual void setToolTip(std::uint64_t number, std::optional<std::string> toolTip) = 0;

  // The item as it is shown, its frame where the menu bar placed it; nothing for an unknown number.
  virtual std::optional<StatusItemRecord> item(std::uint64_t number) const = 0;
};

}  // namespace desktop
