#include "tests/platform/desktop/x11/live_desktop_fixture.h"

#include <gdk/gdkx.h>

// Xlib's macros (None, Bool, Status) clash with names above: it comes last.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace testsupport::live {

namespace {

Display* xDisplay() { return gdk_x11_display_get_xdisplay(gdk_display_get_default()); }

}  // namespace

void movePointerTo(int x, int y) {
  XTestFakeMotionEvent(xDisplay(), -1, x, y, CurrentTime);
  XFlush(xDisplay());
}

void clickAt(int x, int y) {
  movePointerTo(x, y);
  XTestFakeButtonEvent(xDisplay(), 1, True, CurrentTime);
  XTestFakeButtonEvent(xDisplay(), 1, False, CurrentTime);
  XFlush(xDisplay());
}

void pressKey(unsigned long keySymbol, HeldKey held) {
  Display* display = xDisplay();
  const KeyCode code = XKeysymToKeycode(display, keySymbol);
  KeyCode modifier = 0;
  if (held == HeldKey::shift) modifier = XKeysymToKeycode(display, XK_Shift_L);
  if (held == HeldKey::control) modifier = XKeysymToKeycode(display, XK_Control_L);
  if (modifier != 0) XTestFakeKeyEvent(display, modifier, True, CurrentTime);
  XTestFakeKeyEvent(display, code, True, CurrentTime);
  XTestFakeKeyEvent(display, code, False, CurrentTime);
  if (modifier != 0) XTestFakeKeyEvent(display, modifier, False, CurrentTime);
  XFlush(display);
}

}  // namespace testsupport::live
