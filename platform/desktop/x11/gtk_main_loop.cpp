#include "platform/desktop/x11/gtk_main_loop.h"

#include <chrono>
#include <future>

#include "platform/foundation/clock.h"

namespace desktop::x11 {

struct GtkMainLoop::Source {
  GSource base;
  GtkMainLoop* owner;
};

namespace {

GSourceFuncs sourceFunctions{};

}  // namespace

GtkMainLoop::GtkMainLoop() {
  sourceFunctions.prepare = &GtkMainLoop::prepare;
  sourceFunctions.check = &GtkMainLoop::check;
  sourceFunctions.dispatch = &GtkMainLoop::dispatch;
  auto* source = reinterpret_cast<Source*>(g_source_new(&sourceFunctions, sizeof(Source)));
  source->owner = this;
  g_source_set_name(&source->base, "main queue");
  g_source_attach(&source->base, nullptr);
  source_ = source;
  loop_ = g_main_loop_new(nullptr, FALSE);
  foundation::RunLoop::main().setDriver(this);
}

GtkMainLoop::~GtkMainLoop() {
  // No post wakes this driver once setDriver returns.
  foundation::RunLoop::main().setDriver(nullptr);
  g_source_destroy(&source_->base);
  g_source_unref(&source_->base);
  g_main_loop_unref(loop_);
}

void GtkMainLoop::run(foundation::RunLoop&) {
  isWoken_ = true;  // work may have been posted before the driver ran
  g_main_loop_run(loop_);
}

void GtkMainLoop::wake() {
  isWoken_ = true;
  g_main_context_wakeup(nullptr);
}

bool GtkMainLoop::isDue() const { return isWoken_ || foundation::RunLoop::main().hasDueWork(); }

void GtkMainLoop::runDueWork() {
  isWoken_ = false;
  if (!foundation::RunLoop::main().runDueWork()) g_main_loop_quit(loop_);
  if (workObserver_) workObserver_();
}

gboolean GtkMainLoop::prepare(GSource* source, gint* timeout) {
  auto& self = *reinterpret_cast<Source*>(source)->owner;
  *timeout = -1;
  if (self.isDue()) return TRUE;
  if (auto deadline = foundation::RunLoop::main().nextDeadline()) {
    const auto wait = *deadline - foundation::currentClock()->now();
    // Rounded up, so the source never wakes just before its work is due and spins.
    const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
    if (milliseconds <= 0) return TRUE;
    *timeout = milliseconds > G_MAXINT ? G_MAXINT : static_cast<gint>(milliseconds);
  }
  return FALSE;
}

gboolean GtkMainLoop::check(GSource* source) { return reinterpret_cast<Source*>(source)->owner->isDue(); }

gboolean GtkMainLoop::dispatch(GSource* source, GSourceFunc, gpointer) {
  reinterpret_cast<Source*>(source)->owner->runDueWork();
  return G_SOURCE_CONTINUE;
}

void onMainThread(const std::function<void()>& work) {
  if (foundation::isMainThread()) return work();
  struct Call {
    const std::function<void()>* work;
    std::promise<void> done;
  } call{&work, {}};
  auto finished = call.done.get_future();
  g_main_context_invoke(
      nullptr,
      [](gpointer data) -> gboolean {
        auto& call = *static_cast<Call*>(data);
        try {
          (*call.work)();
          call.done.set_value();
        } catch (...) {
          call.done.set_exception(std::current_exception());
        }
        return G_SOURCE_REMOVE;
      },
      &call);
  finished.get();
}

}  // namespace desktop::x11
