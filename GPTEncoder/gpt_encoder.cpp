#include "GPTEncoder/gpt_encoder.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <array>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "GPTEncoder/gpt_encoder_resources.h"
#include "platform/foundation/log.h"
#include "platform/foundation/text_error.h"

namespace GPTTokenizer {
namespace {

// The GPT-2 pre-tokenisation expression: English contractions, runs of letters or digits with an optional
// leading space, runs of other visible characters with an optional leading space, and white space (a run
// of white space before a word leaves its last space to that word).
constexpr char16_t kPattern[] =
    u"\\'s|\\'t|\\'re|\\'ve|\\'m|\\'ll|\\'d| ?\\p{L}+| ?\\p{N}+| ?[^\\s\\p{L}\\p{N}]+|\\s+(?!\\S)|\\s+";

// The reversible byte-to-character rule of GPT-2: printable bytes keep their code point, the other 68
// bytes take U+0100 upwards in byte order. Each entry is the UTF-8 form of that character.
struct ByteTables {
  std::array<std::string, 256> encoder;
  std::array<int, 324> decoder;  // code point → byte, -1 where none

  ByteTables() {
    decoder.fill(-1);
    int next = 256;
    for (int byte = 0; byte < 256; ++byte) {
      bool printable = (byte >= 33 && byte <= 126) || (byte >= 161 && byte <= 172) || (byte >= 174);
      int codePoint = printable ? byte : next++;
      std::string utf8;
      if (codePoint < 0x80) {
        utf8.push_back(static_cast<char>(codePoint));
      } else {
        utf8.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        utf8.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
      }
      encoder[byte] = std::move(utf8);
      decoder[codePoint] = byte;
    }
  }
};

const ByteTables& byteTables() {
  static const ByteTables tables;
  return tables;
}

bool isValidUTF8(std::string_view text) {
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) return false;
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  int32_t length = static_cast<int32_t>(text.size());
  int32_t offset = 0;
  while (offset < length) {
    UChar32 c;
    U8_NEXT(bytes, offset, length, c);
    if (c < 0) return false;
  }
  return true;
}

// Length in bytes of the UTF-8 sequence that starts with this lead byte (valid text assumed).
int sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return 4;
}

std::string readFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) throw foundation::TextError("no file " + path.string());
  std::ifstream file(path, std::ios::binary);
  if (!file) throw foundation::TextError("cannot read " + path.string());
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) throw foundation::TextError("cannot read " + path.string());
  return std::move(content).str();
}

std::unique_ptr<icu::RegexPattern> compilePattern() {
  UErrorCode status = U_ZERO_ERROR;
  UParseError parseError;
  std::unique_ptr<icu::RegexPattern> pattern(
      icu::RegexPattern::compile(icu::UnicodeString(kPattern), UREGEX_MULTILINE, parseError, status));
  if (U_FAILURE(status) || !pattern) {
    throw foundation::TextError(std::string("the pre-tokenisation expression does not compile: ") +
                                u_errorName(status));
  }
  return pattern;
}

}  // namespace

GPTEncoder::GPTEncoder(std::string mergeListText, std::string_view tokenTableJSON)
    : regex_(compilePattern()), bpe_(std::move(mergeListText)) {
  if (!isValidUTF8(bpe_)) throw foundation::TextError("the merge list (vocab.bpe) is not UTF-8 text");
  auto table = nlohmann::json::parse(tokenTableJSON, nullptr, /*allow_exceptions=*/false);
  if (!table.is_object()) throw foundation::TextError("the token table (encoder.json) is not a JSON object");
  encoder_.reserve(table.size());
  for (const auto& [symbol, id] : table.items()) {
    bool wholeNumber = id.is_number_integer() &&
                       (id.is_number_unsigned() ? id.get<uint64_t>() <= std::numeric_limits<int>::max()
                                                : id.get<int64_t>() >= std::numeric_limits<int>::min() &&
                                                      id.get<int64_t>() <= std::numeric_limits<int>::max());
    if (!wholeNumber) {
      throw foundation::TextError(
          "the token table (encoder.json) holds a value that is not a whole number, for \"" + symbol + "\"");
    }
    encoder_.emplace(symbol, id.get<int>());
  }
}

GPTEncoder::GPTEncoder(const GPTEncoderDataFiles& files)
    // Braces: the merge list is read (and reported) first.
    : GPTEncoder{readFile(files.mergeList), readFile(files.tokenTable)} {}

