// The byte-pair token counter: splits a text the way the GPT models do and returns its token ids.
#pragma once

#include <unicode/uversion.h>  // ICU's versioned namespace, for the declaration below

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "GPTEncoder/atomic_dict.h"

U_NAMESPACE_BEGIN
class RegexPattern;
U_NAMESPACE_END

namespace GPTTokenizer {

namespace detail {
// Hashing and equality that accept std::string_view for lookups in maps keyed by std::string. The hash is
// deliberately not noexcept: the standard library then keeps each key's hash beside it instead of
// recomputing it for every node it passes while walking a bucket.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};
struct TextEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept { return a == b; }
};
}  // namespace detail

// Where the two data files are: the merge list ("vocab" of type "bpe") and the token table ("encoder" of
// type "json").
struct GPTEncoderDataFiles {
  std::filesystem::path mergeList;
  std::filesystem::path tokenTable;
};

// One tokenizer. Token ids are counted exactly as the data files say; a text whose symbols are missing
// from the token table simply yields fewer ids.
//
// Threads: the token table and the byte tables never change after construction; the merge ranks and the
// inverted token table are built once under std::call_once; the merge cache is an AtomicDict. So one
// instance may be used from several threads at once, although each owner normally keeps its own.
class GPTEncoder {
 public:
  // Parses the two files' contents. Throws foundation::TextError, saying what is wrong, when the merge
  // list is not UTF-8 text or the token table is not a JSON object whose values are all whole numbers.
  GPTEncoder(std::string mergeListText, std::string_view tokenTableJSON);

  // Reads and parses the two files. Throws foundation::TextError naming the file that is missing,
  // unreadable or invalid.
  explicit GPTEncoder(const GPTEncoderDataFiles& files);

  ~GPTEncoder();
  GPTEncoder(const GPTEncoder&) = delete;
  GPTEncoder& operator=(const GPTEncoder&) = delete;

  // The tokenizer of these files, or nullptr when they are missing or invalid; the reason is then written
  // as one diagnostic line: "GPTEncoder: token counting is unavailable: <reason>". The application keeps
  // running without token counts.
  static std::unique_ptr<GPTEncoder> load(const GPTEncoderDataFiles& files);

  // The tokenizer of the data files in the resource bundle "GPTEncoder.bundle" (see GPTEncoderResources),
  // or nullptr with the same diagnostic line when they cannot be found or read.
  static std::unique_ptr<GPTEncoder> loadFromResources();

  // The token ids of a text, in text order; callers use their number as the token count.
  std::vector<int> tokenIDs(std::string_view text);

  // The text of a list of token ids: ids missing from the token table are skipped; the empty text when
  // the bytes they stand for are not valid UTF-8 (for instance a character cut in two).
  std::string text(std::span<const int> tokenIDs);

  // How many merged pieces are remembered: each distinct piece of two or more symbols, once merged. The
  // cache only grows, for the life of the tokenizer.
  std::size_t cachedPieceCount() const { return cache_.count(); }

 private:
  using TextMap = std::unordered_map<std::string, int, detail::TextHash, detail::TextEqual>;

  // One byte-encoded piece of two or more symbols → its symbols after merging, joined with single spaces.
  std::string mergedSymbols(const std::string& piece);
  // Appends the ids of space-separated symbols; symbols missing from the token table are not counted.
  void appendIDs(std::string_view symbols, std::vector<int>& ids) const;
  const TextMap& bpeRanks();

  AtomicDict<std::string, std::string, detail::TextHash, detail::TextEqual> cache_;
  std::unique_ptr<icu::RegexPattern> regex_;
  std::string bpe_;
  TextMap encoder_;

  // Built on first use, once: merge ranks keyed by "left right" (symbols never hold a space), and the
  // inverted token table.
  std::once_flag bpeRanksOnce_;
  TextMap bpeRanks_;
  std::once_flag decoderOnce_;
  std::unordered_map<int, std::string> decoder_;
};

}  // namespace GPTTokenizer
