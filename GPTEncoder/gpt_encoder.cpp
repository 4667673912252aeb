#include "GPTEncoder/gpt_encoder.h"

#include "GPTEncoder/byte_alphabet.h"
#include "GPTEncoder/byte_pair_merge.h"
#include "GPTEncoder/gpt_encoder_resources.h"
#include "GPTEncoder/pre_tokenizer.h"
#include "platform/foundation/log.h"
#include "platform/foundation/utf16.h"

namespace GPTTokenizer {

GPTEncoder::GPTEncoder(std::string mergeListText, std::string_view tokenTableJSON)
    : GPTEncoder(std::make_shared<const Vocabulary>(std::move(mergeListText), tokenTableJSON)) {}

GPTEncoder::GPTEncoder(const GPTEncoderDataFiles& files) : GPTEncoder(Vocabulary::read(files)) {}

GPTEncoder::GPTEncoder(std::shared_ptr<const Vocabulary> vocabulary) : vocabulary_(std::move(vocabulary)) {}

std::unique_ptr<GPTEncoder> GPTEncoder::load(const GPTEncoderDataFiles& files) {
  try {
    return std::make_unique<GPTEncoder>(files);
  } catch (const std::exception& error) {
    foundation::log(std::string("GPTEncoder: token counting is unavailable: ") + error.what());
    return nullptr;
  }
}

std::unique_ptr<GPTEncoder> GPTEncoder::loadFromResources() {
  std::shared_ptr<const Vocabulary> vocabulary = GPTEncoderResources::vocabulary();
  if (!vocabulary) return nullptr;
  return std::make_unique<GPTEncoder>(std::move(vocabulary));
}

std::vector<int> GPTEncoder::tokenIDs(std::string_view text) {
  std::vector<int> ids;
  if (text.empty()) return ids;
  std::string repaired;
  if (!isValidUTF8(text)) {
    repaired = foundation::sanitizedUtf8(text);
    text = repaired;
  }
  ids.reserve(text.size() / 4 + 8);
  const MergeTable& table = vocabulary_->mergeTable();

  // All pieces are looked up in one read of the cache. A piece that is not there is merged at once, and
  // remembered in `fresh` (so a repeat in the same text is merged once); all of them are written in one
  // write at the end. Pieces of one byte are looked up directly and not remembered.
  PieceCache fresh;
  MergeScratch scratch;
  cache_.read([&](const PieceCache& cached) {
    PreTokenizer::forEachPiece(text, [&](std::string_view piece) {
      if (piece.size() == 1) {
        const int id = table.tokenID(table.byteSymbol(static_cast<unsigned char>(piece[0])));
        if (id >= 0) ids.push_back(id);
        return;
      }
      const std::uint64_t hash = PieceCache::hash(piece);
      auto found = cached.find(piece, hash);
      if (!found) found = fresh.find(piece, hash);
      if (found) {
        ids.insert(ids.end(), found->begin(), found->end());
        return;
      }
      const std::size_t first = ids.size();
      appendMergedIDs(table, piece, ids, scratch);
      fresh.insert(piece, hash, std::span<const int>(ids).subspan(first));
    });
  });
  if (fresh.count() > 0) cache_.write([&](PieceCache& cached) { cached.insertAll(fresh); });
  return ids;
}

std::string GPTEncoder::text(std::span<const int> tokenIDs) const {
  std::string symbols;
  for (int id : tokenIDs) {
    if (const std::string* symbol = vocabulary_->symbol(id)) symbols.append(*symbol);
  }
  // Every character of the symbols stands for one byte; characters outside the byte alphabet are skipped.
  std::string bytes;
  for (char32_t scalar : foundation::unicodeScalars(symbols)) {
    const int byte = byteOfCharacter(scalar);
    if (byte >= 0) bytes.push_back(static_cast<char>(byte));
  }
  if (!isValidUTF8(bytes)) return {};
  return bytes;
}

std::size_t GPTEncoder::cachedPieceCount() const {
  return cache_.read([](const PieceCache& cached) { return cached.count(); });
}

}  // namespace GPTTokenizer
