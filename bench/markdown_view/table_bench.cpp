// Large tables shown by the Markdown view: 20 columns by 500 body rows (one character a cell, about 21 KB
// of text) and 100 columns by 1,500 body rows, each hosted 600 points wide inside a scroll view. Reports
// the time to show a table from its parsed document, the most memory held at any moment while it is
// shown, the memory the shown table keeps, and time and kept memory per cell.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "MarkdownRender/model/markdown_content.h"
#include "MarkdownRender/model/parse_blocks.h"
#include "MarkdownRender/views/markdown_view.h"
#include "platform/foundation/run_loop.h"
#include "platform/ui/hosting.h"
#include "platform/ui/layout/text_measurer.h"
#include "platform/ui/views.h"

namespace {

// The bytes the program's own allocations hold now and the most they held since the last reset; every
// allocation through operator new counts (the views, the tree and its layout all allocate that way).
std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};

void* allocate(std::size_t size) {
  void* pointer = std::malloc(size == 0 ? 1 : size);
  if (!pointer) throw std::bad_alloc();
  const std::size_t usable = malloc_usable_size(pointer);
  const std::size_t live = liveBytes.fetch_add(usable, std::memory_order_relaxed) + usable;
  std::size_t peak = peakBytes.load(std::memory_order_relaxed);
  while (live > peak && !peakBytes.compare_exchange_weak(peak, live, std::memory_order_relaxed)) {
  }
  return pointer;
}

void release(void* pointer) {
  if (!pointer) return;
  liveBytes.fetch_sub(malloc_usable_size(pointer), std::memory_order_relaxed);
  std::free(pointer);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* pointer) noexcept { release(pointer); }
void operator delete[](void* pointer) noexcept { release(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { release(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { release(pointer); }

namespace {

std::string columnTitle(int column) {
  return column < 26 ? std::string(1, static_cast<char>('A' + column)) : "C" + std::to_string(column);
}

std::string tableText(int columns, int rows) {
  // One character a body cell, as a table of flags or digits is written.
  std::string text = "|";
  for (int column = 0; column < columns; ++column) text += columnTitle(column) + "|";
  text += "\n|";
  for (int column = 0; column < columns; ++column) text += "-|";
  text += "\n";
  for (int row = 0; row < rows; ++row) {
    text += "|";
    for (int column = 0; column < columns; ++column) {
      text += std::string(1, static_cast<char>('0' + (row * column) % 10)) + "|";
    }
    text += "\n";
  }
  return text;
}

void BM_LargeTable(benchmark::State& state) {
  const int columns = static_cast<int>(state.range(0));
  const int rows = static_cast<int>(state.range(1));
  const std::string text = tableText(columns, rows);
  const MarkdownRender::MarkdownContent content(MarkdownRender::parseBlocks(text));
  const double cells = static_cast<double>(columns) * (rows + 1);
  double seconds = 0, keptBytes = 0, peak = 0;
  for (auto _ : state) {
    foundation::ScopedMainRunLoop loop;
    const std::size_t before = liveBytes.load();
    peakBytes.store(before);
    const auto start = std::chrono::steady_clock::now();
    auto hosting = ui::HostingView::make(ui::ScrollView(MarkdownRender::Markdown(content)), {0, 0, 600, 800},
                                         std::make_shared<ui::FixedMetricTextMeasurer>());
    loop.loop().runUntilIdle();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    keptBytes += static_cast<double>(liveBytes.load() - before);
    peak += static_cast<double>(peakBytes.load() - before);
    benchmark::DoNotOptimize(hosting.get());
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["table_ms"] = seconds / runs * 1e3;
  state.counters["peak_MB"] = peak / runs / 1e6;
  state.counters["kept_MB"] = keptBytes / runs / 1e6;
  state.counters["cell_us"] = seconds / runs / cells * 1e6;
  state.counters["cell_KB"] = keptBytes / runs / cells / 1e3;
  state.counters["text_KB"] = static_cast<double>(text.size()) / 1e3;
}
BENCHMARK(BM_LargeTable)->Args({20, 500})->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_LargeTable)->Args({100, 1500})->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);

}  // namespace
