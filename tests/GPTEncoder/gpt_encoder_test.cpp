#include "GPTEncoder/gpt_encoder.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "GPTEncoder/gpt_encoder_resources.h"
#include "platform/foundation/bundle.h"
#include "platform/foundation/log.h"
#include "platform/foundation/text_error.h"

using GPTTokenizer::GPTEncoder;
using GPTTokenizer::GPTEncoderDataFiles;
using Ids = std::vector<int>;

namespace {

// A merge list small enough to follow by hand. "Ġ" is the byte-encoded space, "Ċ" the line feed; "Ã" and
// "©" are the two bytes of "é".
constexpr const char* kMerges =
    "#version: 0.2\n"
    "a b\n"    // 0
    "l o\n"    // 1
    "lo w\n"   // 2
    "e r\n"    // 3
    "Ġ lo\n"   // 4
    "Ġlo w\n"  // 5
    "ab c\n"   // 6
    "Ġ Ġ\n"    // 7
    "a Ġ\n"    // 8: would join a word to the next one if pieces were not split first
    "' s\n"    // 9
    "t '\n"    // 10
    "Ã ©\n";   // 11

constexpr const char* kTokenTable = R"({
  "a": 0, "b": 1, "c": 2, "e": 4, "l": 5, "o": 6, "w": 7, "r": 8, "Ġ": 9,
  "ab": 10, "abc": 11, "lo": 12, "low": 13, "er": 14, "Ġlow": 15, "Ġlo": 16, "ba": 17, "ĠĠ": 18,
  "aĠ": 19, "Ã": 20, "©": 21, "Ã©": 22, "i": 23, "t": 24, "'": 25, "s": 26, "'s": 27, "t'": 28,
  "Ċ": 29, "â": 30, "Ĥ": 31, "¬": 32, "ł": 33, "Â": 34, "Ń": 35
})";

GPTEncoder makeEncoder(const char* merges = kMerges) { return GPTEncoder(merges, kTokenTable); }

GPTEncoderDataFiles fixtureFiles(const std::string& folder) {
  return {"fixtures/" + folder + "/vocab.bpe", "fixtures/" + folder + "/encoder.json"};
}

}  // namespace

TEST(GPTEncoder, MergesNeighbouringSymbolsByRank) {
  struct Case {
    const char* text;
    Ids ids;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {0}},  // one byte: looked up directly
      {"ab", {10}},
      {"ba", {1, 0}},        // only "a b" is listed: "b a" stays two symbols
      {"abc", {11}},         // a b first, then ab c
      {"abab", {10, 10}},    // every occurrence of the best pair merges in one step
      {"aaa", {0, 0, 0}},    // nothing listed
      {"lower", {13, 14}},   // l o, lo w, e r; "low er" is not listed
      {" lo", {16}},         // Ġ l is not listed; l o, then Ġ lo
      {" low", {9, 13}},     // lo w (rank 2) wins over Ġ lo (rank 4), and "Ġ low" is not listed
      {"balo", {1, 0, 12}},  // "b a" is unlisted; merging goes on with the listed "l o"
      {"cab", {2, 10}},
      {"  ", {18}},  // a run of white space is one piece
      {"xyz", {}},   // symbols missing from the token table are not counted
      {"axb", {0, 1}},
  };
  GPTEncoder encoder = makeEncoder();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(encoder.tokenIDs(c.text), c.ids);
  }
}

TEST(GPTEncoder, SplitsTextIntoPiecesBeforeMerging) {
  struct Case {
    const char* text;
    Ids ids;
  };
  const Case cases[] = {
      {"a b", {0, 9, 1}},          // "a" and " b": the listed "a Ġ" never applies across pieces
      {"it's", {23, 24, 27}},      // "it" and "'s": "t '" never applies
      {"ab  ab", {10, 9, 9, 10}},  // the last space of a run belongs to the following word
      {"ab\n", {10, 29}},
  };
  GPTEncoder encoder = makeEncoder();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(encoder.tokenIDs(c.text), c.ids);
  }
}

