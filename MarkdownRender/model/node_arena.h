// Memory shared by the nodes of one parsed document, so that a parse does not ask the heap once per node.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace MarkdownRender::detail {

// A bump allocator for the nodes of one document. Nodes are carved one after another out of a few large
// chunks; giving a node back frees nothing, and the chunks go back to the heap together when the last
// node made in them is gone (and the parse that made them has let go). A document's nodes therefore lie
// close together, and destroying them costs no search of the heap. The price: one node kept long after
// its document keeps the document's node memory (not its texts and lists, which the heap holds).
//
// Threads: only the parse that made the arena allocates in it; nodes may be released on any thread, so
// the count of holders is atomic. The parse does not touch that count for each node it makes: while it
// holds the arena, the count carries a margin far above any number of nodes, so that no release can bring
// it to zero, and the parse accounts for all the nodes it made in one step when it lets go.
class NodeArena {
 public:
  // A new arena held by the parse that calls it, which lets go of it with `endParse()`. Its first chunk
  // holds about `expectedBytes`, within bounds: a parse of a few lines, whose nodes may be kept long after
  // the rest of the arena's nodes are gone (the blocks a growing reply keeps), ties up little memory.
  static NodeArena* make(std::size_t expectedBytes = kLargestFirstChunk) {
    return new NodeArena(std::clamp(expectedBytes, kSmallestFirstChunk, kLargestFirstChunk));
  }

  NodeArena(const NodeArena&) = delete;
  NodeArena& operator=(const NodeArena&) = delete;

  // Memory for one node; holds the arena until the node is given back with `deallocate`.
  void* allocate(std::size_t bytes, std::size_t alignment) {
    ++nodesMade_;
    auto address = reinterpret_cast<std::uintptr_t>(cursor_);
    auto aligned = (address + alignment - 1) & ~(static_cast<std::uintptr_t>(alignment) - 1);
    if (cursor_ == nullptr || aligned + bytes > reinterpret_cast<std::uintptr_t>(end_)) {
      addChunk(bytes + alignment);
      address = reinterpret_cast<std::uintptr_t>(cursor_);
      aligned = (address + alignment - 1) & ~(static_cast<std::uintptr_t>(alignment) - 1);
    }
    cursor_ = reinterpret_cast<std::byte*>(aligned + bytes);
    return reinterpret_cast<void*>(aligned);
  }
  void deallocate() { release(1); }

  // The parse lets go: from now on only its nodes still alive hold the arena, and it makes no more.
  void endParse() { release(kParseMargin - nodesMade_); }

 private:
  explicit NodeArena(std::size_t firstChunk) : nextChunkSize_(firstChunk / 2) {}
  ~NodeArena() = default;

  void release(std::size_t count) {
    if (holders_.fetch_sub(count, std::memory_order_acq_rel) == count) delete this;
  }

  void addChunk(std::size_t atLeast) {
    // Chunks grow with the document, so a short reply takes little memory and a long one few chunks.
    nextChunkSize_ = std::min<std::size_t>(nextChunkSize_ * 2, kLargestChunk);
    const std::size_t size = std::max(nextChunkSize_, atLeast);
    chunks_.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
    cursor_ = chunks_.back().get();
    end_ = cursor_ + size;
  }

  static constexpr std::size_t kLargestChunk = 256 * 1024;
  static constexpr std::size_t kSmallestFirstChunk = 512;
  static constexpr std::size_t kLargestFirstChunk = 8 * 1024;

  static constexpr std::size_t kParseMargin = std::size_t{1} << 62;

  // The parse's margin, less every node given back; the nodes made are added when the parse lets go.
  std::atomic<std::size_t> holders_{kParseMargin};
  std::size_t nodesMade_ = 0;  // touched by the parse alone
  std::vector<std::unique_ptr<std::byte[]>> chunks_;
  std::byte* cursor_ = nullptr;
  std::byte* end_ = nullptr;
  std::size_t nextChunkSize_;  // half the size of the first chunk, until it is made
};

// The allocator through which `std::allocate_shared` places a node and its reference count in an arena.
template <class T>
struct NodeArenaAllocator {
  using value_type = T;

  explicit NodeArenaAllocator(NodeArena& arena) : arena(&arena) {}
  template <class U>
  NodeArenaAllocator(const NodeArenaAllocator<U>& other) : arena(other.arena) {}

  T* allocate(std::size_t count) { return static_cast<T*>(arena->allocate(count * sizeof(T), alignof(T))); }
  void deallocate(T*, std::size_t) { arena->deallocate(); }

  template <class U>
  bool operator==(const NodeArenaAllocator<U>& other) const {
    return arena == other.arena;
  }

  NodeArena* arena;
};

// Holds an arena for the length of one parse.
class NodeArenaHold {
 public:
  NodeArenaHold() : arena_(NodeArena::make()) {}
  // An arena whose first chunk holds about `expectedBytes` (see `NodeArena::make`).
  explicit NodeArenaHold(std::size_t expectedBytes) : arena_(NodeArena::make(expectedBytes)) {}
  ~NodeArenaHold() { arena_->endParse(); }
  NodeArenaHold(const NodeArenaHold&) = delete;
  NodeArenaHold& operator=(const NodeArenaHold&) = delete;

  NodeArena& arena() const { return *arena_; }

 private:
  NodeArena* arena_;
};

}  // namespace MarkdownRender::detail
