#include "GPTEncoder/vocabulary.h"

#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "GPTEncoder/byte_alphabet.h"
#include "GPTEncoder/pre_tokenizer.h"
#include "platform/foundation/text_error.h"

namespace GPTTokenizer {
namespace {

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

bool isBlank(std::string_view text) {
  return text.find_first_not_of(" \t\n\r\v\f") == std::string_view::npos;
}

}  // namespace

MergeTable::MergeTable(std::string_view lines, const std::function<int(std::string_view)>& tokenID) {
  std::unordered_map<std::string, Symbol, detail::TextHash, detail::TextEqual> symbols;
  auto symbolOf = [&](std::string_view text) {
    auto found = symbols.find(text);
    if (found == symbols.end()) {
      found = symbols.emplace(std::string(text), static_cast<Symbol>(tokenIDs_.size())).first;
      tokenIDs_.push_back(tokenID(text));
    }
    return found->second;
  };
  for (int byte = 0; byte < 256; ++byte)
    byteSymbols_[byte] = symbolOf(byteCharacter(static_cast<unsigned char>(byte)));

  // One merge per non-empty line after the header; its rank is its position among those lines. A line
  // that does not hold exactly two symbols still takes a rank but can never match a pair.
  struct Listed {
    std::uint64_t key;
    int rank;
    Symbol result;
  };
  std::vector<Listed> listed;
  bool isHeader = true;
  int rank = 0;
  std::string joined;
  while (!lines.empty()) {
    const std::size_t end = lines.find('\n');
    const std::string_view line = lines.substr(0, end);
    lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
    if (line.empty()) continue;
    if (isHeader) {
      isHeader = false;
      continue;
    }
    std::string_view parts[2];
    std::size_t partCount = 0;
    for (std::size_t start = 0; start <= line.size();) {
      std::size_t space = line.find(' ', start);
      if (space == std::string_view::npos) space = line.size();
      const std::string_view part = line.substr(start, space - start);
      if (!isBlank(part)) {
        if (partCount < 2) parts[partCount] = part;
        ++partCount;
      }
      start = space + 1;
    }
    if (partCount == 2) {
      joined.assign(parts[0]).append(parts[1]);
      const Symbol left = symbolOf(parts[0]);
      const Symbol right = symbolOf(parts[1]);
      listed.push_back({(static_cast<std::uint64_t>(left) << 32) | right, rank, symbolOf(joined)});
    }
    ++rank;
  }

  std::size_t capacity = 16;
  while (capacity < listed.size() * 2) capacity *= 2;
  slots_.resize(capacity);
  mask_ = capacity - 1;
  shift_ = 64 - std::countr_zero(capacity);
  for (const Listed& merge : listed)
    insert(merge.key, merge.rank, merge.result);  // a repeat keeps its later rank
}

void MergeTable::insert(std::uint64_t key, int rank, Symbol result) {
  for (std::size_t slot = slotOf(key);; slot = (slot + 1) & mask_) {
    Slot& entry = slots_[slot];
    if (entry.rank == notMerged) {
      entry = {key, rank, result};
      ++count_;
      return;
    }
    if (entry.key == key) {
      entry.rank = rank;
      entry.result = result;
      return;
    }
  }
}

Vocabulary::Vocabulary(std::string mergeListText, std::string_view tokenTableJSON)
    : bpe_(std::move(mergeListText)) {
  if (!isValidUTF8(bpe_)) throw foundation::TextError("the merge list (vocab.bpe) is not UTF-8 text");
  auto table = nlohmann::json::parse(tokenTableJSON, nullptr, /*allow_exceptions=*/false);
  if (!table.is_object()) throw foundation::TextError("the token table (encoder.json) is not a JSON object");
  encoder_.reserve(table.size());
  for (const auto& [symbol, id] : table.items()) {
    const bool wholeNumber =
        id.is_number_integer() &&
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

std::shared_ptr<const Vocabulary> Vocabulary::read(const GPTEncoderDataFiles& files) {
  std::string mergeList = readFile(files.mergeList);  // read (and reported) first
  return std::make_shared<const Vocabulary>(std::move(mergeList), readFile(files.tokenTable));
}

std::optional<int> Vocabulary::tokenID(std::string_view symbol) const {
  auto found = encoder_.find(symbol);
  if (found == encoder_.end()) return std::nullopt;
  return found->second;
}

const MergeTable& Vocabulary::mergeTable() const {
  std::call_once(mergeTableOnce_, [this] {
    mergeTable_ = std::make_unique<MergeTable>(
        bpe_, [this](std::string_view symbol) { return tokenID(symbol).value_or(-1); });
  });
  return *mergeTable_;
}

const std::string* Vocabulary::symbol(int tokenID) const {
  std::call_once(decoderOnce_, [this] {
    decoder_.reserve(encoder_.size());
    for (const auto& [symbol, id] : encoder_) decoder_.emplace(id, symbol);
  });
  auto found = decoder_.find(tokenID);
  return found == decoder_.end() ? nullptr : &found->second;
}

}  // namespace GPTTokenizer
