// Token counting speed on mixed English prose and code, with a cold and a warm merge cache.
#include <benchmark/benchmark.h>

#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "GPTEncoder/gpt_encoder.h"

namespace {

const char* const kWords[] = {
    "the",      "of",           "and",      "to",        "in",        "is",        "that",     "for",
    "it",       "as",           "was",      "with",      "be",        "by",        "on",       "not",
    "he",       "this",         "are",      "or",        "his",       "from",      "at",       "which",
    "but",      "have",         "an",       "had",       "they",      "you",       "were",     "their",
    "one",      "all",          "we",       "can",       "her",       "has",       "there",    "been",
    "if",       "more",         "when",     "will",      "would",     "who",       "so",       "no",
    "message",  "answer",       "question", "assistant", "settings",  "window",    "history",  "model",
    "token",    "conversation", "reply",    "service",   "request",   "stream",    "keyboard", "shortcut",
    "markdown", "highlight",    "function", "variable",  "compiler",  "memory",    "thread",   "queue",
    "however",  "therefore",    "because",  "although",  "important", "different", "several",  "possible",
    "together", "beautiful",    "mountain", "river",     "village",   "morning",   "evening",  "weather",
    "Quillo",   "OpenAI",       "Swift",    "Linux",     "December",  "Tuesday",   "café",     "naïve",
};

const char* const kCodeLines[] = {
    "    for (int i = 0; i < count; ++i) {",
    "        total += values[i] * weight;",
    "    }",
    "    return std::make_unique<Parser>(text, options);",
    "func streamReply(text: String, model: Model) async throws -> AsyncThrowingStream<String, Error> {",
    "    let request = try makeRequest(body: encoder.encode(body))",
    "if (status != 200 && status != 201) { throw TextError(\"Invalid response\"); }",
    "const auto& [key, value] = *found;  // structured binding",
    "x = [1, 2, 3, 4.5, 0x1F, 1e-9]",
    "    print(f\"{name}: {value:.3f}\")",
    "#include \"platform/foundation/log.h\"",
};

// A few hundred KB of text: paragraphs of prose with numbers and punctuation, and blocks of code.
std::string makeText(std::size_t size) {
  std::mt19937 random(20261210);
  std::string text;
  while (text.size() < size) {
    if (random() % 3 == 0) {
      text += "```\n";
      for (int line = 0, lines = 3 + random() % 8; line < lines; ++line) {
        text += kCodeLines[random() % std::size(kCodeLines)];
        text += '\n';
      }
      text += "```\n\n";
      continue;
    }
    for (int sentence = 0, sentences = 2 + random() % 5; sentence < sentences; ++sentence) {
      for (int word = 0, words = 6 + random() % 14; word < words; ++word) {
        std::string w = kWords[random() % std::size(kWords)];
        if (word == 0) w[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(w[0])));
        text += w;
        if (random() % 17 == 0) {
          text += ' ';
          text += std::to_string(random() % 5000);
        }
        if (random() % 11 == 0) text += ",";
        if (random() % 29 == 0) text += "'s";
        text += ' ';
      }
      text.back() = random() % 7 == 0 ? '?' : '.';
      text += ' ';
    }
    text += "\n\n";
  }
  return text;
}

// The GPT-2 byte-to-character rule, needed to write merges in the byte-encoded alphabet.
std::vector<std::string> byteAlphabet() {
  std::vector<std::string> alphabet(256);
  int next = 256;
  for (int byte = 0; byte < 256; ++byte) {
    bool printable = (byte >= 33 && byte <= 126) || (byte >= 161 && byte <= 172) || byte >= 174;
    int cp = printable ? byte : next++;
    std::string utf8;
    if (cp < 0x80) {
      utf8 += static_cast<char>(cp);
    } else {
      utf8 += static_cast<char>(0xC0 | (cp >> 6));
      utf8 += static_cast<char>(0x80 | (cp & 0x3F));
    }
    alphabet[byte] = utf8;
  }
  return alphabet;
}

struct Vocabulary {
  std::string merges;
  std::string tokenTable;
};

// A vocabulary of a few thousand merges: every prefix of the frequent words (with and without their
// leading space) is built from the previous prefix and the next byte, the way trained merge lists grow.
Vocabulary makeVocabulary(const std::string& text, std::size_t mergeLimit) {
  const std::vector<std::string> alphabet = byteAlphabet();
  std::map<std::string, int> wordCounts;
  std::string word;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    char c = i < text.size() ? text[i] : ' ';
    if (std::isalnum(static_cast<unsigned char>(c)) || (c & 0x80)) {
      word += c;
    } else if (!word.empty()) {
      wordCounts[word]++;
      wordCounts[" " + word]++;
      word.clear();
    }
  }
  std::vector<std::pair<int, std::string>> byCount;
  for (const auto& [w, count] : wordCounts) byCount.emplace_back(-count, w);
  std::sort(byCount.begin(), byCount.end());

  nlohmann::json table = nlohmann::json::object();
  for (int byte = 0; byte < 256; ++byte) table[alphabet[byte]] = byte;
  std::string merges = "#version: 0.2\n";
  std::set<std::string> known;
  std::size_t count = 0;
  for (const auto& entry : byCount) {
    const std::string& w = entry.second;
    std::string prefix = alphabet[static_cast<unsigned char>(w[0])];
    for (std::size_t i = 1; i < w.size() && count < mergeLimit; ++i) {
      const std::string& next = alphabet[static_cast<unsigned char>(w[i])];
      std::string merged = prefix + next;
      if (known.insert(merged).second) {
        merges += prefix + " " + next + "\n";
        table[merged] = static_cast<int>(256 + count);
        ++count;
      }
      prefix = merged;
    }
  }
  return {merges, table.dump()};
}

struct Fixture {
  std::string text = makeText(400 * 1024);
  Vocabulary vocabulary = makeVocabulary(text, 4000);
};

const Fixture& fixture() {
  static const Fixture f;
  return f;
}

void countTokens(benchmark::State& state, bool warm) {
  const Fixture& f = fixture();
  auto encoder = std::make_unique<GPTTokenizer::GPTEncoder>(f.vocabulary.merges, f.vocabulary.tokenTable);
  if (warm) encoder->tokenIDs(f.text);
  std::size_t tokens = 0;
  for (auto _ : state) {
    if (!warm) {
      state.PauseTiming();
      encoder = std::make_unique<GPTTokenizer::GPTEncoder>(f.vocabulary.merges, f.vocabulary.tokenTable);
      state.ResumeTiming();
    }
    tokens = encoder->tokenIDs(f.text).size();
    benchmark::DoNotOptimize(tokens);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.text.size()));
  state.counters["tokens"] = static_cast<double>(tokens);
  state.counters["text_KB"] = static_cast<double>(f.text.size()) / 1024;
}

void BM_CountTokensColdCache(benchmark::State& state) { countTokens(state, false); }
void BM_CountTokensWarmCache(benchmark::State& state) { countTokens(state, true); }

BENCHMARK(BM_CountTokensColdCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountTokensWarmCache)->Unit(benchmark::kMillisecond);

}  // namespace
