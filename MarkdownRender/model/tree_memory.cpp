#include "MarkdownRender/model/tree_memory.h"

#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

namespace MarkdownRender::detail {
namespace {

// Allocations are aligned for the library's structures (pointers, sizes, integers and doubles). Each one
// is preceded by a header holding its capacity (its size rounded up to the alignment), so that freeing it
// and growing it know how large it is.
constexpr std::size_t kAlignment = alignof(void*) > alignof(double) ? alignof(void*) : alignof(double);
constexpr std::size_t kHeader = sizeof(std::size_t);
constexpr std::size_t kFirstChunk = 256 * 1024;
// Freed allocations up to this capacity are handed out again; larger ones (rare: the buffers of very long
// blocks) wait for the reset.
constexpr std::size_t kLargestReused = 4096;

std::size_t roundedUp(std::size_t size) { return (size + kAlignment - 1) & ~(kAlignment - 1); }

// A long reply's tree is tens of megabytes that the library walks several times over, node by node, in no
// order the processor can foresee: in pages of 4 KB, nearly every node would cost a miss in the address
// translation cache besides the one in the data cache. Chunks from this size on are therefore placed on
// pages of 2 MB where the system has them (an ordinary mapping otherwise; it works just the same).
constexpr std::size_t kLargePage = 2 * 1024 * 1024;

struct Chunk {
  std::byte* bytes;
  std::size_t size;
  std::size_t zeroFrom;  // the bytes from here on have never been handed out, and are zero
  bool isMapped;         // made by `mappedChunk`, else by calloc
};

// `size` bytes (a multiple of kLargePage) of fresh, zeroed memory starting on a large-page boundary, asked
// to be backed by large pages; null when the system has no room.
std::byte* mappedChunk(std::size_t size) {
  // Mapping one large page more than needed leaves room to start on a boundary; the ends are given back.
  void* mapped = mmap(nullptr, size + kLargePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const auto aligned = (start + kLargePage - 1) & ~(static_cast<std::uintptr_t>(kLargePage) - 1);
  const std::size_t before = aligned - start;
  if (before > 0) munmap(mapped, before);
  munmap(reinterpret_cast<void*>(aligned + size), kLargePage - before);
  auto* bytes = reinterpret_cast<std::byte*>(aligned);
  madvise(bytes, size, MADV_HUGEPAGE);  // a hint: without large pages the chunk is simply an ordinary one
  return bytes;
}

void releaseChunk(const Chunk& chunk) {
  if (chunk.isMapped) {
    munmap(chunk.bytes, chunk.size);
  } else {
    std::free(chunk.bytes);
  }
}

class Pool {
 public:
  Pool(const Pool&) = delete;
  Pool& operator=(const Pool&) = delete;
  Pool() = default;
  ~Pool() {
    for (const auto& chunk : chunks_) releaseChunk(chunk);
  }

  // Memory for `size` bytes, zeroed when `zeroed`; null when the system has none.
  void* allocate(std::size_t size, bool zeroed) {
    const std::size_t capacity = roundedUp(std::max<std::size_t>(size, 1));
    // The parse frees many small things soon after making them (delimiters, buffers that grew, merged
    // text nodes). What was freed last is handed out first: it is still in the cache, where fresh memory
    // from the chunk is not, and a long reply's tree stays that much smaller.
    if (capacity <= kLargestReused) {
      void*& head = freed_[capacity / kAlignment];
      if (head != nullptr) {
        void* memory = head;
        head = *static_cast<void**>(memory);
        if (zeroed) std::memset(memory, 0, size);
        return memory;
      }
    }
    const std::size_t needed = kHeader + capacity;
    while (current_ < chunks_.size() && used_ + needed > chunks_[current_].size) {
      ++current_;
      used_ = 0;
    }
    if (current_ == chunks_.size() && !addChunk(needed)) return nullptr;
    Chunk& chunk = chunks_[current_];
    std::byte* memory = chunk.bytes + used_ + kHeader;
    // Memory handed out before, in an earlier parse, is cleared; memory never handed out is still zero.
    const std::size_t start = used_ + kHeader;
    if (zeroed && start < chunk.zeroFrom) std::memset(memory, 0, std::min(size, chunk.zeroFrom - start));
    std::memcpy(memory - kHeader, &capacity, sizeof capacity);
    used_ += needed;
    chunk.zeroFrom = std::max(chunk.zeroFrom, used_);
    return memory;
  }

  // Keeps a freed allocation for reuse.
  void release(void* pointer) {
    if (pointer == nullptr) return;
    const std::size_t capacity = capacityOf(pointer);
    if (capacity > kLargestReused) return;
    void*& head = freed_[capacity / kAlignment];
    *static_cast<void**>(pointer) = head;
    head = pointer;
  }

  void* resize(void* pointer, std::size_t size) {
    if (pointer == nullptr) return allocate(size, false);
    auto* bytes = static_cast<std::byte*>(pointer);
    const std::size_t capacity = capacityOf(pointer);
    if (size <= capacity) return pointer;
    // The newest allocation grows where it lies while its chunk has room (a growing buffer usually is).
    if (current_ < chunks_.size()) {
      Chunk& chunk = chunks_[current_];
      if (bytes >= chunk.bytes && bytes + capacity == chunk.bytes + used_) {
        const std::size_t grown = roundedUp(size);
        const auto start = static_cast<std::size_t>(bytes - chunk.bytes);
        if (start + grown <= chunk.size) {
          used_ = start + grown;
          chunk.zeroFrom = std::max(chunk.zeroFrom, used_);
          std::memcpy(bytes - kHeader, &grown, sizeof grown);
          return pointer;
        }
      }
    }
    void* moved = allocate(size, false);
    if (moved != nullptr) {
      std::memcpy(moved, pointer, capacity);
      release(pointer);
    }
    return moved;
  }

  // Everything is free again. The chunks this parse reached are kept for the next one; those beyond go
  // back to the system, so what the pool holds follows the size of the latest reply.
  void reset() {
    const std::size_t reached = chunks_.empty() ? 0 : current_ + 1;
    for (std::size_t index = reached; index < chunks_.size(); ++index) releaseChunk(chunks_[index]);
    chunks_.resize(reached);
    current_ = 0;
    used_ = 0;
    freed_.fill(nullptr);
  }

 private:
  static std::size_t capacityOf(void* pointer) {
    std::size_t capacity;
    std::memcpy(&capacity, static_cast<std::byte*>(pointer) - kHeader, sizeof capacity);
    return capacity;
  }

  bool addChunk(std::size_t atLeast) {
    const std::size_t previous = chunks_.empty() ? kFirstChunk / 2 : chunks_.back().size;
    std::size_t size = std::max(previous * 2, atLeast);
    // Fresh memory from calloc or a new mapping is zero (the system's new pages need no clearing), so
    // allocations from it need none either.
    const bool isMapped = size >= kLargePage;
    std::byte* bytes = nullptr;
    if (isMapped) {
      size = (size + kLargePage - 1) / kLargePage * kLargePage;
      bytes = mappedChunk(size);
    } else {
      bytes = static_cast<std::byte*>(std::calloc(size, 1));
    }
    if (bytes == nullptr) return false;
    chunks_.push_back(Chunk{bytes, size, 0, isMapped});
    current_ = chunks_.size() - 1;
    used_ = 0;
    return true;
  }

  std::vector<Chunk> chunks_;
  std::size_t current_ = 0;  // the chunk allocations are carved from
  std::size_t used_ = 0;     // bytes of it handed out
  // Per capacity, the allocations freed since the reset, the latest first.
  std::array<void*, kLargestReused / kAlignment + 1> freed_{};
};

Pool& pool() {
  static Pool* instance = new Pool();  // lives as long as the process; parses may run during exit
  return *instance;
}

// The library calls these through C function pointers, so nothing may throw out of them, and it never
// checks what they return: like the library's own allocator, they end the process when memory runs out.
void* treeCalloc(std::size_t count, std::size_t size) noexcept {
  if (size != 0 && count > std::numeric_limits<std::size_t>::max() / size) std::abort();
  void* memory = nullptr;
  try {
    memory = pool().allocate(count * size, true);
  } catch (...) {
  }
  if (memory == nullptr) std::abort();
  return memory;
}

void* treeRealloc(void* pointer, std::size_t size) noexcept {
  void* memory = nullptr;
  try {
    memory = pool().resize(pointer, size);
  } catch (...) {
  }
  if (memory == nullptr) std::abort();
  return memory;
}

void treeFree(void* pointer) noexcept { pool().release(pointer); }

}  // namespace

cmark_mem* treeMemory() {
  static cmark_mem memory{&treeCalloc, &treeRealloc, &treeFree};
  return &memory;
}

void resetTreeMemory() { pool().reset(); }

}  // namespace MarkdownRender::detail
