#include "MarkdownRender/model/tree_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace MarkdownRender::detail {
namespace {

// The pool as the library sees it: calloc, realloc and free of one `cmark_mem`. Every test leaves it
// reset, as a parse does.
class TreeMemory : public ::testing::Test {
 protected:
  void TearDown() override { resetTreeMemory(); }

  static bool isZero(const void* memory, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(memory);
    return std::all_of(bytes, bytes + size, [](unsigned char byte) { return byte == 0; });
  }
  static bool holds(const void* memory, std::size_t size, unsigned char value) {
    const auto* bytes = static_cast<const unsigned char*>(memory);
    return std::all_of(bytes, bytes + size, [&](unsigned char byte) { return byte == value; });
  }

  cmark_mem* memory = treeMemory();
};

TEST_F(TreeMemory, ZeroedMemoryIsZeroWhetherFreshFreedOrLeftByAnEarlierParse) {
  const std::size_t sizes[] = {1, 8, 13, 168, 600, 4096, 10000};
  for (int round = 0; round < 2; ++round) {
    for (std::size_t size : sizes) {
      SCOPED_TRACE(size);
      void* first = memory->calloc(1, size);
      ASSERT_TRUE(isZero(first, size));
      std::memset(first, 0xAB, size);
      memory->free(first);
      void* second = memory->calloc(size, 1);
      EXPECT_TRUE(isZero(second, size));
      std::memset(second, 0xCD, size);
    }
    // The next round is carved from the same chunks, every byte of them dirty.
    resetTreeMemory();
  }
}

TEST_F(TreeMemory, FreedMemoryIsHandedOutAgainForTheSameSize) {
  void* first = memory->calloc(1, 40);
  memory->free(first);
  EXPECT_EQ(memory->calloc(1, 40), first);
  void* other = memory->calloc(1, 48);
  EXPECT_NE(other, first);
}

TEST_F(TreeMemory, GrowingKeepsTheContentInPlaceOrMoved) {
  // The newest allocation grows where it lies; an older one moves, and its old place is free again.
  char* newest = static_cast<char*>(memory->realloc(nullptr, 16));
  std::memset(newest, 'a', 16);
  char* grown = static_cast<char*>(memory->realloc(newest, 4000));
  EXPECT_EQ(grown, newest);
  EXPECT_TRUE(holds(grown, 16, 'a'));

  char* older = static_cast<char*>(memory->calloc(1, 24));
  std::memset(older, 'b', 24);
  char* blocker = static_cast<char*>(memory->calloc(1, 24));
  std::memset(blocker, 'c', 24);
  char* moved = static_cast<char*>(memory->realloc(older, 100));
  EXPECT_NE(moved, older);
  EXPECT_TRUE(holds(moved, 24, 'b'));
  EXPECT_TRUE(holds(blocker, 24, 'c'));
  EXPECT_EQ(memory->calloc(1, 24), older);

  // Shrinking, or growing within what the allocation already holds, keeps it where it is.
  EXPECT_EQ(memory->realloc(moved, 10), moved);
  EXPECT_EQ(memory->realloc(moved, 100), moved);
  EXPECT_TRUE(holds(moved, 10, 'b'));
}

TEST_F(TreeMemory, LiveAllocationsNeverOverlapThroughManyFreesAndMoves) {
  // A parse's pattern in miniature: many small allocations, some freed, some grown, across chunk ends.
  struct Allocation {
    unsigned char* bytes;
    std::size_t size;
    unsigned char value;
  };
  std::vector<Allocation> live;
  for (std::size_t step = 0; step < 20000; ++step) {
    const std::size_t size = 1 + (step * 37) % 300;
    auto value = static_cast<unsigned char>(step % 251);
    if (step % 7 == 3 && !live.empty()) {
      auto& victim = live[(step * 13) % live.size()];
      memory->free(victim.bytes);
      victim = live.back();
      live.pop_back();
    } else if (step % 5 == 1 && !live.empty()) {
      auto& grown = live[(step * 11) % live.size()];
      const std::size_t newSize = grown.size + size;
      grown.bytes = static_cast<unsigned char*>(memory->realloc(grown.bytes, newSize));
      std::memset(grown.bytes + grown.size, grown.value, newSize - grown.size);
      grown.size = newSize;
    } else {
      auto* bytes = static_cast<unsigned char*>(memory->calloc(1, size));
      ASSERT_TRUE(isZero(bytes, size));
      std::memset(bytes, value, size);
      live.push_back({bytes, size, value});
    }
  }
  for (const auto& allocation : live) EXPECT_TRUE(holds(allocation.bytes, allocation.size, allocation.value));
}

}  // namespace
}  // namespace MarkdownRender::detail