GPTEncoder::~GPTEncoder() = default;

std::unique_ptr<GPTEncoder> GPTEncoder::load(const GPTEncoderDataFiles& files) {
  try {
    return std::make_unique<GPTEncoder>(files);
  } catch (const std::exception& error) {
    foundation::log(std::string("GPTEncoder: token counting is unavailable: ") + error.what());
    return nullptr;
  }
}

std::unique_ptr<GPTEncoder> GPTEncoder::loadFromResources() {
  std::optional<GPTEncoderDataFiles> files = GPTEncoderResources::dataFiles();
  if (!files) {
    foundation::log(
        "GPTEncoder: token counting is unavailable: the resource bundle GPTEncoder.bundle "
        "with vocab.bpe and encoder.json was not found");
    return nullptr;
  }
  return load(*files);
}

const GPTEncoder::TextMap& GPTEncoder::bpeRanks() {
  std::call_once(bpeRanksOnce_, [this] {
    // One merge per non-empty line after the header; its rank is its position among those lines. A line
    // that does not hold exactly two symbols still takes a rank but can never match a pair.
    std::string_view rest = bpe_;
    bool isHeader = true;
    int rank = 0;
    while (!rest.empty()) {
      std::size_t end = rest.find('\n');
      std::string_view line = rest.substr(0, end);
      rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
      if (line.empty()) continue;
      if (isHeader) {
        isHeader = false;
        continue;
      }
      std::vector<std::string_view> symbols;
      std::size_t start = 0;
      while (start <= line.size()) {
        std::size_t space = line.find(' ', start);
        std::string_view part =
            line.substr(start, space == std::string_view::npos ? line.npos : space - start);
        if (part.find_first_not_of(" \t\n\r\v\f") != std::string_view::npos) symbols.push_back(part);
        if (space == std::string_view::npos) break;
        start = space + 1;
      }
      if (symbols.size() == 2) {
        std::string key;
        key.reserve(symbols[0].size() + 1 + symbols[1].size());
        key.append(symbols[0]).append(1, ' ').append(symbols[1]);
        bpeRanks_.insert_or_assign(std::move(key), rank);  // a repeated merge keeps its later rank
      }
      ++rank;
    }
  });
  return bpeRanks_;
}

std::string GPTEncoder::mergedSymbols(const std::string& piece) {
  // Every symbol is a run of whole characters of the piece, so a symbol is an offset and a length.
  struct Symbol {
    std::size_t offset;
    std::size_t length;
  };
  std::vector<Symbol> word;
  for (std::size_t offset = 0; offset < piece.size();) {
    std::size_t length = std::min<std::size_t>(sequenceLength(static_cast<unsigned char>(piece[offset])),
                                               piece.size() - offset);
    word.push_back({offset, length});
    offset += length;
  }
  auto text = [&piece](Symbol s) { return std::string_view(piece).substr(s.offset, s.length); };
  const TextMap& ranks = bpeRanks();
  std::string pairKey;
  std::vector<Symbol> merged;
  while (word.size() > 1 && !ranks.empty()) {
    // The best merge is the listed pair of lowest rank. A pair that is not listed is never merged; when
    // no neighbouring pair is listed, merging ends.
    int bestRank = std::numeric_limits<int>::max();
    std::optional<std::size_t> best;
    for (std::size_t i = 1; i < word.size(); ++i) {
      pairKey.assign(text(word[i - 1])).append(1, ' ').append(text(word[i]));
      auto found = ranks.find(std::string_view(pairKey));
      if (found != ranks.end() && found->second < bestRank) {
        bestRank = found->second;
        best = i - 1;
      }
    }
    if (!best) break;
    const std::string_view left = text(word[*best]);
    const std::string_view right = text(word[*best + 1]);

    // Every occurrence of the pair, scanning from the left; an occurrence overlapping one just merged is
    // left alone.
    merged.clear();
    for (std::size_t i = 0; i < word.size();) {
      if (i + 1 < word.size() && text(word[i]) == left && text(word[i + 1]) == right) {
        merged.push_back({word[i].offset, word[i].length + word[i + 1].length});
        i += 2;
      } else {
        merged.push_back(word[i]);
        i += 1;
      }
    }
    word.swap(merged);
  }

  std::string result;
  result.reserve(piece.size() + word.size());
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (i > 0) result.push_back(' ');
    result.append(text(word[i]));
  }
  return result;
}

