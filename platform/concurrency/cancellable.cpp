#include "platform/concurrency/cancellable.h"

namespace concurrency {

AnyCancellable::AnyCancellable(std::function<void()> cancel)
    : box_(cancel ? std::make_shared<Box>(std::move(cancel)) : nullptr) {}

void AnyCancellable::cancel() const {
  if (box_) box_->run();
}

bool AnyCancellable::isActive() const {
  if (!box_) return false;
  std::lock_guard lock(box_->mutex);
  return static_cast<bool>(box_->cancel);
}

AnyCancellable::Box::~Box() { run(); }

void AnyCancellable::Box::run() {
  std::function<void()> taken;
  {
    std::lock_guard lock(mutex);
    taken.swap(cancel);
  }
  // Outside the lock: the closure may release other cancellables, or this one's owner.
  if (taken) taken();
}

}  // namespace concurrency
