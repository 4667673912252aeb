#include "platform/foundation/notification_center.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include "platform/foundation/run_loop.h"

namespace foundation {

// What one observer registered. Everything but `isActive` is fixed at registration; the block is kept
// until the registration is released, so an observer may remove itself while its block runs.
struct ObserverToken::Registration {
  std::weak_ptr<NotificationCenter::State> center;
  std::string name;
  const void* object = nullptr;
  RunLoop* queue = nullptr;
  NotificationCenter::Block block;
  std::atomic<bool> isActive{true};

  bool matches(const Notification& notification) const {
    return (name.empty() || name == notification.name) &&
           (object == nullptr || object == notification.object);
  }
};

struct NotificationCenter::State {
  std::mutex mutex;  // guards observers
  std::vector<std::shared_ptr<ObserverToken::Registration>> observers;

  void remove(const ObserverToken::Registration* registration) {
    std::shared_ptr<ObserverToken::Registration> released;  // destroyed outside the lock
    std::lock_guard lock(mutex);
    auto found = std::find_if(observers.begin(), observers.end(),
                              [&](const auto& candidate) { return candidate.get() == registration; });
    if (found == observers.end()) return;
    released = std::move(*found);
    observers.erase(found);
  }
};

ObserverToken::ObserverToken(std::shared_ptr<Registration> registration)
    : registration_(std::move(registration)) {}

ObserverToken::~ObserverToken() { remove(); }

ObserverToken::ObserverToken(ObserverToken&& other) noexcept
    : registration_(std::move(other.registration_)) {}

ObserverToken& ObserverToken::operator=(ObserverToken&& other) noexcept {
  if (this != &other) {
    remove();
    registration_ = std::move(other.registration_);
  }
  return *this;
}

void ObserverToken::remove() {
  auto registration = std::move(registration_);
  registration_.reset();
  if (!registration) return;
  registration->isActive = false;
  if (auto center = registration->center.lock()) center->remove(registration.get());
}

bool ObserverToken::isActive() const { return registration_ && registration_->isActive; }

NotificationCenter& NotificationCenter::defaultCenter() {
  static NotificationCenter* instance = new NotificationCenter();  // never destroyed: used until exit
  return *instance;
}

NotificationCenter::NotificationCenter() : state_(std::make_shared<State>()) {}

NotificationCenter::~NotificationCenter() = default;

ObserverToken NotificationCenter::addObserver(std::string name, const void* object, RunLoop* queue,
                                              Block block) {
  auto registration = std::make_shared<ObserverToken::Registration>();
  registration->center = state_;
  registration->name = std::move(name);
  registration->object = object;
  registration->queue = queue;
  registration->block = std::move(block);
  {
    std::lock_guard lock(state_->mutex);
    state_->observers.push_back(registration);
  }
  return ObserverToken(std::move(registration));
}

void NotificationCenter::post(const Notification& notification) {
  std::vector<std::shared_ptr<ObserverToken::Registration>> targets;
  {
    std::lock_guard lock(state_->mutex);
    for (const auto& registration : state_->observers) {
      if (registration->matches(notification)) targets.push_back(registration);
    }
  }
  for (const auto& registration : targets) {
    if (!registration->isActive || !registration->block) continue;
    if (registration->queue) {
      registration->queue->async([registration, notification] {
        if (registration->isActive) registration->block(notification);
      });
    } else {
      registration->block(notification);
    }
  }
}

void NotificationCenter::post(std::string name, const void* object, UserInfo userInfo) {
  post(Notification{std::move(name), object, std::move(userInfo)});
}

void NotificationCenter::removeObserver(ObserverToken& token) { token.remove(); }

std::size_t NotificationCenter::observerCount() const {
  std::lock_guard lock(state_->mutex);
  return state_->observers.size();
}

}  // namespace foundation
