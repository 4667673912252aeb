#include "tools/gpt2_vocabulary/rank_table.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "GPTEncoder/gpt_encoder.h"
#include "platform/foundation/text_error.h"

namespace {

std::string base64(const std::string& bytes) {
  static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    unsigned n = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
    text += alphabet[(n >> 18) & 63];
    text += alphabet[(n >> 12) & 63];
    text += i + 1 < bytes.size() ? alphabet[(n >> 6) & 63] : '=';
    text += i + 2 < bytes.size() ? alphabet[n & 63] : '=';
  }
  return text;
}

// A rank table in the published module form: the 256 bytes first, then the given tokens.
std::string rankTable(const std::vector<std::string>& tokens, const std::string& extra = "") {
  std::string groups = "! 0";
  for (int byte = 0; byte < 256; ++byte) groups += " " + base64(std::string(1, static_cast<char>(byte)));
  if (!tokens.empty()) {
    groups += "! 256";
    for (const auto& token : tokens) groups += " " + base64(token);
  }
  const nlohmann::json table = {{"explicit_n_vocab", 256 + tokens.size() + 1},
                                {"special_tokens", {{"<|endoftext|>", 256 + tokens.size()}}},
                                {"bpe_ranks", groups}};
  return "export default " + table.dump() + extra + ";";
}

}  // namespace

TEST(RankTable, ListsTheMergeOfEveryTokenOfTwoOrMoreBytesInRankOrder) {
  const auto files =
      GPTVocabulary::convertRankTable(rankTable({" t", "he", " the", "é", "ab", "abab", "aba"}));
  EXPECT_EQ(files.mergeList,
            "#version: 0.2\n"
            "Ġ t\n"
            "h e\n"
            "Ġt he\n"
            "Ã ©\n"
            "a b\n"
            "ab ab\n"
            "ab a\n");
  const auto table = nlohmann::json::parse(files.tokenTable);
  EXPECT_EQ(table.size(), 256u + 7 + 1);
  EXPECT_EQ(table["!"], 33);  // each byte's rank is its value here
  EXPECT_EQ(table["Ġ"], 32);
  EXPECT_EQ(table["Ā"], 0);
  EXPECT_EQ(table["Ġthe"], 258);
  EXPECT_EQ(table["<|endoftext|>"], 263);

  // The two files make a tokenizer that gives every token its rank.
  GPTTokenizer::GPTEncoder encoder(files.mergeList, files.tokenTable);
  EXPECT_EQ(encoder.tokenIDs(" the abab é"), (std::vector<int>{258, 32, 261, 32, 259}));
}

TEST(RankTable, RefusesMalformedTables) {
  struct Case {
    const char* name;
    std::string module;
  };
  std::string missingByte = rankTable({});
  missingByte.replace(missingByte.find(" AA=="), 5, "");
  std::string notBase64 = rankTable({"abc"});
  notBase64.replace(notBase64.rfind(' ') + 1, 4, "@@@@");
  const Case cases[] = {
      {"no object", "export default 3;"},
      {"no ranks", "export default {\"special_tokens\": {}};"},
      {"not base64", notBase64},
      {"a byte missing", missingByte},
      {"a token not made of two earlier ones", rankTable({"abc"})},
      {"a token twice", rankTable({"ab", "ab"})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(GPTVocabulary::convertRankTable(c.module), foundation::TextError);
  }
}
