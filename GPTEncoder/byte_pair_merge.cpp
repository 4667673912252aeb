#include "GPTEncoder/byte_pair_merge.h"

#include <algorithm>
#include <limits>

namespace GPTTokenizer {
namespace {

using Symbol = MergeTable::Symbol;
using Merge = MergeTable::Merge;
constexpr int unlisted = std::numeric_limits<int>::max();

Merge rankedMerge(const MergeTable& table, Symbol left, Symbol right) {
  Merge merge = table.merge(left, right);
  if (merge.rank == MergeTable::notMerged) merge.rank = unlisted;
  return merge;
}

void appendIDs(const MergeTable& table, const Symbol* symbols, std::size_t count, std::vector<int>& ids) {
  for (std::size_t i = 0; i < count; ++i) {
    const int id = table.tokenID(symbols[i]);
    if (id >= 0) ids.push_back(id);
  }
}

// Short pieces: the symbols and the merge of each neighbouring pair in two arrays; each round scans for the
// lowest rank, joins every occurrence in place and looks up only the pairs next to a joined symbol.
void mergeShort(const MergeTable& table, std::string_view piece, std::vector<int>& ids,
                MergeScratch& scratch) {
  auto& symbols = scratch.symbols;
  auto& merges = scratch.merges;
  auto& changed = scratch.changed;
  std::size_t count = piece.size();
  symbols.resize(count);
  merges.resize(count);
  changed.assign(count, false);
  for (std::size_t i = 0; i < count; ++i) symbols[i] = table.byteSymbol(static_cast<unsigned char>(piece[i]));
  for (std::size_t i = 0; i + 1 < count; ++i) merges[i] = rankedMerge(table, symbols[i], symbols[i + 1]);

  while (count > 1) {
    std::size_t best = 0;
    for (std::size_t i = 1; i + 1 < count; ++i) {
      if (merges[i].rank < merges[best].rank) best = i;
    }
    const int rank = merges[best].rank;
    if (rank == unlisted) break;
    const Symbol joined = merges[best].result;
    // A rank belongs to one pair only, so a neighbouring pair of this rank is an occurrence of it.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count; ++kept) {
      if (i + 1 < count && merges[i].rank == rank) {
        symbols[kept] = joined;
        changed[kept] = true;
        i += 2;
      } else {
        symbols[kept] = symbols[i];
        merges[kept] = merges[i];
        changed[kept] = false;
        i += 1;
      }
    }
    count = kept;
    for (std::size_t i = 0; i < count; ++i) {
      if (!changed[i]) continue;
      if (i > 0) merges[i - 1] = rankedMerge(table, symbols[i - 1], symbols[i]);
      if (i + 1 < count) merges[i] = rankedMerge(table, symbols[i], symbols[i + 1]);
    }
  }
  appendIDs(table, symbols.data(), count, ids);
}

// Long pieces: the symbols as a linked list and the listed pairs in a heap ordered by rank, then position.
// All occurrences of the lowest rank are taken from the heap together and joined from left to right, and
// only then are the pairs they form added, exactly as the round of the short form; the time grows with
// n log n instead of with the square of the length.
void mergeLong(const MergeTable& table, std::string_view piece, std::vector<int>& ids,
               MergeScratch& scratch) {
  constexpr unsigned none = std::numeric_limits<unsigned>::max();
  const auto count = static_cast<unsigned>(piece.size());
  auto& symbols = scratch.symbols;
  auto& next = scratch.next;
  auto& previous = scratch.previous;
  auto& heap = scratch.heap;
  auto& merged = scratch.mergedPositions;
  symbols.resize(count);
  next.resize(count);
  previous.resize(count);
  heap.clear();
  std::vector<bool>& removed = scratch.changed;
  removed.assign(count, false);
  const auto later = [](const MergeScratch::Candidate& a, const MergeScratch::Candidate& b) {
    return a.rank != b.rank ? a.rank > b.rank : a.position > b.position;
  };
  const auto push = [&](unsigned position) {
    const unsigned right = next[position];
    if (right == none) return;
    const Merge merge = table.merge(symbols[position], symbols[right]);
    if (merge.rank == MergeTable::notMerged) return;
    heap.push_back({merge.rank, position, symbols[position], symbols[right]});
    std::push_heap(heap.begin(), heap.end(), later);
  };

  for (unsigned i = 0; i < count; ++i) {
    symbols[i] = table.byteSymbol(static_cast<unsigned char>(piece[i]));
    next[i] = i + 1 < count ? i + 1 : none;
    previous[i] = i > 0 ? i - 1 : none;
  }
  for (unsigned i = 0; i + 1 < count; ++i) push(i);

  while (!heap.empty()) {
    const int rank = heap.front().rank;
    merged.clear();
    while (!heap.empty() && heap.front().rank == rank) {
      std::pop_heap(heap.begin(), heap.end(), later);
      const MergeScratch::Candidate candidate = heap.back();
      heap.pop_back();
      const unsigned position = candidate.position;
      const unsigned right = next[position];
      // Stale entries: a symbol joined into its left neighbour, or a pair that changed since.
      if (removed[position] || right == none || symbols[position] != candidate.left ||
          symbols[right] != candidate.right) {
        continue;
      }
      symbols[position] = table.merge(candidate.left, candidate.right).result;
      removed[right] = true;
      next[position] = next[right];
      if (next[right] != none) previous[next[right]] = position;
      merged.push_back(position);
    }
    for (unsigned position : merged) {
      if (removed[position]) continue;
      if (previous[position] != none) push(previous[position]);
      push(position);
    }
  }
  for (unsigned i = 0; i != none; i = next[i]) {
    const int id = table.tokenID(symbols[i]);
    if (id >= 0) ids.push_back(id);
  }
}

}  // namespace

void appendMergedIDs(const MergeTable& table, std::string_view piece, std::vector<int>& ids,
                     MergeScratch& scratch) {
  constexpr std::size_t longPiece = 64;
  if (piece.empty()) return;
  if (piece.size() < longPiece) {
    mergeShort(table, piece, ids, scratch);
  } else {
    mergeLong(table, piece, ids, scratch);
  }
}

}  // namespace GPTTokenizer
