#include "tests/platform/desktop/x11/inline/person_at_keyboard.h"

#include "tests/support/live/live_session.h"

// Xlib's macros (None, Bool, Status) clash with names above: it comes last, GDK's X part with it.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <gdk/gdkx.h>

namespace live_inline_test {
namespace {

Display* xDisplay() { return gdk_x11_display_get_xdisplay(gdk_display_get_default()); }

void sendKey(KeyCode code, bool isPress) {
  XTestFakeKeyEvent(xDisplay(), code, isPress ? True : False, CurrentTime);
  XFlush(xDisplay());
}

KeyCode keycodeOf(const std::string& keysymName) {
  return XKeysymToKeycode(xDisplay(), XStringToKeysym(keysymName.c_str()));
}

}  // namespace

bool typeAsPerson(const std::string& text, const std::function<bool(const std::string&)>& isArrived) {
  Display* display = xDisplay();
  const KeyCode shift = XKeysymToKeycode(display, XStringToKeysym("Shift_L"));
  for (std::size_t index = 0; index < text.size(); ++index) {
    // The key symbols of printable ASCII characters are their codes.
    const auto keysym = static_cast<KeySym>(static_cast<unsigned char>(text[index]));
    const KeyCode code = XKeysymToKeycode(display, keysym);
    if (code == 0) return false;
    const bool needsShift = XkbKeycodeToKeysym(display, code, 0, 0) != keysym;
    if (needsShift) sendKey(shift, true);
    sendKey(code, true);
    sendKey(code, false);
    if (needsShift) sendKey(shift, false);
    const std::string typedSoFar = text.substr(0, index + 1);
    if (!testsupport::live::waitUntil([&] { return isArrived(typedSoFar); })) return false;
  }
  return true;
}

void pressCombination(const std::vector<std::string>& modifiers, const std::string& key) {
  for (const auto& modifier : modifiers) sendKey(keycodeOf(modifier), true);
  sendKey(keycodeOf(key), true);
  sendKey(keycodeOf(key), false);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) sendKey(keycodeOf(*it), false);
}

void clickAt(double x, double y) {
  Display* display = xDisplay();
  XTestFakeMotionEvent(display, -1, static_cast<int>(x), static_cast<int>(y), CurrentTime);
  XTestFakeButtonEvent(display, 1, True, CurrentTime);
  XTestFakeButtonEvent(display, 1, False, CurrentTime);
  XFlush(display);
}

}  // namespace live_inline_test
