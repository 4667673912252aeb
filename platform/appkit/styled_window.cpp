#include "platform/appkit/styled_window.h"

#include <algorithm>

#include "platform/appkit/application.h"
#include "platform/appkit/responder.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/window_server_service.h"

namespace appkit {
namespace {

// The window server of the desktop in use, if there is one. Window numbers are unique across desktops,
// so a number from another desktop simply names no window here.
desktop::WindowServerService* windowServer() {
  desktop::Desktop* desktop = desktop::Desktop::current();
  return desktop ? &desktop->windowServer() : nullptr;
}

double overlapArea(const foundation::Rect& a, const foundation::Rect& b) {
  const double width = std::min(a.maxX(), b.maxX()) - std::max(a.minX(), b.minX());
  const double height = std::min(a.maxY(), b.maxY()) - std::max(a.minY(), b.minY());
  return width > 0 && height > 0 ? width * height : 0;
}

}  // namespace

StyledWindow::StyledWindow(foundation::Rect contentRect, std::uint64_t styleMask, BackingStoreType backing,
                           bool defer)
    : Window(contentRect), styleMask_(styleMask), backing_(backing), isDeferred_(defer) {}

StyledWindow::~StyledWindow() {
  if (windowNumber_ == 0) return;
  if (auto* server = windowServer()) server->destroyWindow(windowNumber_);
}

void StyledWindow::setFrame(foundation::Rect frame) {
  Window::setFrame(frame);
  if (auto* server = windowServer(); server && windowNumber_ != 0) server->setFrame(windowNumber_, frame);
}

void StyledWindow::setTitle(std::string title) {
  Window::setTitle(std::move(title));
  if (auto* server = windowServer(); server && windowNumber_ != 0)
    server->setTitle(windowNumber_, this->title());
}

void StyledWindow::setLevel(int level) {
  level_ = level;
  if (auto* server = windowServer(); server && windowNumber_ != 0) server->setLevel(windowNumber_, level);
}

bool StyledWindow::canBecomeKeyWindow() const {
  return (styleMask_ & (StyleMask::titled | StyleMask::resizable)) != 0;
}

bool StyledWindow::canBecomeMainWindow() const {
  return (styleMask_ & (StyleMask::titled | StyleMask::resizable)) != 0;
}

foundation::Rect StyledWindow::constrainFrameRect(foundation::Rect frameRect,
                                                  const std::optional<Screen>& screen) const {
  if (!screen || (styleMask_ & StyleMask::titled) == 0) return frameRect;
  const foundation::Rect visible = screen->visibleFrame();
  if (frameRect.maxY() > visible.maxY()) frameRect.origin.y = visible.maxY() - frameRect.height();
  return frameRect;
}

void StyledWindow::setFrameOrigin(foundation::Point origin) { setFrame({origin, frame().size}); }

void StyledWindow::setFrameTopLeftPoint(foundation::Point point) {
  setFrame({{point.x, point.y - frame().height()}, frame().size});
}

void StyledWindow::center() {
  const auto main = Screen::mainScreen();
  if (!main) return;
  const foundation::Rect visible = main->visibleFrame();
  setFrameOrigin({visible.midX() - frame().width() / 2, visible.midY() - frame().height() / 2});
}

std::optional<Screen> StyledWindow::screen() const {
  std::optional<Screen> best;
  double bestArea = 0;
  for (const auto& candidate : Screen::screens()) {
    const double area = overlapArea(frame(), candidate.frame());
    if (area > bestArea) {
      best = candidate;
      bestArea = area;
    }
  }
  return best;
}

std::uint64_t StyledWindow::occlusionState() const {
  auto* server = windowServer();
  if (!server || windowNumber_ == 0) return 0;
  auto record = server->window(windowNumber_);
  if (!record) return 0;
  return OcclusionState::tracked | (record->isVisible() ? OcclusionState::visible : 0);
}

void StyledWindow::reportToWindowServer() {
  auto* server = windowServer();
  if (!server) return;
  if (windowNumber_ == 0 || !server->window(windowNumber_)) {
    // The handler holds the window weakly: the record must never keep its window alive.
    std::weak_ptr<Window> weak = weak_from_this();
    windowNumber_ = server->createWindow([weak](const desktop::WindowServerEvent& event) {
      auto window = std::static_pointer_cast<StyledWindow>(weak.lock());
      if (!window) return;
      if (event.kind == desktop::WindowServerEvent::Kind::visibilityChanged) {
        window->windowServerDidChangeVisibility();
      } else {
        window->mouseDownOnScreen(event.kind == desktop::WindowServerEvent::Kind::mouseDownInside,
                                  event.location);
      }
    });
  }
  server->setTitle(windowNumber_, title());
  server->setFrame(windowNumber_, frame());
  server->setLevel(windowNumber_, level_);
  reportClickRegion();
}

void StyledWindow::windowServerDidChangeVisibility() {
  postNotification(didChangeOcclusionStateNotification);
}

void StyledWindow::mouseDownOnScreen(bool isInside, foundation::Point) {
  if (!isVisible_) return;
  if (isInside) {
    // A press on one of its windows brings the application forward, except on a non-activating panel:
    // the person works in the panel while the application they came from stays in front.
    if (activatesApplication()) Application::shared().activate();
    makeKeyWindow();
    return;
  }
  // The press went to another window or another application, which takes the keyboard: a window of
  // this application that may become key takes it back through its own press.
  resignKeyWindow();
}

void StyledWindow::setBackgroundColor(Color color) {
  backgroundColor_ = color;
  reportClickRegion();
}

void StyledWindow::setOpaque(bool isOpaque) {
  isOpaque_ = isOpaque;
  reportClickRegion();
}

std::optional<std::vector<foundation::Rect>> StyledWindow::clickRegion() const {
  if (!letsClicksThrough()) return std::nullopt;
  std::vector<foundation::Rect> region;
  const auto& content = contentView();
  if (!content || content->isHidden()) return region;
  const foundation::Rect frame = content->frame();
  const foundation::Point origin = content->bounds().origin;
  for (const auto& rect : content->clickableRects()) {
    region.push_back(
        {{rect.minX() - origin.x + frame.minX(), rect.minY() - origin.y + frame.minY()}, rect.size});
  }
  return region;
}

bool StyledWindow::takesClickAt(foundation::Point location) const {
  const foundation::Rect frame = this->frame();
  if (!frame.contains(location)) return false;
  const auto region = clickRegion();
  if (!region) return true;
  // Global coordinates grow upwards from the bottom-left; the window's own grow downwards from its top.
  const foundation::Point inWindow{location.x - frame.minX(), frame.maxY() - location.y};
  for (const auto& rect : *region) {
    if (rect.contains(inWindow)) return true;
  }
  return false;
}

void StyledWindow::reportClickRegion() {
  auto* server = windowServer();
  if (!server || windowNumber_ == 0) return;
  if (!letsClicksThrough()) {
    server->setClickFilter(windowNumber_, nullptr);
    return;
  }
  // The filter holds the window weakly and asks it at each press: its views change between presses.
  std::weak_ptr<Window> weak = weak_from_this();
  server->setClickFilter(windowNumber_, [weak](foundation::Point location) {
    auto window = std::static_pointer_cast<StyledWindow>(weak.lock());
    return window && window->takesClickAt(location);
  });
}

void StyledWindow::orderFront() {
  setFrame(constrainFrameRect(frame(), Screen::mainScreen()));
  isVisible_ = true;
  isClosed_ = false;
  auto self = std::static_pointer_cast<StyledWindow>(weak_from_this().lock());
  if (self) Application::shared().windowDidShow(self);
  reportToWindowServer();
  if (auto* server = windowServer(); server && windowNumber_ != 0) server->orderFront(windowNumber_);
}

void StyledWindow::makeKeyAndOrderFront() {
  const bool isFirstShowing = !hasBeenKey_;
  orderFront();
  if (makeKeyWindow()) hasBeenKey_ = true;
  makeMainWindow();
  // The first time a window is made key with nothing focused, the first view of its key-view loop (its
  // first text field, say) takes the keyboard, so the person can type at once.
  if (isFirstShowing && isKeyWindow() && !firstResponder(*this)) selectNextKeyView();
}

void StyledWindow::orderOut() {
  isVisible_ = false;
  resignKeyWindow();
  resignMainWindow();
  if (auto* server = windowServer(); server && windowNumber_ != 0) server->orderOut(windowNumber_);
}

void StyledWindow::close() {
  if (isClosed_) return;
  const foundation::Notification notification{willCloseNotification, this, {}};
  foundation::NotificationCenter::defaultCenter().post(notification);
  if (auto delegate = this->delegate()) delegate->windowWillClose(notification);
  // Kept alive until the close is complete: the application's list may hold the last reference.
  auto self = weak_from_this().lock();
  orderOut();
  isClosed_ = true;
  Application::shared().windowDidClose(*this);
}

}  // namespace appkit
