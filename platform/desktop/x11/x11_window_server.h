// This program's windows on the X display: each window the application kit orders front is shown as a GTK
// window drawn by the renderer, with the records of the window server kept as the headless one keeps them.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "platform/desktop/headless_window_server.h"
#include "platform/desktop/window_server_service.h"
#include "platform/desktop/x11/gtk_window.h"

namespace desktop::x11 {

// The records (numbers, titles, frames, levels, order, handlers) are those of a headless window server;
// what is on screen follows them on the main thread. A window's GTK window lives while the window is on
// screen, so a window taken off and let go by the application is freed. A press of the pointer in one of the
// windows tells every window whether it was pressed; a window of this program losing keyboard focus to
// another program's counts as a press outside all of them, so transient popovers close as the person expects.
class X11WindowServer final : public WindowServerService {
 public:
  X11WindowServer() = default;
  ~X11WindowServer() override;

  std::uint64_t createWindow(Handler handler) override;
  void destroyWindow(std::uint64_t number) override;
  void setTitle(std::uint64_t number, const std::string& title) override;
  void setFrame(std::uint64_t number, foundation::Rect frame) override;
  void setLevel(std::uint64_t number, int level) override;
  // Shows the application kit's window of that number (one of the application's windows) in front.
  void orderFront(std::uint64_t number) override;
  void orderOut(std::uint64_t number) override;
  std::vector<WindowRecord> windowsOnScreen() const override;
  // Which presses a window takes is judged where the records decide who was pressed; the window's GTK
  // input shape lets the X server hand the others to the window beneath in the first place.
  void setClickFilter(std::uint64_t number, ClickFilter filter) override;
  std::optional<WindowRecord> window(std::uint64_t number) const override;

  // The GTK window showing a window; null when it has not been shown. Main thread only.
  GtkWindowPresenter* presenter(std::uint64_t number) const;
  // Draws every shown window again (their views may have changed). Main thread only.
  void redrawAll();
  // The appearance the windows' views are shown in, now and when they are shown later. Main thread only.
  void setColorScheme(ui::ColorScheme scheme);

 private:
  // Takes a window's presenter out of the table, then lets it go.
  void dropPresenter(std::uint64_t number);
  void pressed(foundation::Point location);
  void focusLeft();

  HeadlessWindowServer records_;
  // Touched on the main thread only.
  std::map<std::uint64_t, std::unique_ptr<GtkWindowPresenter>> presenters_;
  ui::ColorScheme colorScheme_ = ui::ColorScheme::light;
  // Work posted for later holds this weakly and does nothing once the server is gone.
  std::shared_ptr<int> lifetime_ = std::make_shared<int>();
};

}  // namespace desktop::x11
