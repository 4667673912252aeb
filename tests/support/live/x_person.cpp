#include "tests/support/live/x_person.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace testsupport::live {
namespace {

bool hasError = false;
int noteError(Display*, XErrorEvent*) {
  hasError = true;
  return 0;
}

}  // namespace

XPerson::XPerson() : display_(XOpenDisplay(nullptr)) {}

XPerson::~XPerson() {
  if (display_) XCloseDisplay(display_);
}

void XPerson::sendKey(const std::string& keysymName, bool isPress) {
  const KeyCode keycode = XKeysymToKeycode(display_, XStringToKeysym(keysymName.c_str()));
  XTestFakeKeyEvent(display_, keycode, isPress ? True : False, CurrentTime);
  XSync(display_, False);
}

void XPerson::pressCombination(const std::vector<std::string>& modifiers, const std::string& key) {
  for (const auto& modifier : modifiers) sendKey(modifier, true);
  sendKey(key, true);
  sendKey(key, false);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) sendKey(*it, false);
}

void XPerson::click(int x, int y) {
  XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
  XTestFakeButtonEvent(display_, 1, True, CurrentTime);
  XTestFakeButtonEvent(display_, 1, False, CurrentTime);
  XSync(display_, False);
}

void XPerson::setLockKeys(bool isCapsLockOn, bool isNumLockOn) {
  const unsigned int numLock = XkbKeysymToModifiers(display_, XK_Num_Lock);
  XkbLockModifiers(display_, XkbUseCoreKbd, LockMask | numLock,
                   (isCapsLockOn ? LockMask : 0) | (isNumLockOn ? numLock : 0));
  XSync(display_, False);
}

unsigned int XPerson::modifierMask(const std::vector<std::string>& modifiers) const {
  unsigned int mask = 0;
  for (const auto& modifier : modifiers)
    mask |= XkbKeysymToModifiers(display_, XStringToKeysym(modifier.c_str()));
  return mask;
}

bool XPerson::grabCombination(const std::vector<std::string>& modifiers, const std::string& key) {
  XSync(display_, False);
  hasError = false;
  const auto previous = XSetErrorHandler(noteError);
  XGrabKey(display_, XKeysymToKeycode(display_, XStringToKeysym(key.c_str())), modifierMask(modifiers),
           DefaultRootWindow(display_), False, GrabModeAsync, GrabModeAsync);
  XSync(display_, False);
  XSetErrorHandler(previous);
  return !hasError;
}

void XPerson::ungrabCombination(const std::vector<std::string>& modifiers, const std::string& key) {
  XUngrabKey(display_, XKeysymToKeycode(display_, XStringToKeysym(key.c_str())), modifierMask(modifiers),
             DefaultRootWindow(display_));
  XSync(display_, False);
}

}  // namespace testsupport::live
