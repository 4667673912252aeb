// A 20 KB reply streamed into the Markdown view in 1,000 growing prefixes, hosted 600 points wide inside a
// scroll view as the chat shows it: each prefix replaces the document, and the view graph, the layout and
// the hosted views are brought up to date. Reports the mean and 95th percentile of one update, the CPU
// time of the whole reply, and the tenth update beside the last (an update whose cost grows with the
// reply's length shows here; each is the mean of ten neighbouring updates).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "MarkdownRender/views/markdown_view.h"
#include "platform/foundation/run_loop.h"
#include "platform/ui/hosting.h"
#include "platform/ui/layout/text_measurer.h"
#include "platform/ui/views.h"

namespace {

constexpr int kUpdates = 1000;

// About 20 KB in the shape of a chat reply: headings, running text with inline styles and links, lists,
// fenced code and a small table, repeated. Each run streams a reply of its own, as the program streams a
// reply once: the very text streamed again would find the earlier run's parse of the whole reply kept, and
// its last update would compare every block anew with the ones shown.
std::string streamedReply(int run) {
  std::string reply;
  for (int section = 1; reply.size() < 20'000; ++section) {
    const auto n = std::to_string(section);
    reply += "## Reply " + std::to_string(run) + ", step " + n + ": sorting the records\n\n";
    reply +=
        "Records are kept in an array and sorted with `sort(by:)`, which is **stable** and runs in "
        "*O(n log n)* time; see [the guide](https://example.com/guide/" +
        n + ") for the comparison, which reads each record's key once.\n\n";
    reply += "- read the records from the file\n- sort them by date, newest first\n- write the first " + n +
             " back\n\n";
    reply +=
        "```swift\nvar records = try load(from: url)\nrecords.sort { $0.date > $1.date }\n"
        "try save(records.prefix(" +
        n + "), to: url)\n```\n\n";
    reply +=
        "| Method | Mutates | Returns |\n|:--|:-:|--:|\n| `sort()` | yes | nothing |\n"
        "| `sorted()` | no | a copy |\n\n";
  }
  return reply;
}

double processSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

ui::AnyView shown(const std::string& text) { return ui::ScrollView(MarkdownRender::Markdown(text)); }

void BM_StreamedReply(benchmark::State& state) {
  std::vector<double> updates;  // milliseconds, of every run
  double cpuSeconds = 0, tenth = 0, last = 0, replyBytes = 0;
  int run = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string reply = streamedReply(++run);
    replyBytes = static_cast<double>(reply.size());
    std::vector<std::string> prefixes;
    prefixes.reserve(kUpdates);
    for (int k = 1; k <= kUpdates; ++k) prefixes.push_back(reply.substr(0, reply.size() * k / kUpdates));
    state.ResumeTiming();
    foundation::ScopedMainRunLoop loop;
    auto hosting = ui::HostingView::make(shown(""), {0, 0, 600, 800},
                                         std::make_shared<ui::FixedMetricTextMeasurer>());
    const double cpuStart = processSeconds();
    for (int k = 0; k < kUpdates; ++k) {
      const auto start = std::chrono::steady_clock::now();
      hosting->graph().setRoot(shown(prefixes[k]));
      loop.loop().runUntilIdle();
      const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
      updates.push_back(took.count());
      // Single updates are noisy: the ten around the tenth and the last ten stand for them.
      if (k >= 5 && k < 15) tenth += took.count() / 10;
      if (k >= kUpdates - 10) last += took.count() / 10;
    }
    cpuSeconds += processSeconds() - cpuStart;
    benchmark::DoNotOptimize(hosting.get());
  }
  const double runs = static_cast<double>(state.iterations());
  double sum = 0;
  for (double u : updates) sum += u;
  std::sort(updates.begin(), updates.end());
  state.counters["mean_ms"] = sum / static_cast<double>(updates.size());
  state.counters["p95_ms"] = updates[updates.size() * 95 / 100];
  state.counters["reply_cpu_s"] = cpuSeconds / runs;
  state.counters["tenth_ms"] = tenth / runs;
  state.counters["last_ms"] = last / runs;
  state.counters["last_per_tenth"] = last / tenth;
  state.counters["reply_kb"] = replyBytes / 1024.0;
}
BENCHMARK(BM_StreamedReply)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace
