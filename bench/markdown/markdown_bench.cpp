// Parsing a long reply (50 KB and 1 MB): cmark-gfm's own parse beside the parse and conversion into the
// document model. The ratio of the two is the cost of the model; BM_ModelRatio takes it in one run, the
// two parses in turn.
#include <benchmark/benchmark.h>
#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MarkdownRender/model/common_mark_node.h"
#include "MarkdownRender/model/parse_blocks.h"

namespace {

// A reply of about 50 KB in the shape a chat assistant writes: headings, paragraphs with inline styles and
// links, lists, task lists, quotes, fenced code and tables.
std::string generatedReply(std::size_t size) {
  std::string text;
  for (int section = 1; text.size() < size; ++section) {
    const std::string n = std::to_string(section);
    text += "## Section " + n + ": *what* to do\n\n";
    text +=
        "This is paragraph " + n + " with **strong words**, _emphasis_, ~~struck text~~ and `inline code`. ";
    text += "See [the guide](https://example.com/guide/" + n + ") or https://example.org/page" + n +
            " for more.\n";
    text += "A second line follows a soft break, and this one ends with a hard break  \nright here.\n\n";
    text += "- first point about " + n + "\n- second point with a [link](https://example.com)\n";
    text += "  - a nested point\n- [ ] an open task\n- [x] a finished task\n\n";
    text += "1. step one\n2. step two\n3. step three\n\n";
    text += "> A quoted remark, with *style*.\n> It goes on.\n\n";
    text += "```swift\nfunc section" + n + "() -> Int {\n    let value = " + n +
            "\n    return value * 2\n}\n```\n\n";
    text += "| Name | Value | Note |\n|:-----|------:|:----:|\n";
    text += "| alpha | " + n + " | *fine* |\n| beta | 2 | `ok` |\n\n";
    text += "![diagram](https://example.com/d" + n + ".png#gh-dark-mode-only)\n\n---\n\n";
  }
  return text;
}

constexpr std::int64_t kSmall = 50 * 1024;
constexpr std::int64_t kLarge = 1024 * 1024;

const std::string& reply(std::int64_t size = kSmall) {
  static std::map<std::int64_t, std::string> texts;
  auto& text = texts[size];
  if (text.empty()) text = generatedReply(static_cast<std::size_t>(size));
  return text;
}

// cmark-gfm alone: the same parser, extensions and options as the model's parse; the tree is freed.
void cmarkParse(const std::string& text) {
  cmark_gfm_core_extensions_ensure_registered();
  std::unique_ptr<cmark_parser, decltype(&cmark_parser_free)> parser(cmark_parser_new(CMARK_OPT_DEFAULT),
                                                                     &cmark_parser_free);
  for (const auto& extension : MarkdownRender::CommonMarkExtension::enabledSet()) {
    cmark_parser_attach_syntax_extension(parser.get(),
                                         cmark_find_syntax_extension(extension.rawValue.c_str()));
  }
  cmark_parser_feed(parser.get(), text.data(), text.size());
  std::unique_ptr<cmark_node, decltype(&cmark_node_free)> document(cmark_parser_finish(parser.get()),
                                                                   &cmark_node_free);
  benchmark::DoNotOptimize(document.get());
}

void BM_CmarkGfmParse(benchmark::State& state) {
  const std::string& text = reply(state.range(0));
  for (auto _ : state) cmarkParse(text);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_CmarkGfmParse)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);

// The same parse followed by the conversion into blocks and inlines.
void BM_ParseBlocks(benchmark::State& state) {
  const std::string& text = reply(state.range(0));
  for (auto _ : state) {
    auto blocks = MarkdownRender::parseBlocks(text);
    benchmark::DoNotOptimize(blocks.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["blocks"] = static_cast<double>(MarkdownRender::parseBlocks(text).size());
}
BENCHMARK(BM_ParseBlocks)->Arg(kSmall)->Arg(kLarge)->Unit(benchmark::kMicrosecond);

// Parse + model over cmark-gfm's parse alone, both taken in the same run on the same text. The two are
// taken in pairs, the order swapped from one pair to the next so that neither always runs on the caches
// the other has just left; each side runs twice before the first pair, so that neither pays for growing its
// memory. The figure is the median of the ratios of the pairs, so a pair slowed down by the rest of the
// machine does not move it; the lowest and highest ratios show the spread.
void BM_ModelRatio(benchmark::State& state) {
  const std::string& text = reply(state.range(0));
  using Clock = std::chrono::steady_clock;
  auto modelParse = [&] {
    // Freed inside the measurement, as cmark-gfm's tree is.
    auto blocks = MarkdownRender::parseBlocks(text);
    benchmark::DoNotOptimize(blocks.data());
  };
  auto seconds = [](auto&& parse) {
    const auto start = Clock::now();
    parse();
    return std::chrono::duration<double>(Clock::now() - start).count();
  };
  for (int warmUp = 0; warmUp < 2; ++warmUp) {
    cmarkParse(text);
    modelParse();
  }
  std::vector<double> ratios;
  std::vector<double> cmarkSeconds;
  std::vector<double> modelSeconds;
  for (auto _ : state) {
    const bool modelFirst = ratios.size() % 2 == 1;
    const double model = modelFirst ? seconds(modelParse) : 0.0;
    const double cmark = seconds([&] { cmarkParse(text); });
    const double modelAfter = modelFirst ? model : seconds(modelParse);
    ratios.push_back(modelAfter / cmark);
    cmarkSeconds.push_back(cmark);
    modelSeconds.push_back(modelAfter);
  }
  auto median = [](std::vector<double> values) {
    if (values.empty()) return 0.0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
  };
  state.counters["model_per_cmark"] = median(ratios);
  state.counters["lowest"] = ratios.empty() ? 0.0 : *std::min_element(ratios.begin(), ratios.end());
  state.counters["highest"] = ratios.empty() ? 0.0 : *std::max_element(ratios.begin(), ratios.end());
  state.counters["cmark_ms"] = median(cmarkSeconds) * 1e3;
  state.counters["model_ms"] = median(modelSeconds) * 1e3;
}
// At least 25 pairs at 1 MB.
BENCHMARK(BM_ModelRatio)->Arg(kSmall)->Arg(kLarge)->MinTime(3.0)->Unit(benchmark::kMillisecond);

// The colour-scheme picture filter a document view applies to every block each time it lays them out.
void BM_FilterForColorScheme(benchmark::State& state) {
  const auto blocks = MarkdownRender::parseBlocks(reply());
  for (auto _ : state) {
    for (const auto& block : blocks) {
      auto filtered = block.filteredForColorScheme(ui::ColorScheme::light);
      benchmark::DoNotOptimize(&filtered);
    }
  }
}
BENCHMARK(BM_FilterForColorScheme)->Unit(benchmark::kMicrosecond);

}  // namespace
