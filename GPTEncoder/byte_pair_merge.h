// The merge loop of byte-pair encoding over one piece of text.
#pragma once

#include <string_view>
#include <vector>

#include "GPTEncoder/vocabulary.h"

namespace GPTTokenizer {

// Working storage of the merge loop, kept between pieces so that merging allocates only when a piece is
// longer than every piece before it.
struct MergeScratch {
  std::vector<MergeTable::Symbol> symbols;
  std::vector<MergeTable::Merge> merges;  // of each symbol with the one after it
  std::vector<bool> changed;
  std::vector<unsigned> next, previous;
  struct Candidate {
    int rank;
    unsigned position;
    MergeTable::Symbol left, right;
  };
  std::vector<Candidate> heap;
  std::vector<unsigned> mergedPositions;
};

// Merges the bytes of `piece` (one byte per symbol at first): again and again the listed pair of
// neighbouring symbols with the lowest rank is found and every occurrence of it, scanning from the left, is
// joined, until no neighbouring pair is listed or one symbol is left. Appends the token id of every
// resulting symbol that the token table holds.
void appendMergedIDs(const MergeTable& table, std::string_view piece, std::vector<int>& ids,
                     MergeScratch& scratch);

}  // namespace GPTTokenizer
