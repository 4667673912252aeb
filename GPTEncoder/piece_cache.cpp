#include "GPTEncoder/piece_cache.h"

#include <cstring>
#include <limits>

namespace GPTTokenizer {
namespace {

std::uint64_t load64(const char* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, 8);
  return word;
}

std::uint64_t load32(const char* bytes) {
  std::uint32_t word;
  std::memcpy(&word, bytes, 4);
  return word;
}

std::uint64_t mix(std::uint64_t a, std::uint64_t b) {
  const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

constexpr std::uint64_t k0 = 0x9E3779B97F4A7C15ULL;
constexpr std::uint64_t k1 = 0xC2B2AE3D27D4EB4FULL;

}  // namespace

std::uint64_t PieceCache::hash(std::string_view piece) {
  const char* bytes = piece.data();
  std::size_t size = piece.size();
  std::uint64_t h = mix(size ^ k0, k1);
  if (size >= 8) {
    while (size > 8) {
      h = mix(h ^ load64(bytes), k0);
      bytes += 8;
      size -= 8;
    }
    h = mix(h ^ load64(bytes + size - 8), k1);  // the last eight bytes, overlapping what came before
  } else if (size >= 4) {
    h = mix(h ^ ((load32(bytes) << 32) | load32(bytes + size - 4)), k0);
  } else if (size > 0) {
    const auto byte = [&](std::size_t i) {
      return static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[i]));
    };
    h = mix(h ^ ((byte(0) << 16) | (byte(size / 2) << 8) | byte(size - 1)), k0);
  }
  return h;
}

std::size_t PieceCache::findSlot(std::string_view piece, std::uint64_t pieceHash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = static_cast<std::size_t>(pieceHash) & mask;; slot = (slot + 1) & mask) {
    const Slot& entry = slots_[slot];
    if (entry.keyLength == 0) return slot;
    if (entry.hash == pieceHash && key(entry) == piece) return slot;
  }
}

std::optional<std::span<const int>> PieceCache::find(std::string_view piece, std::uint64_t pieceHash) const {
  if (count_ == 0) return std::nullopt;
  const Slot& entry = slots_[findSlot(piece, pieceHash)];
  if (entry.keyLength == 0) return std::nullopt;
  return std::span<const int>(ids_).subspan(entry.idsOffset, entry.idsCount);
}

void PieceCache::insert(std::string_view piece, std::uint64_t pieceHash, std::span<const int> ids) {
  constexpr std::size_t limit = std::numeric_limits<std::uint32_t>::max();
  if (piece.empty() || keys_.size() + piece.size() > limit || ids_.size() + ids.size() > limit) return;
  if ((count_ + 1) * 2 > slots_.size()) grow();
  Slot& entry = slots_[findSlot(piece, pieceHash)];
  if (entry.keyLength != 0) return;
  entry = {pieceHash, static_cast<std::uint32_t>(keys_.size()), static_cast<std::uint32_t>(piece.size()),
           static_cast<std::uint32_t>(ids_.size()), static_cast<std::uint32_t>(ids.size())};
  keys_.append(piece);
  ids_.insert(ids_.end(), ids.begin(), ids.end());
  ++count_;
}

void PieceCache::insertAll(const PieceCache& other) {
  for (const Slot& entry : other.slots_) {
    if (entry.keyLength == 0) continue;
    insert(other.key(entry), entry.hash,
           std::span<const int>(other.ids_).subspan(entry.idsOffset, entry.idsCount));
  }
}

void PieceCache::grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
  for (const Slot& entry : old) {
    if (entry.keyLength != 0) slots_[findSlot(key(entry), entry.hash)] = entry;
  }
}

}  // namespace GPTTokenizer
