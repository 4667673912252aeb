// The byte-pair token counter: splits a text the way the GPT models do and returns its token ids.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "GPTEncoder/atomic_dict.h"
#include "GPTEncoder/piece_cache.h"
#include "GPTEncoder/vocabulary.h"

namespace GPTTokenizer {

// One tokenizer: a vocabulary (shared, immutable) and a cache of merge results of its own. Token ids are
// counted exactly as the data files say; a text whose symbols are missing from the token table simply
// yields fewer ids.
//
// Threads: the vocabulary never changes once made (its lazily built parts are made under std::call_once);
// the merge cache is an AtomicDict. So one instance may be used from several threads at once, although
// each owner normally keeps its own.
class GPTEncoder {
 public:
  // Parses the two files' contents. Throws foundation::TextError, saying what is wrong, when the merge
  // list is not UTF-8 text or the token table is not a JSON object whose values are all whole numbers.
  GPTEncoder(std::string mergeListText, std::string_view tokenTableJSON);

  // Reads and parses the two files. Throws foundation::TextError naming the file that is missing,
  // unreadable or invalid.
  explicit GPTEncoder(const GPTEncoderDataFiles& files);

  // A tokenizer over a vocabulary parsed before, with an empty cache.
  explicit GPTEncoder(std::shared_ptr<const Vocabulary> vocabulary);

  GPTEncoder(const GPTEncoder&) = delete;
  GPTEncoder& operator=(const GPTEncoder&) = delete;

  // The tokenizer of these files, or nullptr when they are missing or invalid; the reason is then written
  // as one diagnostic line: "GPTEncoder: token counting is unavailable: <reason>". The application keeps
  // running without token counts.
  static std::unique_ptr<GPTEncoder> load(const GPTEncoderDataFiles& files);

  // A tokenizer of the data files in the resource bundle "GPTEncoder.bundle" (see GPTEncoderResources),
  // or nullptr. The files are found, read and parsed once per process, and every tokenizer made here
  // shares that vocabulary; when they cannot be, the reason is written once per process, as above.
  static std::unique_ptr<GPTEncoder> loadFromResources();

  // The token ids of a text, in text order; callers use their number as the token count. Invalid UTF-8
  // is read with each invalid sequence as U+FFFD.
  std::vector<int> tokenIDs(std::string_view text);

  // The text of a list of token ids: ids missing from the token table are skipped; the empty text when
  // the bytes they stand for are not valid UTF-8 (for instance a character cut in two).
  std::string text(std::span<const int> tokenIDs) const;

  // How many merged pieces are remembered: each distinct piece of two or more bytes, once merged. The
  // cache only grows, for the life of the tokenizer.
  std::size_t cachedPieceCount() const;

  const std::shared_ptr<const Vocabulary>& vocabulary() const { return vocabulary_; }

 private:
  std::shared_ptr<const Vocabulary> vocabulary_;
  AtomicDict<PieceCache> cache_;
};

}  // namespace GPTTokenizer
