// The notification centre: named notifications posted to the observers that registered for them.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace foundation {

class RunLoop;

// Extra values a notification carries, by key ("name" → a shortcut name, an application, ...).
using UserInfo = std::map<std::string, std::any>;

struct Notification {
  std::string name;
  // The sender's identity, or null. Observers may filter by it; it is never dereferenced here.
  const void* object = nullptr;
  UserInfo userInfo;

  // The user-info value under `key` when it is there and holds a T.
  template <class T>
  std::optional<T> userInfoValue(const std::string& key) const {
    auto found = userInfo.find(key);
    if (found == userInfo.end()) return std::nullopt;
    if (const T* value = std::any_cast<T>(&found->second)) return *value;
    return std::nullopt;
  }
};

class NotificationCenter;

// Keeps an observer registered while it lives; destroying it or calling remove() unregisters the
// observer. Move-only. After remove() returns, the observer's block is not started again (a delivery
// already running on another thread may still complete).
class ObserverToken {
 public:
  ObserverToken() = default;
  ~ObserverToken();
  ObserverToken(ObserverToken&& other) noexcept;
  ObserverToken& operator=(ObserverToken&& other) noexcept;
  ObserverToken(const ObserverToken&) = delete;
  ObserverToken& operator=(const ObserverToken&) = delete;

  void remove();
  bool isActive() const;

  struct Registration;

 private:
  friend class NotificationCenter;
  explicit ObserverToken(std::shared_ptr<Registration> registration);
  std::shared_ptr<Registration> registration_;
};

// Thread-safe: one mutex guards the observer list; blocks run outside it, so observers may be added or
// removed (also themselves) while a notification is delivered. Observers added during a delivery do not
// receive that notification; observers removed during it receive nothing more.
class NotificationCenter {
 public:
  using Block = std::function<void(const Notification&)>;

  // The process-wide centre.
  static NotificationCenter& defaultCenter();

  NotificationCenter();
  ~NotificationCenter();
  NotificationCenter(const NotificationCenter&) = delete;
  NotificationCenter& operator=(const NotificationCenter&) = delete;

  // Observes notifications called `name` (an empty name: every notification) from `object` (null: from
  // any sender). With a queue the block runs there, asynchronously, in posting order; with no queue it
  // runs on the posting thread before post() returns.
  [[nodiscard]] ObserverToken addObserver(std::string name, const void* object, RunLoop* queue, Block block);

  // Delivers to the observers registered when the post starts, in the order they registered.
  void post(const Notification& notification);
  void post(std::string name, const void* object = nullptr, UserInfo userInfo = {});

  // Unregisters the observer of `token` (same as token.remove()).
  void removeObserver(ObserverToken& token);

  std::size_t observerCount() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace foundation
