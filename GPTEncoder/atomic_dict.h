// A dictionary that several threads may read and write: reads run side by side, each write runs alone.
#pragma once

#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/foundation/dispatch_queue.h"

namespace GPTTokenizer {

// Guarded by a concurrent queue: reads are synchronous plain blocks and may overlap one another; writes
// are barrier blocks, so each runs alone, after every block submitted before it and before every block
// submitted after it, and a read submitted after a write sees that write. Writes run on the writer's own
// thread (barrierSync): a hop to a pool thread would cost more than the merge a write records. Callers
// that touch many keys at once use the batch forms, one queue turn for all of them.
template <typename Key, typename Value, typename Hash = std::hash<Key>, typename Equal = std::equal_to<Key>>
class AtomicDict {
 public:
  AtomicDict() : queue_("com.quillo.gptencoder.atomic") {}
  AtomicDict(const AtomicDict&) = delete;
  AtomicDict& operator=(const AtomicDict&) = delete;

  // The value stored under the key, or nothing. `Lookup` may be any type the hash and equality accept.
  template <typename Lookup>
  std::optional<Value> value(const Lookup& key) const {
    return queue_.sync([&]() -> std::optional<Value> {
      auto found = dictStorage_.find(key);
      if (found == dictStorage_.end()) return std::nullopt;
      return found->second;
    });
  }

  // Stores the value under the key, or removes the key when the value is nothing.
  void setValue(const Key& key, std::optional<Value> value) {
    queue_.barrierSync([&] {
      if (value) {
        dictStorage_.insert_or_assign(key, std::move(*value));
      } else {
        dictStorage_.erase(key);
      }
    });
  }

  // Several reads in one synchronous block: the value of each key, in order.
  template <typename Lookup>
  std::vector<std::optional<Value>> values(const std::vector<Lookup>& keys) const {
    return queue_.sync([&] {
      std::vector<std::optional<Value>> found(keys.size());
      for (std::size_t i = 0; i < keys.size(); ++i) {
        auto entry = dictStorage_.find(keys[i]);
        if (entry != dictStorage_.end()) found[i] = entry->second;
      }
      return found;
    });
  }

  // Several writes in one barrier block.
  template <typename Entries>
  void setValues(Entries&& entries) {
    queue_.barrierSync([&] {
      for (auto& [key, value] : entries) dictStorage_.insert_or_assign(key, value);
    });
  }

  std::size_t count() const {
    return queue_.sync([&] { return dictStorage_.size(); });
  }

 private:
  std::unordered_map<Key, Value, Hash, Equal> dictStorage_;
  mutable foundation::ConcurrentQueue queue_;  // guards dictStorage_
};

}  // namespace GPTTokenizer
