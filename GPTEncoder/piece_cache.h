// The merge results a tokenizer remembers: each piece of text (two or more bytes) with the token ids it
// merged into. Keys and ids live in two flat stores, so a lookup hashes the piece once and touches one
// slot, and remembering a piece allocates nothing most of the time.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace GPTTokenizer {

class PieceCache {
 public:
  static std::uint64_t hash(std::string_view piece);

  // The ids of a piece, or nothing. `pieceHash` is hash(piece).
  std::optional<std::span<const int>> find(std::string_view piece, std::uint64_t pieceHash) const;
  // Remembers the ids of a piece that is not yet there; a piece too large for the stores' offsets is
  // simply not remembered.
  void insert(std::string_view piece, std::uint64_t pieceHash, std::span<const int> ids);
  // Remembers every entry of another cache that this one lacks.
  void insertAll(const PieceCache& other);

  std::size_t count() const { return count_; }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t keyOffset = 0;
    std::uint32_t keyLength = 0;  // 0: an empty slot (pieces have two bytes or more)
    std::uint32_t idsOffset = 0;
    std::uint32_t idsCount = 0;
  };
  std::string_view key(const Slot& slot) const {
    return std::string_view(keys_).substr(slot.keyOffset, slot.keyLength);
  }
  std::size_t findSlot(std::string_view piece, std::uint64_t pieceHash) const;
  void grow();

  std::vector<Slot> slots_;
  std::string keys_;
  std::vector<int> ids_;
  std::size_t count_ = 0;
};

}  // namespace GPTTokenizer