void GPTEncoder::appendIDs(std::string_view symbols, std::vector<int>& ids) const {
  while (!symbols.empty()) {
    std::size_t space = symbols.find(' ');
    std::string_view symbol = symbols.substr(0, space);
    symbols = space == std::string_view::npos ? std::string_view() : symbols.substr(space + 1);
    if (symbol.empty()) continue;
    auto found = encoder_.find(symbol);
    if (found != encoder_.end()) ids.push_back(found->second);
  }
}

std::vector<int> GPTEncoder::tokenIDs(std::string_view text) {
  std::vector<int> ids;
  if (text.empty()) return ids;

  // Matches are found on UTF-16 text; their bounds are carried over to the UTF-8 bytes by walking both
  // forms side by side. Invalid UTF-8 is first replaced (U+FFFD) so that the two forms correspond.
  std::string repaired;
  if (!isValidUTF8(text)) {
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) return ids;
    icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())))
        .toUTF8String(repaired);
    text = repaired;
  }
  icu::UnicodeString utf16 =
      icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  if (utf16.isBogus()) return ids;

  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::RegexMatcher> matcher(regex_->matcher(utf16, status));
  if (U_FAILURE(status) || !matcher) return ids;

  const ByteTables& tables = byteTables();
  int32_t position16 = 0;
  std::size_t position8 = 0;
  auto advanceTo = [&](int32_t target16) {
    while (position16 < target16 && position8 < text.size()) {
      int length = sequenceLength(static_cast<unsigned char>(text[position8]));
      position16 += length == 4 ? 2 : 1;
      position8 += length;
    }
    return position8;
  };
  // The byte-encoded pieces, in text order.
  std::vector<std::string> pieces;
  while (matcher->find(status) && U_SUCCESS(status)) {
    int32_t start16 = matcher->start(status);
    int32_t end16 = matcher->end(status);
    if (U_FAILURE(status) || end16 <= start16) break;
    std::size_t start8 = advanceTo(start16);
    std::size_t end8 = advanceTo(end16);
    std::string& piece = pieces.emplace_back();
    for (std::size_t i = start8; i < end8; ++i)
      piece.append(tables.encoder[static_cast<unsigned char>(text[i])]);
  }

  // One cache read for all pieces and one write for all new merges. A piece that repeats before it is in
  // the cache is merged once, through `fresh`. Pieces of one symbol are not merged and not remembered.
  const std::vector<std::optional<std::string>> cached = cache_.values(pieces);
  std::unordered_map<std::string, std::string, detail::TextHash, detail::TextEqual> fresh;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const std::string& piece = pieces[i];
    if (cached[i]) {
      appendIDs(*cached[i], ids);
    } else if (piece.empty() || static_cast<std::size_t>(
                                    sequenceLength(static_cast<unsigned char>(piece[0]))) >= piece.size()) {
      appendIDs(piece, ids);
    } else {
      auto entry = fresh.find(piece);
      if (entry == fresh.end()) entry = fresh.emplace(piece, mergedSymbols(piece)).first;
      appendIDs(entry->second, ids);
    }
  }
  if (!fresh.empty()) cache_.setValues(fresh);
  return ids;
}

std::string GPTEncoder::text(std::span<const int> tokenIDs) {
  std::call_once(decoderOnce_, [this] {
    decoder_.reserve(encoder_.size());
    for (const auto& [symbol, id] : encoder_) decoder_.emplace(id, symbol);
  });
  std::string symbols;
  for (int id : tokenIDs) {
    auto found = decoder_.find(id);
    if (found != decoder_.end()) symbols.append(found->second);
  }
  // Every character of the symbols stands for one byte; characters outside the byte alphabet are skipped.
  const ByteTables& tables = byteTables();
  std::string bytes;
  const auto* data = reinterpret_cast<const uint8_t*>(symbols.data());
  int32_t length = static_cast<int32_t>(symbols.size());
  for (int32_t offset = 0; offset < length;) {
    UChar32 c;
    U8_NEXT(data, offset, length, c);
    if (c >= 0 && c < static_cast<UChar32>(tables.decoder.size()) && tables.decoder[c] >= 0) {
      bytes.push_back(static_cast<char>(tables.decoder[c]));
    }
  }
  if (!isValidUTF8(bytes)) return {};
  return bytes;
}

}  // namespace GPTTokenizer
