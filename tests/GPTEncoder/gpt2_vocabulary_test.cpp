// The application's own vocabulary (GPT-2's, shipped in the resources) counts as the GPT-2 models count.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "GPTEncoder/gpt_encoder.h"
#include "GPTEncoder/gpt_encoder_resources.h"
#include "icu_pieces.h"
#include "platform/foundation/log.h"

using GPTTokenizer::GPTEncoder;
using Ids = std::vector<int>;

namespace {

std::string readFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

std::unique_ptr<GPTEncoder> applicationEncoder() {
  std::unique_ptr<GPTEncoder> encoder = GPTEncoder::loadFromResources();
  if (!encoder) ADD_FAILURE() << "the application's vocabulary does not load";
  return encoder;
}

// Byte-pair encoding as plainly as it can be written: the pieces from ICU's regular expression, and for
// each piece the lowest-ranked pair of neighbouring symbols, found by building each pair's text, joined
// at every occurrence from the left until no pair is listed. Slow and independent of the tokenizer's own
// pre-tokeniser, merge table and cache.
class ReferenceEncoder {
 public:
  explicit ReferenceEncoder(const GPTTokenizer::Vocabulary& vocabulary) : vocabulary_(vocabulary) {
    std::istringstream lines(
        readFile(std::filesystem::path(QUILLO_SOURCE_DIR) / "resources/GPTEncoder.bundle/vocab.bpe"));
    std::string line;
    std::getline(lines, line);  // the header
    for (int rank = 0; std::getline(lines, line); ++rank) ranks_[line] = rank;
  }

  Ids tokenIDs(const std::string& text) const {
    Ids ids;
    for (const std::string& piece : icuPieces(text)) {
      std::vector<std::string> word;
      for (char byte : piece)
        word.emplace_back(GPTTokenizer::byteCharacter(static_cast<unsigned char>(byte)));
      while (word.size() > 1) {
        int bestRank = -1;
        std::string left, right;
        for (std::size_t i = 0; i + 1 < word.size(); ++i) {
          auto found = ranks_.find(word[i] + " " + word[i + 1]);
          if (found != ranks_.end() && (bestRank < 0 || found->second < bestRank)) {
            bestRank = found->second;
            left = word[i];
            right = word[i + 1];
          }
        }
        if (bestRank < 0) break;
        std::vector<std::string> merged;
        for (std::size_t i = 0; i < word.size();) {
          if (i + 1 < word.size() && word[i] == left && word[i + 1] == right) {
            merged.push_back(left + right);
            i += 2;
          } else {
            merged.push_back(word[i++]);
          }
        }
        word = std::move(merged);
      }
      for (const std::string& symbol : word) {
        if (auto id = vocabulary_.tokenID(symbol)) ids.push_back(*id);
      }
    }
    return ids;
  }

 private:
  const GPTTokenizer::Vocabulary& vocabulary_;
  std::unordered_map<std::string, int> ranks_;
};

const char* const kEnglishAndSwift =
    "Token counts decide how much of a conversation still fits. When the history grows past the model's\n"
    "limit, the oldest messages are dropped first: the system text stays, and so does the newest question.\n"
    "\n"
    "It's easy to underestimate how quickly a long reply fills the window. We've measured it: 1,024\n"
    "characters of Swift came to 312 tokens. Isn't that surprising? They'll say it depends.\n"
    "\n"
    "```swift\n"
    "@MainActor\n"
    "final class ConversationStore: ObservableObject {\n"
    "    @Published private(set) var messages: [Message] = []\n"
    "\n"
    "    func append(_ message: Message) async throws -> Bool {\n"
    "        guard messages.count < 1_000 else { return false }\n"
    "        let summary = \"Added \\(message.role) message #\\(messages.count)\"\n"
    "        print(summary, 3.14, #line)\n"
    "        return messages.map { $0.content }.isEmpty == false\n"
    "    }\n"
    "}\n"
    "```\n"
    "\n"
    "Café, naïve, 東京 and 👍🏽 are split into their bytes before merging.   \n";

}  // namespace

TEST(GPT2Vocabulary, LoadsFromTheApplicationsResources) {
  foundation::LogCapture log;
  std::unique_ptr<GPTEncoder> encoder = applicationEncoder();
  ASSERT_NE(encoder, nullptr);
  EXPECT_TRUE(log.lines().empty());
  EXPECT_EQ(encoder->vocabulary()->tokenID("<|endoftext|>"), 50256);
  EXPECT_EQ(encoder->vocabulary()->tokenID("Ġgazed"), 50255);
}

