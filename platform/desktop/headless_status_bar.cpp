#include "platform/desktop/headless_status_bar.h"

#include <atomic>
#include <utility>

namespace desktop {
namespace {

std::atomic<std::uint64_t> nextItemNumber{1};

}  // namespace

std::uint64_t HeadlessStatusBar::addItem(double width, ClickHandler onClick) {
  const std::uint64_t number = nextItemNumber++;
  std::lock_guard lock(mutex_);
  Entry entry;
  entry.record.number = number;
  entry.width = width;
  entry.onClick = std::move(onClick);
  entries_.emplace(number, std::move(entry));
  return number;
}

void HeadlessStatusBar::removeItem(std::uint64_t number) {
  ClickHandler dropped;
  std::lock_guard lock(mutex_);
  auto found = entries_.find(number);
  if (found == entries_.end()) return;
  dropped = std::move(found->second.onClick);
  entries_.erase(found);
}

void HeadlessStatusBar::setWidth(std::uint64_t number, double width) {
  std::lock_guard lock(mutex_);
  if (auto found = entries_.find(number); found != entries_.end()) found->second.width = width;
}

void HeadlessStatusBar::setImage(std::uint64_t number, std::optional<StatusItemImage> image) {
  std::lock_guard lock(mutex_);
  if (auto found = entries_.find(number); found != entries_.end())
    found->second.record.image = std::move(image);
}

void HeadlessStatusBar::setToolTip(std::uint64_t number, std::optional<std::string> toolTip) {
  std::lock_guard lock(mutex_);
  if (auto found = entries_.find(number); found != entries_.end()) {
    found->second.record.toolTip = std::move(toolTip);
  }
}

std::vector<StatusItemRecord> HeadlessStatusBar::layOut() const {
  std::vector<StatusItemRecord> result;
  double right = screenFrame_.maxX() - trailingInset_;
  for (const auto& [number, entry] : entries_) {
    StatusItemRecord record = entry.record;
    record.frame = foundation::Rect(right - entry.width, screenFrame_.maxY() - menuBarThickness, entry.width,
                                    menuBarThickness);
    right -= entry.width;
    result.push_back(std::move(record));
  }
  return result;
}

std::vector<StatusItemRecord> HeadlessStatusBar::items() const {
  std::lock_guard lock(mutex_);
  return layOut();
}

std::optional<StatusItemRecord> HeadlessStatusBar::item(std::uint64_t number) const {
  std::lock_guard lock(mutex_);
  for (auto& record : layOut()) {
    if (record.number == number) return record;
  }
  return std::nullopt;
}

void HeadlessStatusBar::setScreenFrame(foundation::Rect frame) {
  std::lock_guard lock(mutex_);
  screenFrame_ = frame;
}

void HeadlessStatusBar::setTrailingInset(double inset) {
  std::lock_guard lock(mutex_);
  trailingInset_ = inset;
}

bool HeadlessStatusBar::click(std::uint64_t number) {
  ClickHandler handler;
  {
    std::lock_guard lock(mutex_);
    auto found = entries_.find(number);
    if (found == entries_.end()) return false;
    handler = found->second.onClick;
  }
  if (handler) handler();
  return true;
}

}  // namespace desktop
