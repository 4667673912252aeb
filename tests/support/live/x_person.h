// The person at the keyboard of a live session's X display, played by a test: key presses through XTest
// from an X connection of the test's own, and the lock keys. Free of Xlib's headers, whose macros clash
// with GoogleTest's names.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct _XDisplay;

namespace testsupport::live {

class XPerson {
 public:
  // Connects to the session's display (DISPLAY); isConnected() says whether that worked.
  XPerson();
  ~XPerson();
  XPerson(const XPerson&) = delete;
  XPerson& operator=(const XPerson&) = delete;

  bool isConnected() const { return display_ != nullptr; }
  _XDisplay* display() const { return display_; }

  // Presses and releases a key (an X keysym name: "k", "Return", "Super_L") with modifier keys held
  // (keysym names too), as a person does.
  void pressCombination(const std::vector<std::string>& modifiers, const std::string& key);
  // Clicks the first pointer button at a screen position.
  void click(int x, int y);
  // Turns Caps Lock and Num Lock on or off.
  void setLockKeys(bool isCapsLockOn, bool isNumLockOn);

  // Grabs (or ungrabs) a key combination on the root window as another program would; grabbing returns
  // whether the server granted it.
  bool grabCombination(const std::vector<std::string>& modifiers, const std::string& key);
  void ungrabCombination(const std::vector<std::string>& modifiers, const std::string& key);

 private:
  void sendKey(const std::string& keysymName, bool isPress);
  unsigned int modifierMask(const std::vector<std::string>& modifiers) const;

  _XDisplay* display_ = nullptr;
};

}  // namespace testsupport::live
