#include "platform/foundation/associated_storage.h"

#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace foundation {

namespace detail {

struct AssociatedSlots {
  std::mutex mutex;  // guards `values` and `isOpen`
  std::map<const void*, std::shared_ptr<void>> values;
  bool isOpen = true;

  std::shared_ptr<void> value(const void* key) {
    std::lock_guard lock(mutex);
    auto found = values.find(key);
    return found == values.end() ? nullptr : found->second;
  }

  // Returns the value that left the slot so the caller releases it outside the lock.
  std::shared_ptr<void> update(const void* key,
                               const std::function<std::shared_ptr<void>(std::shared_ptr<void>)>& change,
                               bool& applied) {
    std::lock_guard lock(mutex);
    applied = isOpen;
    if (!isOpen) return nullptr;
    std::shared_ptr<void> previous;
    if (auto found = values.find(key); found != values.end()) previous = found->second;
    std::shared_ptr<void> next = change(previous);
    if (next) {
      values[key] = std::move(next);
    } else {
      values.erase(key);
    }
    return previous;
  }
};

}  // namespace detail

AssociatedStorage::AssociatedStorage() : slots_(std::make_shared<detail::AssociatedSlots>()) {}

AssociatedStorage::~AssociatedStorage() {
  std::map<const void*, std::shared_ptr<void>> released;
  {
    std::lock_guard lock(slots_->mutex);
    slots_->isOpen = false;
    released.swap(slots_->values);
  }
  // `released` goes out of scope here, outside the lock: destructors of attached values may reach back
  // through weak references and must find the storage closed rather than deadlock.
}

std::shared_ptr<void> AssociatedStorage::value(const void* key) const { return slots_->value(key); }

void AssociatedStorage::setValue(const void* key, std::shared_ptr<void> value) {
  updateValue(key, [&](std::shared_ptr<void>) { return std::move(value); });
}

void AssociatedStorage::updateValue(
    const void* key, const std::function<std::shared_ptr<void>(std::shared_ptr<void>)>& change) {
  bool applied = false;
  std::shared_ptr<void> previous = slots_->update(key, change, applied);
}

AssociatedStorage::WeakReference AssociatedStorage::weakReference() const { return WeakReference(slots_); }

bool AssociatedStorage::WeakReference::isAlive() const {
  auto slots = slots_.lock();
  if (!slots) return false;
  std::lock_guard lock(slots->mutex);
  return slots->isOpen;
}

std::shared_ptr<void> AssociatedStorage::WeakReference::value(const void* key) const {
  auto slots = slots_.lock();
  return slots ? slots->value(key) : nullptr;
}

bool AssociatedStorage::WeakReference::updateValue(
    const void* key, const std::function<std::shared_ptr<void>(std::shared_ptr<void>)>& change) const {
  auto slots = slots_.lock();
  if (!slots) return false;
  bool applied = false;
  std::shared_ptr<void> previous = slots->update(key, change, applied);
  return applied;
}

}  // namespace foundation