TEST(GPTEncoder, SplitsCharactersOutsideASCIIIntoTheirBytes) {
  struct Case {
    const char* text;
    Ids withMerges;
    Ids withoutMerges;
  };
  const Case cases[] = {
      {"é", {22}, {20, 21}},              // C3 A9: both bytes printable, "Ã ©" listed
      {"€", {30, 31, 32}, {30, 31, 32}},  // E2 82 AC: 0x82 is not printable and becomes U+0124
      {"\xC2\xA0", {34, 33}, {34, 33}},   // no-break space: 0xA0 becomes U+0142
      {"\xC2\xAD", {34, 35}, {34, 35}},   // soft hyphen: 0xAD becomes U+0143
  };
  GPTEncoder encoder = makeEncoder();
  GPTEncoder headerOnly = makeEncoder("#version: 0.2\n");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(encoder.tokenIDs(c.text), c.withMerges);
    EXPECT_EQ(headerOnly.tokenIDs(c.text), c.withoutMerges);
  }
}

TEST(GPTEncoder, InvalidUTF8IsCountedAsReplacementCharacters) {
  GPTEncoder encoder = makeEncoder();
  // U+FFFD is EF BF BD; none of those bytes is in the token table, so only "a" and "b" count.
  EXPECT_EQ(encoder.tokenIDs("a\xFF b"), (Ids{0, 9, 1}));
}

TEST(GPTEncoder, MergeListWithOnlyItsHeaderMergesNothing) {
  GPTEncoder encoder = makeEncoder("#version: 0.2\n\n");
  EXPECT_EQ(encoder.tokenIDs("abc lower"), (Ids{0, 1, 2, 9, 5, 6, 7, 4, 8}));
  EXPECT_EQ(encoder.cachedPieceCount(), 2u);
}

TEST(GPTEncoder, RemembersOnlyPiecesOfTwoOrMoreSymbols) {
  GPTEncoder encoder = makeEncoder();
  encoder.tokenIDs("a");
  EXPECT_EQ(encoder.cachedPieceCount(), 0u);
  encoder.tokenIDs("ab ab ab");  // "ab" and " ab"
  EXPECT_EQ(encoder.cachedPieceCount(), 2u);
}

TEST(GPTEncoder, CacheNeverChangesTheResult) {
  // Each word below is exactly one piece, so encoding each in a fresh tokenizer (nothing remembered) and
  // joining the ids is the uncached result of the whole text.
  const std::vector<std::string> pieces = {"lower", " low",   " lo", ",",  " abc",   " abab", " balo",
                                           " low",  " lower", "é",   "'s", " lower", " abc",  " lo"};
  std::string text;
  Ids uncached;
  for (const auto& piece : pieces) {
    text += piece;
    Ids ids = makeEncoder().tokenIDs(piece);
    uncached.insert(uncached.end(), ids.begin(), ids.end());
  }
  GPTEncoder encoder = makeEncoder();
  EXPECT_EQ(encoder.tokenIDs(text), uncached);  // cold: later repeats come from the cache
  EXPECT_GT(encoder.cachedPieceCount(), 0u);
  EXPECT_EQ(encoder.tokenIDs(text), uncached);  // warm: every piece from the cache
}

TEST(GPTEncoder, OneTokenizerCanCountOnTwoThreads) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "lower abc balo é it's  " + std::to_string(i) + " ";
  const Ids expected = makeEncoder().tokenIDs(text);
  GPTEncoder shared = makeEncoder();
  Ids first, second;
  std::thread a([&] { first = shared.tokenIDs(text); });
  std::thread b([&] { second = shared.tokenIDs(text); });
  a.join();
  b.join();
  EXPECT_EQ(first, expected);
  EXPECT_EQ(second, expected);
}

TEST(GPTEncoder, DecodesTokenIdsBackToText) {
  struct Case {
    Ids ids;
    std::string text;
  };
  const Case cases[] = {
      {{}, ""},    {{10}, "ab"},        {{9, 13}, " low"},
      {{22}, "é"}, {{30, 31, 32}, "€"}, {{10, 999, 2}, "abc"},  // unknown ids are skipped
      {{20}, ""},                                               // half of "é" is not UTF-8 text
  };
  GPTEncoder encoder = makeEncoder();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(encoder.text(c.ids), c.text);
  }
  const std::string roundTrip = "lower abc é";
  EXPECT_EQ(encoder.text(encoder.tokenIDs(roundTrip)), roundTrip);
}