TEST(GPT2Vocabulary, IsParsedOncePerProcess) {
  std::unique_ptr<GPTEncoder> first = applicationEncoder();
  std::unique_ptr<GPTEncoder> second = applicationEncoder();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->vocabulary(), second->vocabulary());
  EXPECT_EQ(first->vocabulary(), GPTTokenizer::GPTEncoderResources::vocabulary());
  first->tokenIDs("Hello world");
  EXPECT_EQ(second->cachedPieceCount(), 0u);  // the cache stays each tokenizer's own
}

TEST(GPT2Vocabulary, CountsWellKnownTexts) {
  struct Case {
    const char* text;
    Ids ids;
  };
  const Case cases[] = {
      {"Hello world", {15496, 995}},
      {" world", {995}},
      {"Hello, my dog is cute", {15496, 11, 616, 3290, 318, 13779}},
      {"You miss 100% of the shots you don't take",
       {1639, 2051, 1802, 4, 286, 262, 6934, 345, 836, 470, 1011}},
      {"\n\n", {628}},
      {"\n", {198}},
  };
  std::unique_ptr<GPTEncoder> encoder = applicationEncoder();
  ASSERT_NE(encoder, nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(encoder->tokenIDs(c.text), c.ids);
    EXPECT_EQ(encoder->text(c.ids), c.text);
  }
}

TEST(GPT2Vocabulary, CountsParagraphsOfEnglishAndSwiftAsPlainBytePairEncodingDoes) {
  std::unique_ptr<GPTEncoder> encoder = applicationEncoder();
  ASSERT_NE(encoder, nullptr);
  const ReferenceEncoder reference(*encoder->vocabulary());
  const std::string swift =
      readFile(std::filesystem::path(QUILLO_SOURCE_DIR) / "tests/syntax_highlighter/fixtures/sample.swift");
  for (const std::string& text : {std::string(kEnglishAndSwift), swift}) {
    const Ids expected = reference.tokenIDs(text);
    EXPECT_EQ(encoder->tokenIDs(text), expected);  // cold
    EXPECT_EQ(encoder->tokenIDs(text), expected);  // warm
    EXPECT_EQ(encoder->text(expected), text);
  }
  // Two well-known sentences and the newlines between them keep their counts inside a longer text.
  EXPECT_EQ(encoder->tokenIDs("Hello, my dog is cute\nYou miss 100% of the shots you don't take\n").size(),
            6u + 1 + 11 + 1);
}

TEST(GPT2Vocabulary, MergesLongPiecesAsShortOnesAre) {
  std::unique_ptr<GPTEncoder> encoder = applicationEncoder();
  ASSERT_NE(encoder, nullptr);
  const ReferenceEncoder reference(*encoder->vocabulary());
  std::mt19937 random(7);
  std::vector<std::string> texts = {std::string(300, 'a'), std::string(257, ' ') + "x", std::string(200, '='),
                                    std::string(150, '\n')};
  for (int i = 0; i < 40; ++i) {
    std::string word;
    const std::size_t length = 60 + random() % 200;
    const char* letters = i % 2 == 0 ? "etaoinshrdlucmfw" : "ab";
    const std::size_t letterCount = std::char_traits<char>::length(letters);
    for (std::size_t k = 0; k < length; ++k) word += letters[random() % letterCount];
    texts.push_back(" " + word);
  }
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    EXPECT_EQ(encoder->tokenIDs(text), reference.tokenIDs(text));
  }
}

TEST(GPT2Vocabulary, CountsALargeMixedTextAsBefore) {
  // The ids were written by the tokenizer before its pre-tokeniser and merge loop were rewritten for
  // speed: prose, Markdown, C++ and Swift sources, many scripts, emoji, unusual spaces and controls.
  const std::filesystem::path folder = std::filesystem::path(QUILLO_TEST_DIR) / "fixtures/mixed";
  const std::string text = readFile(folder / "text.txt");
  std::istringstream idText(readFile(folder / "ids.txt"));
  const Ids expected{std::istream_iterator<int>(idText), std::istream_iterator<int>()};
  ASSERT_GT(expected.size(), 10000u);
  std::unique_ptr<GPTEncoder> encoder = applicationEncoder();
  ASSERT_NE(encoder, nullptr);
  EXPECT_EQ(encoder->tokenIDs(text), expected);
  EXPECT_EQ(encoder->tokenIDs(text), expected);
  EXPECT_EQ(encoder->text(expected), text);
}
