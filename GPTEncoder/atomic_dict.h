// A dictionary that several threads may read and write: reads run side by side, each write runs alone.
#pragma once

#include <mutex>
#include <optional>
#include <shared_mutex>
#include <unordered_map>

namespace GPTTokenizer {

// Reads share the lock and may overlap one another; a write takes it exclusively, so it runs after every
// access that started before it and before every access that starts after it, and a read that starts
// after a write sees that write. This is the read/barrier discipline of a concurrent queue with barrier
// writes, kept with a reader-writer lock so that a writer never waits for a queue hop.
template <typename Key, typename Value, typename Hash = std::hash<Key>, typename Equal = std::equal_to<Key>>
class AtomicDict {
 public:
  AtomicDict() = default;
  AtomicDict(const AtomicDict&) = delete;
  AtomicDict& operator=(const AtomicDict&) = delete;

  // The value stored under the key, or nothing. `Lookup` may be any type the hash and equality accept.
  template <typename Lookup>
  std::optional<Value> value(const Lookup& key) const {
    std::shared_lock lock(mutex_);
    auto found = dictStorage_.find(key);
    if (found == dictStorage_.end()) return std::nullopt;
    return found->second;
  }

  // Stores the value under the key, or removes the key when the value is nothing.
  void setValue(const Key& key, std::optional<Value> value) {
    std::unique_lock lock(mutex_);
    if (value) {
      dictStorage_.insert_or_assign(key, std::move(*value));
    } else {
      dictStorage_.erase(key);
    }
  }

  std::size_t count() const {
    std::shared_lock lock(mutex_);
    return dictStorage_.size();
  }

 private:
  mutable std::shared_mutex mutex_;  // guards dictStorage_
  std::unordered_map<Key, Value, Hash, Equal> dictStorage_;
};

}  // namespace GPTTokenizer