TEST(GPTEncoder, LoadsItsDataFiles) {
  foundation::LogCapture log;
  std::unique_ptr<GPTEncoder> encoder = GPTEncoder::load(fixtureFiles("valid"));
  ASSERT_NE(encoder, nullptr);
  EXPECT_EQ(encoder->tokenIDs("abc ab"), (Ids{4, 3}));  // " ab": "Ġ" is not in that table
  EXPECT_TRUE(log.lines().empty());
}

TEST(GPTEncoder, MissingOrInvalidDataFilesAreReportedWithoutStopping) {
  struct Case {
    const char* folder;
    const char* reason;
  };
  const Case cases[] = {
      {"nonexistent", "no file fixtures/nonexistent/vocab.bpe"},
      {"missing_table", "no file fixtures/missing_table/encoder.json"},
      {"corrupt_json", "the token table (encoder.json) is not a JSON object"},
      {"array_table", "the token table (encoder.json) is not a JSON object"},
      {"fractional_id", "the token table (encoder.json) holds a value that is not a whole number, for \"b\""},
      {"text_id", "the token table (encoder.json) holds a value that is not a whole number, for \"b\""},
      {"not_utf8", "the merge list (vocab.bpe) is not UTF-8 text"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    EXPECT_THROW(GPTEncoder{fixtureFiles(c.folder)}, foundation::TextError);
    foundation::LogCapture log;
    EXPECT_EQ(GPTEncoder::load(fixtureFiles(c.folder)), nullptr);
    EXPECT_EQ(log.lines(), std::vector<std::string>{
                               std::string("GPTEncoder: token counting is unavailable: ") + c.reason});
  }
}

TEST(GPTEncoder, FindsItsDataFilesInTheResourceBundle) {
  std::shared_ptr<foundation::Bundle> bundle =
      foundation::Bundle::atPath(std::filesystem::path(QUILLO_TEST_DIR) / "fixtures/resources");
  ASSERT_NE(bundle, nullptr);
  const std::optional<GPTEncoderDataFiles> files = GPTTokenizer::GPTEncoderResources::dataFiles(*bundle);
  ASSERT_TRUE(files.has_value());
  foundation::LogCapture log;
  std::unique_ptr<GPTEncoder> encoder = GPTEncoder::load(*files);
  ASSERT_NE(encoder, nullptr);
  EXPECT_EQ(encoder->tokenIDs("abc"), (Ids{4}));
  EXPECT_TRUE(log.lines().empty());

  const std::shared_ptr<foundation::Bundle> empty = foundation::Bundle::atPath(QUILLO_TEST_DIR);
  EXPECT_FALSE(GPTTokenizer::GPTEncoderResources::dataFiles(*empty).has_value());
}

TEST(SharedVocabulary, ParsesTheFilesOnceForEveryone) {
  int lookups = 0;
  GPTTokenizer::SharedVocabulary shared([&] {
    ++lookups;
    return std::optional(fixtureFiles("valid"));
  });
  std::shared_ptr<const GPTTokenizer::Vocabulary> first, second;
  std::thread other([&] { second = shared.get(); });
  first = shared.get();
  other.join();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_EQ(shared.get(), first);
  EXPECT_EQ(lookups, 1);
  // Tokenizers over it share the vocabulary but keep caches of their own.
  GPTEncoder a(first), b(first);
  a.tokenIDs("abc ab");
  EXPECT_EQ(a.cachedPieceCount(), 2u);
  EXPECT_EQ(b.cachedPieceCount(), 0u);
  EXPECT_EQ(b.tokenIDs("abc ab"), (Ids{4, 3}));
}

TEST(SharedVocabulary, ReportsAFailureOnce) {
  struct Case {
    const char* name;
    std::optional<GPTEncoderDataFiles> files;
    const char* reason;
  };
  const Case cases[] = {
      {"no bundle", std::nullopt,
       "the resource bundle GPTEncoder.bundle with vocab.bpe and encoder.json was not found"},
      {"invalid table", fixtureFiles("corrupt_json"), "the token table (encoder.json) is not a JSON object"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GPTTokenizer::SharedVocabulary shared([&] { return c.files; });
    foundation::LogCapture log;
    for (int caption = 0; caption < 3; ++caption) EXPECT_EQ(shared.get(), nullptr);
    EXPECT_EQ(log.lines(), std::vector<std::string>{
                               std::string("GPTEncoder: token counting is unavailable: ") + c.reason});
  }
}
