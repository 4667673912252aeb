#include "platform/appkit/styled_window.h"

namespace appkit {

StyledWindow::StyledWindow(foundation::Rect contentRect, std::uint64_t styleMask, BackingStoreType backing,
                           bool defer)
    : Window(contentRect), styleMask_(styleMask), backing_(backing), isDeferred_(defer) {}

bool StyledWindow::canBecomeKeyWindow() const {
  return (styleMask_ & (StyleMask::titled | StyleMask::resizable)) != 0;
}

bool StyledWindow::canBecomeMainWindow() const { return canBecomeKeyWindow(); }

foundation::Rect StyledWindow::constrainFrameRect(foundation::Rect frameRect,
                                                  const std::optional<Screen>& screen) const {
  if (!screen || (styleMask_ & StyleMask::titled) == 0) return frameRect;
  const foundation::Rect visible = screen->visibleFrame();
  if (frameRect.maxY() > visible.maxY()) frameRect.origin.y = visible.maxY() - frameRect.height();
  return frameRect;
}

void StyledWindow::setFrameOrigin(foundation::Point origin) { setFrame({origin, frame().size}); }

void StyledWindow::orderFront() {
  setFrame(constrainFrameRect(frame(), Screen::mainScreen()));
  isVisible_ = true;
  isClosed_ = false;
}

void StyledWindow::makeKeyAndOrderFront() {
  orderFront();
  makeKeyWindow();
}

void StyledWindow::orderOut() {
  isVisible_ = false;
  resignKeyWindow();
}

void StyledWindow::close() {
  orderOut();
  isClosed_ = true;
}

}  // namespace appkit
