// A dictionary that several threads may read and write: reads run side by side, each write runs alone.
#pragma once

#include <utility>

#include "platform/foundation/dispatch_queue.h"

namespace GPTTokenizer {

// Guarded by a concurrent queue: reads are synchronous plain blocks and may overlap one another; writes
// are barrier blocks, so each runs alone, after every block submitted before it and before every block
// submitted after it, and a read submitted after a write sees that write. Writes run on the writer's own
// thread (barrierSync): a hop to a pool thread would cost more than the merges a write records. A caller
// does all its reads in one block and all its writes in another, one queue turn each.
template <typename Dictionary>
class AtomicDict {
 public:
  AtomicDict() : queue_("com.quillo.gptencoder.atomic") {}
  AtomicDict(const AtomicDict&) = delete;
  AtomicDict& operator=(const AtomicDict&) = delete;

  // Runs `reader(const Dictionary&)` alongside other reads and returns its result.
  template <typename F>
  decltype(auto) read(F&& reader) const {
    return queue_.sync([&]() -> decltype(auto) { return reader(std::as_const(dictStorage_)); });
  }

  // Runs `writer(Dictionary&)` alone and returns its result.
  template <typename F>
  decltype(auto) write(F&& writer) {
    return queue_.barrierSync([&]() -> decltype(auto) { return writer(dictStorage_); });
  }

 private:
  Dictionary dictStorage_;
  mutable foundation::ConcurrentQueue queue_;  // guards dictStorage_
};

}  // namespace GPTTokenizer
