// The program's main loop inside GTK's: one thread serves the main queue, its timers and the display.
#pragma once

#include <glib.h>

#include <atomic>
#include <functional>

#include "platform/foundation/run_loop.h"

namespace desktop::x11 {

// Installed as the main run loop's driver for its lifetime: RunLoop::main().run() then runs GLib's
// default main context, in which a source of its own runs the main queue's work as it falls due, so
// nothing of either loop waits for the other. Made, run and destroyed on the main thread.
class GtkMainLoop final : public foundation::RunLoop::Driver {
 public:
  GtkMainLoop();
  ~GtkMainLoop() override;
  GtkMainLoop(const GtkMainLoop&) = delete;
  GtkMainLoop& operator=(const GtkMainLoop&) = delete;

  void run(foundation::RunLoop& loop) override;
  void wake() override;

  // Called on the main thread after every turn that ran main-queue work (the windows redraw what it
  // changed).
  void setWorkObserver(std::function<void()> observer) { workObserver_ = std::move(observer); }

 private:
  struct Source;
  static gboolean prepare(GSource* source, gint* timeout);
  static gboolean check(GSource* source);
  static gboolean dispatch(GSource* source, GSourceFunc, gpointer);

  bool isDue() const;
  void runDueWork();

  Source* source_ = nullptr;
  GMainLoop* loop_ = nullptr;
  std::atomic<bool> isWoken_ = false;
  std::function<void()> workObserver_;
};

// Runs `work` on the main thread (the GTK thread) and waits for it: at once when called there, through
// GLib's default main context otherwise.
void onMainThread(const std::function<void()>& work);

}  // namespace desktop::x11
