// Token counting speed on 1 MB of mixed English prose and code with GPT-2's vocabulary, with a cold and a
// warm merge cache, beside cmark-gfm's parse of the same text; the ratios are printed at the end.
#include <benchmark/benchmark.h>
#include <cmark-gfm.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
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

// Text of the given size: paragraphs of prose with numbers and punctuation, and blocks of code.
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

// Throughput of each benchmark by name, printed again at the end as ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // One figure per benchmark: its single run, or the median of its repetitions.
    for (const Run& run : runs) {
      auto found = run.counters.find("bytes_per_second");
      if (found == run.counters.end()) continue;
      const bool isMedian = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Iteration || isMedian)
        bytesPerSecond[run.run_name.str()] = found->second.value;
    }
  }
  std::map<std::string, double> bytesPerSecond;
};

std::filesystem::path vocabularyFolder() {
  return std::filesystem::path(QUILLO_SOURCE_DIR) / "resources/GPTEncoder.bundle";
}

// About 1 MB: paragraphs of prose with numbers and punctuation, and fenced blocks of code.
const std::string& text() {
  static const std::string made = makeText(1024 * 1024);
  return made;
}

std::shared_ptr<const GPTTokenizer::Vocabulary> vocabulary() {
  static const auto parsed = [] {
    auto v = GPTTokenizer::Vocabulary::read(
        {vocabularyFolder() / "vocab.bpe", vocabularyFolder() / "encoder.json"});
    v->mergeTable();  // parsed once per process, as in the application
    return v;
  }();
  return parsed;
}

// Cold: every count starts with a new tokenizer (an empty cache) over the process's vocabulary, as each
// chat caption does. Warm: one tokenizer counts the same text again and again.
void countTokens(benchmark::State& state, bool warm) {
  const std::string& t = text();
  auto encoder = std::make_unique<GPTTokenizer::GPTEncoder>(vocabulary());
  if (warm) encoder->tokenIDs(t);
  std::size_t tokens = 0;
  for (auto _ : state) {
    if (!warm) {
      state.PauseTiming();
      encoder = std::make_unique<GPTTokenizer::GPTEncoder>(vocabulary());
      state.ResumeTiming();
    }
    tokens = encoder->tokenIDs(t).size();
    benchmark::DoNotOptimize(tokens);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * t.size()));
  state.counters["tokens"] = static_cast<double>(tokens);
  state.counters["text_KB"] = static_cast<double>(t.size()) / 1024;
}

void BM_CountTokensColdCache(benchmark::State& state) { countTokens(state, false); }
void BM_CountTokensWarmCache(benchmark::State& state) { countTokens(state, true); }

// What the first count in a process pays once: reading and parsing both files and the merge table.
void BM_LoadVocabulary(benchmark::State& state) {
  for (auto _ : state) {
    auto v = GPTTokenizer::Vocabulary::read(
        {vocabularyFolder() / "vocab.bpe", vocabularyFolder() / "encoder.json"});
    benchmark::DoNotOptimize(&v->mergeTable());
  }
}

// The yardstick: cmark-gfm parsing the same text as Markdown (core syntax, no extensions).
void BM_CmarkParse(benchmark::State& state) {
  const std::string& t = text();
  for (auto _ : state) {
    cmark_node* document = cmark_parse_document(t.data(), t.size(), CMARK_OPT_DEFAULT);
    benchmark::DoNotOptimize(document);
    cmark_node_free(document);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * t.size()));
}

BENCHMARK(BM_CountTokensColdCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountTokensWarmCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CmarkParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadVocabulary)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto& speeds = reporter.bytesPerSecond;
  auto cmark = speeds.find("BM_CmarkParse");
  for (const char* name : {"BM_CountTokensColdCache", "BM_CountTokensWarmCache"}) {
    auto found = speeds.find(name);
    if (found == speeds.end()) continue;
    std::printf("%s: %.1f MB/s", name, found->second / 1e6);
    if (cmark != speeds.end())
      std::printf(", %.2f x cmark-gfm's parse (%.1f MB/s)", found->second / cmark->second,
                  cmark->second / 1e6);
    std::printf("\n");
  }
  benchmark::Shutdown();
  return 0;
}
