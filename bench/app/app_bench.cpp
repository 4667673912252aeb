// From the start of the application to its popover shown under the status item, on the headless desktop:
// the application record and its delegate made, the scenes put into effect (the main window opened),
// launching finished, the status item clicked. Reports the resident memory once the popover is shown.
// The first start of a process also reads the tokenizer's vocabulary, which later starts share: it is
// timed on its own, once, before the repeated starts.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "Quillo/app/corvane.h"
#include "Roadmap/remote_hosts.h"
#include "platform/appkit/application.h"
#include "platform/desktop/headless_desktop.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/foundation/user_defaults.h"
#include "platform/ui/application_scenes.h"

namespace {

// The process's resident memory in bytes, from /proc/self/statm (0 when it cannot be read).
double residentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  if (!(statm >> pages >> resident)) return 0;
  return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE));
}

void startToShownPopover(benchmark::State& state) {
  // Nothing reaches the user's settings or the real services: a settings suite of its own, and the
  // maker's host on a closed port of this machine.
  const auto folder =
      std::filesystem::temp_directory_path() / ("quillo-app-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  foundation::UserDefaults::setStandard(foundation::UserDefaults::suite("standard", folder));
  Roadmap::ScopedRemoteHosts hosts("http://127.0.0.1:1", "http://127.0.0.1:1");
  foundation::LogCapture quiet;
  foundation::ScopedMainRunLoop loop;
  bool isShown = false;
  for (auto _ : state) {
    desktop::HeadlessDesktop desktop;
    desktop::HeadlessDesktop::Scope scope(desktop);
    {
      Quillo::Corvane app;
      ui::ApplicationScenes scenes(app.body());
      scenes.install();
      appkit::Application::shared().finishLaunching();
      desktop.statusBar().click(desktop.statusBar().items().front().number);
      loop.loop().runUntilIdle();
      isShown = app.appDelegate()->popover->isShown();
      state.PauseTiming();
      state.counters["resident MB"] = residentBytes() / (1024 * 1024);
      appkit::Application::shared().resetForTesting();
    }
    loop.loop().runUntilIdle();
    state.ResumeTiming();
  }
  if (!isShown) state.SkipWithError("the popover was not shown");
  foundation::UserDefaults::setStandard(nullptr);
  std::filesystem::remove_all(folder);
}
void BM_FirstStartToShownPopover(benchmark::State& state) { startToShownPopover(state); }
BENCHMARK(BM_FirstStartToShownPopover)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_StartToShownPopover(benchmark::State& state) { startToShownPopover(state); }
BENCHMARK(BM_StartToShownPopover)->Unit(benchmark::kMillisecond);

}  // namespace
