// Quillo's entry point: the application on the desktop that exists, until it terminates.
#include <pthread.h>

#include <csignal>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "Quillo/app/corvane.h"
#include "platform/appkit/application.h"
#include "platform/desktop/desktop_choice.h"
#include "platform/desktop/headless_desktop.h"
#include "platform/desktop/x11/x11_desktop.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/render/pango_text_measurer.h"

namespace {

// Interrupting or terminating the process quits the application the ordinary way (its delegate stores what
// is still waiting), on the main queue. The signals are taken by a thread of their own, blocked everywhere
// else, so nothing runs inside a signal handler.
void quitOnInterruption() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  std::thread([signals] {
    int received = 0;
    sigwait(&signals, &received);
    foundation::RunLoop::main().async([] { appkit::Application::shared().terminate(); });
  }).detach();
}

// The kinds of live desktop this program was built with, in the order they are tried. Where none can
// serve the session, the application runs on the headless desktop.
std::vector<desktop::DesktopKind> liveDesktopKinds() { return {desktop::x11::X11Desktop::kind()}; }

}  // namespace

int main() {
  foundation::RunLoop::main();  // this thread is the main thread
  quitOnInterruption();
  // Layout measures text in the fonts the renderer draws it with.
  render::installPangoTextMeasurer();
  auto choice = desktop::chooseDesktop(liveDesktopKinds(), desktop::processEnvironment());
  for (const auto& refusal : choice.refusals) foundation::log("Quillo: no live desktop: " + refusal);
  std::unique_ptr<desktop::Desktop> installed = std::move(choice.desktop);
  if (installed) {
    foundation::log("Quillo is running on the " + choice.name + " desktop.");
  } else {
    installed = std::make_unique<desktop::HeadlessDesktop>();
    foundation::log("Quillo is running on a headless desktop: no window is drawn. Press Ctrl-C to quit.");
  }
  desktop::Desktop::Scope scope(*installed);
  return Quillo::applicationMain();
}
