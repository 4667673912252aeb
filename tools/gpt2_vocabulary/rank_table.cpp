#include "tools/gpt2_vocabulary/rank_table.h"

#include <fmt/format.h>

#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <unordered_map>
#include <vector>

#include "GPTEncoder/byte_alphabet.h"
#include "platform/foundation/text_error.h"

namespace GPTVocabulary {
namespace {

using foundation::TextError;

std::string decodeBase64(std::string_view text) {
  constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string bytes;
  unsigned bits = 0;
  int bitCount = 0;
  std::size_t padding = 0;
  for (char c : text) {
    if (c == '=') {
      ++padding;
      continue;
    }
    const std::size_t value = alphabet.find(c);
    if (value == std::string_view::npos || padding > 0) {
      throw TextError(fmt::format("\"{}\" is not base64 text", text));
    }
    bits = (bits << 6) | static_cast<unsigned>(value);
    bitCount += 6;
    if (bitCount >= 8) {
      bitCount -= 8;
      bytes.push_back(static_cast<char>((bits >> bitCount) & 0xFF));
    }
  }
  if (text.size() % 4 != 0 || padding > 2) throw TextError(fmt::format("\"{}\" is not base64 text", text));
  return bytes;
}

std::vector<std::string_view> fields(std::string_view text) {
  std::vector<std::string_view> found;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) found.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return found;
}

// Rank → the token's bytes.
std::map<int, std::string> parseRanks(std::string_view groups) {
  std::map<int, std::string> tokens;
  std::size_t start = 0;
  while (start <= groups.size()) {
    std::size_t end = groups.find('!', start);
    if (end == std::string_view::npos) end = groups.size();
    const std::vector<std::string_view> parts = fields(groups.substr(start, end - start));
    start = end + 1;
    if (parts.empty()) continue;
    int rank = 0;
    try {
      std::size_t used = 0;
      rank = std::stoi(std::string(parts[0]), &used);
      if (used != parts[0].size() || rank < 0) throw std::invalid_argument("rank");
    } catch (const std::exception&) {
      throw TextError(fmt::format("a group of the rank table starts with \"{}\", not a rank", parts[0]));
    }
    for (std::size_t i = 1; i < parts.size(); ++i, ++rank) {
      if (!tokens.emplace(rank, decodeBase64(parts[i])).second) {
        throw TextError(fmt::format("the rank {} is given twice", rank));
      }
    }
  }
  return tokens;
}

// The two tokens a token is merged from: byte-pair encoding of its bytes with only the tokens of lower
// rank, which must end in exactly two tokens.
std::pair<std::string, std::string> mergedPair(const std::string& token, int rank,
                                               const std::unordered_map<std::string, int>& rankOf) {
  std::vector<std::string> parts;
  for (char byte : token) parts.emplace_back(1, byte);
  while (parts.size() > 2) {
    int bestRank = rank;
    std::size_t best = parts.size();
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
      auto found = rankOf.find(parts[i] + parts[i + 1]);
      if (found != rankOf.end() && found->second < bestRank) {
        bestRank = found->second;
        best = i;
      }
    }
    if (best == parts.size()) break;
    parts[best] += parts[best + 1];
    parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(best) + 1);
  }
  if (parts.size() != 2) {
    throw TextError(fmt::format("the token of rank {} (\"{}\") is not merged from two tokens of lower rank",
                                rank, GPTTokenizer::byteEncoded(token)));
  }
  return {parts[0], parts[1]};
}

}  // namespace

VocabularyFiles convertRankTable(std::string_view module) {
  const std::size_t open = module.find('{');
  const std::size_t close = module.rfind('}');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open) {
    throw TextError("the rank table holds no object");
  }
  const nlohmann::json table =
      nlohmann::json::parse(module.substr(open, close - open + 1), nullptr, /*allow_exceptions=*/false);
  if (!table.is_object() || !table.contains("bpe_ranks") || !table["bpe_ranks"].is_string()) {
    throw TextError("the rank table's object has no text \"bpe_ranks\"");
  }
  const std::map<int, std::string> tokens = parseRanks(table["bpe_ranks"].get<std::string>());

  std::unordered_map<std::string, int> rankOf;
  for (const auto& [rank, bytes] : tokens) {
    if (bytes.empty()) throw TextError(fmt::format("the token of rank {} is empty", rank));
    if (!rankOf.emplace(bytes, rank).second) {
      throw TextError(fmt::format("the token \"{}\" has two ranks", GPTTokenizer::byteEncoded(bytes)));
    }
  }
  for (int byte = 0; byte < 256; ++byte) {
    if (!rankOf.contains(std::string(1, static_cast<char>(byte)))) {
      throw TextError(fmt::format("the byte {} has no token of its own", byte));
    }
  }

  std::map<int, std::string> ids;  // id → byte-encoded token, for the token table in id order
  for (const auto& [rank, bytes] : tokens) ids.emplace(rank, GPTTokenizer::byteEncoded(bytes));
  if (table.contains("special_tokens")) {
    for (const auto& [name, id] : table["special_tokens"].items()) {
      if (!id.is_number_integer() || id.get<int64_t>() < 0 ||
          id.get<int64_t>() > std::numeric_limits<int>::max())
        throw TextError(fmt::format("the special token \"{}\" has no whole-number id", name));
      if (!ids.emplace(id.get<int>(), name).second)
        throw TextError(fmt::format("the special token \"{}\" takes an id already given", name));
    }
  }
  if (table.contains("explicit_n_vocab") && table["explicit_n_vocab"] != ids.size()) {
    throw TextError(fmt::format("the rank table announces {} tokens but holds {}",
                                table["explicit_n_vocab"].dump(), ids.size()));
  }

  VocabularyFiles files;
  files.mergeList = "#version: 0.2\n";
  for (const auto& [rank, bytes] : tokens) {
    if (bytes.size() < 2) continue;
    const auto [left, right] = mergedPair(bytes, rank, rankOf);
    files.mergeList += GPTTokenizer::byteEncoded(left) + " " + GPTTokenizer::byteEncoded(right) + "\n";
  }
  files.tokenTable = "{";
  for (const auto& [id, symbol] : ids) {
    files.tokenTable += files.tokenTable.size() == 1 ? "\n  " : ",\n  ";
    files.tokenTable += nlohmann::json(symbol).dump() + ": " + std::to_string(id);
  }
  files.tokenTable += "\n}\n";
  return files;
}

}  // namespace GPTVocabulary
