// A large table shown by the Markdown view: 20 columns by 500 body rows (about 21 KB of text), hosted 600
// points wide inside a scroll view (one character a cell, about 21 KB of text). Reports the time to show it from its parsed document, the memory the
// shown table holds, and both per cell.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <memory>
#include <string>

#include "MarkdownRender/model/markdown_content.h"
#include "MarkdownRender/model/parse_blocks.h"
#include "MarkdownRender/views/markdown_view.h"
#include "platform/foundation/run_loop.h"
#include "platform/ui/hosting.h"
#include "platform/ui/layout/text_measurer.h"
#include "platform/ui/views.h"

namespace {

constexpr int kColumns = 20;
constexpr int kRows = 500;

std::string tableText() {
  // One character a cell, as a table of flags or digits is written.
  std::string text = "|";
  for (int column = 0; column < kColumns; ++column) text += std::string(1, static_cast<char>('A' + column)) + "|";
  text += "\n|";
  for (int column = 0; column < kColumns; ++column) text += "-|";
  text += "\n";
  for (int row = 0; row < kRows; ++row) {
    text += "|";
    for (int column = 0; column < kColumns; ++column) {
      text += std::string(1, static_cast<char>('0' + (row * column) % 10)) + "|";
    }
    text += "\n";
  }
  return text;
}

std::size_t allocatedBytes() {
  const auto info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

void BM_LargeTable(benchmark::State& state) {
  const std::string text = tableText();
  const MarkdownRender::MarkdownContent content(MarkdownRender::parseBlocks(text));
  constexpr double cells = static_cast<double>(kColumns) * (kRows + 1);
  double seconds = 0, bytes = 0;
  for (auto _ : state) {
    foundation::ScopedMainRunLoop loop;
    const std::size_t before = allocatedBytes();
    const auto start = std::chrono::steady_clock::now();
    auto hosting = ui::HostingView::make(ui::ScrollView(MarkdownRender::Markdown(content)), {0, 0, 600, 800},
                                         std::make_shared<ui::FixedMetricTextMeasurer>());
    loop.loop().runUntilIdle();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    bytes += static_cast<double>(allocatedBytes() - before);
    benchmark::DoNotOptimize(hosting.get());
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["table_ms"] = seconds / runs * 1e3;
  state.counters["table_MB"] = bytes / runs / 1e6;
  state.counters["cell_us"] = seconds / runs / cells * 1e6;
  state.counters["cell_KB"] = bytes / runs / cells / 1e3;
  state.counters["text_KB"] = static_cast<double>(text.size()) / 1e3;
}
BENCHMARK(BM_LargeTable)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace
