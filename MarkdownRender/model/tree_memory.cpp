#include "MarkdownRender/model/tree_memory.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

namespace MarkdownRender::detail {
namespace {

// Allocations are aligned for the library's structures (pointers, sizes, integers and doubles) and carry
// no header: a moved allocation copies as many bytes as the new size asks for, reading no further than
// its chunk has handed out (what lies past its old end is unspecified in a reallocation anyway).
constexpr std::size_t kAlignment = alignof(void*) > alignof(double) ? alignof(void*) : alignof(double);
constexpr std::size_t kFirstChunk = 256 * 1024;

std::size_t roundedUp(std::size_t size) { return (size + kAlignment - 1) & ~(kAlignment - 1); }

struct Chunk {
  std::byte* bytes;
  std::size_t size;
  std::size_t zeroFrom;  // the bytes from here on have never been handed out, and are zero
};

class Pool {
 public:
  Pool(const Pool&) = delete;
  Pool& operator=(const Pool&) = delete;
  Pool() = default;
  ~Pool() {
    for (auto& chunk : chunks_) std::free(chunk.bytes);
  }

  // Memory for `size` bytes, zeroed when `zeroed`; null when the system has none.
  void* allocate(std::size_t size, bool zeroed) {
    const std::size_t needed = roundedUp(std::max<std::size_t>(size, 1));
    while (current_ < chunks_.size() && used_ + needed > chunks_[current_].size) {
      ++current_;
      used_ = 0;
    }
    if (current_ == chunks_.size() && !addChunk(needed)) return nullptr;
    Chunk& chunk = chunks_[current_];
    std::byte* memory = chunk.bytes + used_;
    // Memory handed out before, in an earlier parse, is cleared; memory never handed out is still zero.
    if (zeroed && used_ < chunk.zeroFrom) std::memset(memory, 0, std::min(size, chunk.zeroFrom - used_));
    used_ += needed;
    chunk.zeroFrom = std::max(chunk.zeroFrom, used_);
    last_ = memory;
    return memory;
  }

  void* resize(void* pointer, std::size_t size) {
    if (pointer == nullptr) return allocate(size, false);
    auto* bytes = static_cast<std::byte*>(pointer);
    // The newest allocation grows where it lies while its chunk has room (a growing buffer usually is).
    if (bytes == last_) {
      Chunk& chunk = chunks_[current_];
      const auto start = static_cast<std::size_t>(bytes - chunk.bytes);
      const std::size_t needed = roundedUp(std::max<std::size_t>(size, 1));
      if (start + needed <= chunk.size) {
        used_ = start + needed;
        chunk.zeroFrom = std::max(chunk.zeroFrom, used_);
        return pointer;
      }
    }
    // The old allocation's size is not kept: copy what the new size asks for, up to the end of what its
    // chunk has handed out (so never into the new allocation).
    std::size_t available = size;
    for (std::size_t index = 0; index < chunks_.size(); ++index) {
      const Chunk& chunk = chunks_[index];
      if (bytes >= chunk.bytes && bytes < chunk.bytes + chunk.size) {
        const std::size_t end = index == current_ ? used_ : chunk.size;
        available = static_cast<std::size_t>(chunk.bytes + end - bytes);
        break;
      }
    }
    void* moved = allocate(size, false);
    if (moved != nullptr) std::memcpy(moved, pointer, std::min(available, size));
    return moved;
  }

  // Everything is free again. The chunks this parse reached are kept for the next one; those beyond go
  // back to the system, so what the pool holds follows the size of the latest reply.
  void reset() {
    const std::size_t reached = chunks_.empty() ? 0 : current_ + 1;
    for (std::size_t index = reached; index < chunks_.size(); ++index) std::free(chunks_[index].bytes);
    chunks_.resize(reached);
    current_ = 0;
    used_ = 0;
    last_ = nullptr;
  }

 private:
  bool addChunk(std::size_t atLeast) {
    const std::size_t previous = chunks_.empty() ? kFirstChunk / 2 : chunks_.back().size;
    const std::size_t size = std::max(previous * 2, atLeast);
    // Fresh memory from calloc is zero (the system's new pages need no clearing), so allocations from it
    // need none either.
    auto* bytes = static_cast<std::byte*>(std::calloc(size, 1));
    if (bytes == nullptr) return false;
    chunks_.push_back(Chunk{bytes, size, 0});
    current_ = chunks_.size() - 1;
    used_ = 0;
    return true;
  }

  std::vector<Chunk> chunks_;
  std::size_t current_ = 0;  // the chunk allocations are carved from
  std::size_t used_ = 0;     // bytes of it handed out
  std::byte* last_ = nullptr;
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

void treeFree(void*) noexcept {}

}  // namespace

cmark_mem* treeMemory() {
  static cmark_mem memory{&treeCalloc, &treeRealloc, &treeFree};
  return &memory;
}

void resetTreeMemory() { pool().reset(); }

}  // namespace MarkdownRender::detail
