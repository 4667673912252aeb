// The observers of one kind of desktop news, by token: added and removed from any thread, and told
// outside the list's lock, so that an observer may add and remove observers or cause further news.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace desktop {

// Thread-safe: one mutex guards the observers and the next token; notify() calls a copy taken under it.
template <typename... Arguments>
class ObserverList {
 public:
  using Observer = std::function<void(Arguments...)>;

  // The returned token (never 0) removes the observer.
  std::size_t add(Observer observer) {
    std::lock_guard lock(mutex_);
    const std::size_t token = nextToken_++;
    observers_.emplace(token, std::move(observer));
    return token;
  }
  // An unknown token does nothing.
  void remove(std::size_t token) {
    std::lock_guard lock(mutex_);
    observers_.erase(token);
  }
  // Tells the observers there were when it was called, in the order they were added.
  void notify(const Arguments&... arguments) const {
    std::vector<Observer> observers;
    {
      std::lock_guard lock(mutex_);
      for (const auto& [token, observer] : observers_) observers.push_back(observer);
    }
    for (const auto& observer : observers) observer(arguments...);
  }

 private:
  mutable std::mutex mutex_;
  std::map<std::size_t, Observer> observers_;
  std::size_t nextToken_ = 1;
};

}  // namespace desktop
