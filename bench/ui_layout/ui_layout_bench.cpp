// Evaluating, laying out and hosting a tree of 2,000 text views: the cost of one full update, which a
// streamed reply pays for every piece that arrives.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/ui/hosting.h"
#include "platform/ui/layout/layout_pass.h"
#include "platform/ui/views.h"

namespace {

constexpr int kTextCount = 2000;

ui::AnyView lines(int version) {
  std::vector<ui::AnyView> texts;
  texts.reserve(kTextCount);
  for (int i = 0; i < kTextCount; ++i) {
    texts.push_back(ui::Text::verbatim("Line " + std::to_string(i) + " of version " +
                                       std::to_string(version) +
                                       ", a sentence long enough to wrap once or twice in a chat bubble")
                        .padding(4));
  }
  return ui::ScrollView(ui::VStack(ui::HorizontalAlignment::leading, 6.0, texts));
}

// Re-evaluates the whole tree with new texts, lays it out and brings the hosted views up to date.
void BM_FullUpdate(benchmark::State& state) {
  foundation::ScopedMainRunLoop loop;
  auto hosting =
      ui::HostingView::make(lines(0), {0, 0, 600, 800}, std::make_shared<ui::FixedMetricTextMeasurer>());
  int version = 0;
  for (auto _ : state) {
    hosting->graph().setRoot(lines(++version));
    loop.loop().runUntilIdle();
  }
  state.counters["texts"] = kTextCount;
}
BENCHMARK(BM_FullUpdate)->Unit(benchmark::kMillisecond);

// Hosting alone: laying out the evaluated tree again and bringing the platform views up to date.
void BM_HostingRefreshOnly(benchmark::State& state) {
  foundation::ScopedMainRunLoop loop;
  auto hosting =
      ui::HostingView::make(lines(0), {0, 0, 600, 800}, std::make_shared<ui::FixedMetricTextMeasurer>());
  for (auto _ : state) hosting->refresh();
}
BENCHMARK(BM_HostingRefreshOnly)->Unit(benchmark::kMillisecond);

// The same re-evaluation without hosting: the view graph's share of a full update.
void BM_ReevaluationOnly(benchmark::State& state) {
  foundation::ScopedMainRunLoop loop;
  ui::detail::ViewGraph graph(lines(0));
  int version = 0;
  for (auto _ : state) {
    graph.setRoot(lines(++version));
    loop.loop().runUntilIdle();
  }
}
BENCHMARK(BM_ReevaluationOnly)->Unit(benchmark::kMillisecond);

// Layout alone: measuring and placing every view of an evaluated tree.
void BM_LayoutOnly(benchmark::State& state) {
  foundation::ScopedMainRunLoop loop;
  ui::detail::ViewGraph graph(lines(0));
  ui::LayoutPass pass(std::make_shared<ui::FixedMetricTextMeasurer>());
  for (auto _ : state) {
    pass.layout(*graph.root(), {600, 800});
    benchmark::DoNotOptimize(pass.frames().size());
  }
}
BENCHMARK(BM_LayoutOnly)->Unit(benchmark::kMillisecond);

// The first evaluation of the tree, without layout.
void BM_FirstEvaluation(benchmark::State& state) {
  foundation::ScopedMainRunLoop loop;
  for (auto _ : state) {
    ui::detail::ViewGraph graph(lines(0));
    benchmark::DoNotOptimize(graph.root().get());
  }
}
BENCHMARK(BM_FirstEvaluation)->Unit(benchmark::kMillisecond);

}  // namespace
