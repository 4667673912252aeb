#include "platform/desktop/headless_window_server.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace desktop {
namespace {

std::atomic<std::uint64_t> nextWindowNumber{1};

}  // namespace

std::uint64_t HeadlessWindowServer::createWindow(Handler handler) {
  const std::uint64_t number = nextWindowNumber++;
  std::lock_guard lock(mutex_);
  Entry entry;
  entry.record.number = number;
  entry.handler = std::move(handler);
  entries_.emplace(number, std::move(entry));
  return number;
}

void HeadlessWindowServer::destroyWindow(std::uint64_t number) {
  Handler dropped;
  {
    std::lock_guard lock(mutex_);
    auto found = entries_.find(number);
    if (found == entries_.end()) return;
    dropped = std::move(found->second.handler);
    entries_.erase(found);
  }
  // The handler (and what it holds) goes outside the lock.
}

void HeadlessWindowServer::changeEntry(std::uint64_t number, const std::function<void(Entry&)>& change) {
  Handler handler;
  {
    std::lock_guard lock(mutex_);
    auto found = entries_.find(number);
    if (found == entries_.end()) return;
    const bool wasVisible = found->second.record.isVisible();
    change(found->second);
    if (found->second.record.isVisible() == wasVisible) return;
    handler = found->second.handler;
  }
  if (handler) handler(WindowServerEvent{WindowServerEvent::Kind::visibilityChanged, {}});
}

void HeadlessWindowServer::setTitle(std::uint64_t number, const std::string& title) {
  changeEntry(number, [&](Entry& entry) { entry.record.title = title; });
}

void HeadlessWindowServer::setFrame(std::uint64_t number, foundation::Rect frame) {
  changeEntry(number, [&](Entry& entry) { entry.record.frame = frame; });
}

void HeadlessWindowServer::setLevel(std::uint64_t number, int level) {
  changeEntry(number, [&](Entry& entry) { entry.record.level = level; });
}

void HeadlessWindowServer::orderFront(std::uint64_t number) {
  changeEntry(number, [&](Entry& entry) {
    entry.record.isOnScreen = true;
    entry.order = nextOrder_++;
  });
}

void HeadlessWindowServer::orderOut(std::uint64_t number) {
  changeEntry(number, [](Entry& entry) { entry.record.isOnScreen = false; });
}

void HeadlessWindowServer::setCovered(std::uint64_t number, bool isCovered) {
  changeEntry(number, [&](Entry& entry) { entry.record.isCovered = isCovered; });
}

std::vector<const HeadlessWindowServer::Entry*> HeadlessWindowServer::frontToBack() const {
  std::vector<const Entry*> shown;
  for (const auto& [number, entry] : entries_) {
    if (entry.record.isOnScreen) shown.push_back(&entry);
  }
  std::sort(shown.begin(), shown.end(), [](const Entry* a, const Entry* b) {
    if (a->record.level != b->record.level) return a->record.level > b->record.level;
    return a->order > b->order;
  });
  return shown;
}

std::vector<WindowRecord> HeadlessWindowServer::windowsOnScreen() const {
  std::lock_guard lock(mutex_);
  std::vector<WindowRecord> result;
  for (const Entry* entry : frontToBack()) result.push_back(entry->record);
  return result;
}

std::optional<WindowRecord> HeadlessWindowServer::window(std::uint64_t number) const {
  std::lock_guard lock(mutex_);
  auto found = entries_.find(number);
  if (found == entries_.end()) return std::nullopt;
  return found->second.record;
}

void HeadlessWindowServer::setClickFilter(std::uint64_t number, ClickFilter filter) {
  std::lock_guard lock(mutex_);
  auto found = entries_.find(number);
  if (found != entries_.end()) found->second.clickFilter = std::move(filter);
}

std::optional<std::uint64_t> HeadlessWindowServer::windowTaking(foundation::Point location) const {
  std::vector<std::pair<std::uint64_t, ClickFilter>> candidates;
  {
    std::lock_guard lock(mutex_);
    for (const Entry* entry : frontToBack()) {
      if (entry->record.frame.contains(location))
        candidates.emplace_back(entry->record.number, entry->clickFilter);
    }
  }
  for (const auto& [number, filter] : candidates) {
    if (!filter || filter(location)) return number;
  }
  return std::nullopt;
}

std::optional<WindowRecord> HeadlessWindowServer::windowAt(foundation::Point location) const {
  const auto number = windowTaking(location);
  return number ? window(*number) : std::nullopt;
}

void HeadlessWindowServer::click(foundation::Point location) {
  const auto taker = windowTaking(location);
  std::vector<std::pair<WindowServerEvent::Kind, Handler>> deliveries;
  {
    std::lock_guard lock(mutex_);
    for (const Entry* entry : frontToBack()) {
      const bool isHit = taker && entry->record.number == *taker;
      deliveries.emplace_back(
          isHit ? WindowServerEvent::Kind::mouseDownInside : WindowServerEvent::Kind::mouseDownOutside,
          entry->handler);
    }
  }
  for (const auto& [kind, handler] : deliveries) {
    if (handler) handler(WindowServerEvent{kind, location});
  }
}

}  // namespace desktop
