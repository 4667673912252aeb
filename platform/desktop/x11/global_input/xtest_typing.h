// Typing into another application on an X desktop: key events made with XTest on a connection of their
// own, as if the person pressed the keys, character by character through the keyboard map.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/desktop/synthetic_input_service.h"
#include "platform/desktop/x11/global_input/x11_connection.h"

namespace desktop::x11 {

// Thread-safe: one mutex serialises whole deliveries, so the keys of two callers never interleave.
class XTestTyping final : public SyntheticInputService {
 public:
  // The pause after each key: applications drop keys that arrive faster than they read them.
  static constexpr int kKeyPauseMilliseconds = 30;

  // Connects to the X display; throws foundation::TextError saying why it cannot (no display, a Wayland
  // session, a server without the XTest extension).
  XTestTyping();
  ~XTestTyping() override;

  // X sends made-up keys to the window with the keyboard focus, not to a process: delivers nothing and
  // returns false when the process is not running or another process's window has the focus (as the
  // window manager's active window says). A key-down with text types the text character by character,
  // each through the key that types it in the current layout (with Shift where needed) or, for a
  // character the layout lacks, through one of a few unused key codes lent to it (they keep their
  // characters until they are needed for others, and are given back when the service ends; a map without
  // an unused code lends its last key for the moment and gets it back exactly); a line break is
  // Shift-Return. A key-up with text types nothing (the key-down typed it). Other key events press or
  // release their key with their modifiers. Returns once every key is sent, paced.
  bool postKeyboardEvent(int processIdentifier, const InputEvent& event) override;

 private:
  // An unused key code lent to a character the layout lacks. It keeps the character until another needs
  // the code: a program that reads the keyboard map late (when it gets to the key, not when it was
  // pressed) must still find the character there, so the codes are taken in turn and each one is changed
  // again only after all the others.
  struct LentKey {
    unsigned int keycode = 0;
    unsigned long keysym = 0;
  };

  bool isFocusedProcess(int processIdentifier);
  void typeText(const std::string& text);
  // The lent key code that types the keysym, lending the next one in turn when none does yet; 0 when the
  // keyboard map has no unused key code.
  unsigned int lentKeycode(unsigned long keysym);
  void pressKey(unsigned int keycode, bool withShift);
  void sendKey(unsigned int keycode, bool isPress);

  std::unique_ptr<X11Connection> connection_;
  std::mutex typingMutex_;  // guards the deliveries and the lent keys
  unsigned int shiftKeycode_ = 0;
  std::vector<LentKey> lentKeys_;
  std::size_t nextLentKey_ = 0;
};

}  // namespace desktop::x11
