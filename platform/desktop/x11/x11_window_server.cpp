#include "platform/desktop/x11/x11_window_server.h"

#include <gtk/gtk.h>

#include "platform/appkit/application.h"
#include "platform/appkit/styled_window.h"
#include "platform/desktop/x11/gtk_main_loop.h"
#include "platform/foundation/run_loop.h"

namespace desktop::x11 {

X11WindowServer::~X11WindowServer() {
  // The presenters hold the application's windows; they go before the records, out of the table first
  // (see dropPresenter).
  auto presenters = std::move(presenters_);
  presenters.clear();
}

std::uint64_t X11WindowServer::createWindow(Handler handler) {
  return records_.createWindow(std::move(handler));
}

void X11WindowServer::destroyWindow(std::uint64_t number) {
  records_.destroyWindow(number);
  onMainThread([&] { dropPresenter(number); });
}

void X11WindowServer::dropPresenter(std::uint64_t number) {
  // A presenter may hold the last reference to its window, whose end comes back here through
  // destroyWindow: it leaves the table before it goes.
  std::unique_ptr<GtkWindowPresenter> dropped;
  if (auto found = presenters_.find(number); found != presenters_.end()) {
    dropped = std::move(found->second);
    presenters_.erase(found);
  }
}

void X11WindowServer::setTitle(std::uint64_t number, const std::string& title) {
  records_.setTitle(number, title);
  onMainThread([&] {
    if (auto* shown = presenter(number)) shown->updateChrome();
  });
}

void X11WindowServer::setFrame(std::uint64_t number, foundation::Rect frame) {
  records_.setFrame(number, frame);
  onMainThread([&] {
    if (auto* shown = presenter(number)) shown->setFrame(frame);
  });
}

void X11WindowServer::setLevel(std::uint64_t number, int level) {
  records_.setLevel(number, level);
  onMainThread([&] {
    if (auto* shown = presenter(number)) shown->updateChrome();
  });
}

void X11WindowServer::orderFront(std::uint64_t number) {
  if (!records_.window(number)) return;
  onMainThread([&] {
    auto& shown = presenters_[number];
    if (!shown) {
      std::shared_ptr<appkit::StyledWindow> window;
      for (const auto& candidate : appkit::Application::shared().windows())
        if (candidate->windowNumber() == number) window = candidate;
      if (!window) {
        presenters_.erase(number);
        return;
      }
      shown = std::make_unique<GtkWindowPresenter>(window);
      shown->setPressObserver([this](foundation::Point location) { pressed(location); });
      shown->setFocusLossObserver([this] { focusLeft(); });
    }
    shown->updateChrome();
    shown->setColorScheme(colorScheme_);
    shown->show(shown->window()->canBecomeKeyWindow());
  });
  records_.orderFront(number);
}

void X11WindowServer::orderOut(std::uint64_t number) {
  onMainThread([&] {
    if (auto* shown = presenter(number)) shown->hide();
  });
  records_.orderOut(number);
  // The GTK window (and its hold on the application's window) goes once the event that took it off the
  // screen is over, which may be one of its own (its close button); one shown again meanwhile stays.
  foundation::RunLoop::main().async([this, number, alive = std::weak_ptr<int>(lifetime_)] {
    if (alive.expired()) return;
    if (auto record = records_.window(number); record && record->isOnScreen) return;
    dropPresenter(number);
  });
}

std::vector<WindowRecord> X11WindowServer::windowsOnScreen() const { return records_.windowsOnScreen(); }

std::optional<WindowRecord> X11WindowServer::window(std::uint64_t number) const {
  return records_.window(number);
}

GtkWindowPresenter* X11WindowServer::presenter(std::uint64_t number) const {
  auto found = presenters_.find(number);
  return found == presenters_.end() ? nullptr : found->second.get();
}

void X11WindowServer::redrawAll() {
  for (auto& [number, shown] : presenters_)
    if (shown->isShown()) shown->setNeedsDisplay();
}

void X11WindowServer::setColorScheme(ui::ColorScheme scheme) {
  colorScheme_ = scheme;
  for (auto& [number, shown] : presenters_) shown->setColorScheme(scheme);
}

void X11WindowServer::pressed(foundation::Point location) { records_.click(location); }

void X11WindowServer::setClickFilter(std::uint64_t number, ClickFilter filter) {
  records_.setClickFilter(number, std::move(filter));
}

void X11WindowServer::focusLeft() {
  // Looked at once the focus has arrived where it went: focus that went to another window of this
  // program came with a press there, already told.
  foundation::RunLoop::main().async([this, alive = std::weak_ptr<int>(lifetime_)] {
    if (alive.expired()) return;
    for (auto& [number, shown] : presenters_)
      if (shown->isShown() && gtk_window_is_active(GTK_WINDOW(shown->widget()))) return;
    records_.click(foundation::Point{-1e9, -1e9});
  });
}

}  // namespace desktop::x11
