// Turns a published rank table of GPT-2's byte-level vocabulary (each token's bytes with its rank, the
// rank being the token's id) into the two data files the tokenizer reads: the merge list and the token
// table.
#pragma once

#include <string>
#include <string_view>

namespace GPTVocabulary {

struct VocabularyFiles {
  // "vocab.bpe": a header line, then for every token of two or more bytes, in rank order, the two
  // tokens it is merged from, in the byte-encoded alphabet, separated by a space.
  std::string mergeList;
  // "encoder.json": every token, in the byte-encoded alphabet, with its id; special tokens included.
  std::string tokenTable;
};

// `module` is the rank table as a JavaScript data module: `export default {...}`, whose object holds
// "bpe_ranks" (groups "! <first rank> <base64 token> <base64 token> ...", ranks counting up from the
// first), "special_tokens" (name → id) and "explicit_n_vocab" (the number of ids). Throws
// foundation::TextError saying what is wrong when the table is malformed or a token cannot be split into
// two earlier tokens.
VocabularyFiles convertRankTable(std::string_view module);

}  // namespace GPTVocabulary
