// The parsed data files of the tokenizer: the token table, the merge list (ranked pairs of symbols) and
// the inverted token table for decoding. Immutable once made, so one vocabulary serves any number of
// tokenizers on any threads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace GPTTokenizer {

// Where the two data files are: the merge list ("vocab" of type "bpe") and the token table ("encoder" of
// type "json").
struct GPTEncoderDataFiles {
  std::filesystem::path mergeList;
  std::filesystem::path tokenTable;
};

namespace detail {
// Hashing and equality that accept std::string_view for lookups in maps keyed by std::string.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};
struct TextEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept { return a == b; }
};
}  // namespace detail

// The merge list in the form the merge loop works with: every symbol that a merge names or makes is a
// number, so a pair of neighbouring symbols is looked up as one 64-bit key, without building its text.
class MergeTable {
 public:
  using Symbol = std::uint32_t;
  static constexpr int notMerged = -1;

  struct Merge {
    int rank = notMerged;  // notMerged when the pair is not listed
    Symbol result = 0;     // the joined symbol
  };

  // The symbol of one byte (its one-character text in the byte-encoded alphabet).
  Symbol byteSymbol(unsigned char byte) const { return byteSymbols_[byte]; }
  // The token id of a symbol, or -1 when the token table does not hold it.
  int tokenID(Symbol symbol) const { return tokenIDs_[symbol]; }
  // The merge of two neighbouring symbols.
  Merge merge(Symbol left, Symbol right) const {
    const std::uint64_t key = (static_cast<std::uint64_t>(left) << 32) | right;
    for (std::size_t slot = slotOf(key);; slot = (slot + 1) & mask_) {
      const Slot& entry = slots_[slot];
      if (entry.rank == notMerged) return {};
      if (entry.key == key) return {entry.rank, entry.result};
    }
  }
  bool isEmpty() const { return count_ == 0; }

  // `lines`: the merge file's content; `tokenID`: the id of a symbol's text, or -1.
  MergeTable(std::string_view lines, const std::function<int(std::string_view)>& tokenID);

 private:
  struct Slot {
    std::uint64_t key = 0;
    int rank = notMerged;
    Symbol result = 0;
  };
  std::size_t slotOf(std::uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> shift_) & mask_;
  }
  void insert(std::uint64_t key, int rank, Symbol result);

  Symbol byteSymbols_[256];
  std::vector<int> tokenIDs_;
  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
  int shift_ = 64;
  std::size_t count_ = 0;
};

class Vocabulary {
 public:
  // Parses the two files' contents. Throws foundation::TextError, saying what is wrong, when the merge
  // list is not UTF-8 text or the token table is not a JSON object whose values are all whole numbers.
  Vocabulary(std::string mergeListText, std::string_view tokenTableJSON);

  // Reads and parses the two files. Throws foundation::TextError naming the file that is missing,
  // unreadable or invalid.
  static std::shared_ptr<const Vocabulary> read(const GPTEncoderDataFiles& files);

  // The id of a symbol in the token table.
  std::optional<int> tokenID(std::string_view symbol) const;

  // The merge list, parsed on first use (once, safe from several threads): a vocabulary that never
  // merges does not pay for it.
  const MergeTable& mergeTable() const;

  // The symbol of a token id, for decoding; built on first use like the merge table.
  const std::string* symbol(int tokenID) const;

 private:
  std::string bpe_;
  std::unordered_map<std::string, int, detail::TextHash, detail::TextEqual> encoder_;
  mutable std::once_flag mergeTableOnce_;
  mutable std::unique_ptr<MergeTable> mergeTable_;
  mutable std::once_flag decoderOnce_;
  mutable std::unordered_map<int, std::string> decoder_;
};

}  // namespace GPTTokenizer
