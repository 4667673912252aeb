#include "platform/desktop/x11/global_input/xtest_typing.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "platform/desktop/x11/global_input/keyboard_map.h"
#include "platform/desktop/x11/global_input/own_synthetic_input.h"
#include "platform/desktop/x11/global_input/window_properties.h"
#include "platform/foundation/text_error.h"
#include "platform/foundation/utf16.h"

namespace desktop::x11 {
namespace {

namespace event_flag {
constexpr std::uint64_t shift = 0x20000;
constexpr std::uint64_t control = 0x40000;
constexpr std::uint64_t option = 0x80000;
constexpr std::uint64_t command = 0x100000;
}  // namespace event_flag

bool isProcessRunning(int processIdentifier) {
  if (processIdentifier <= 0) return false;
  return ::kill(processIdentifier, 0) == 0 || errno == EPERM;
}

// The keysym of a character: Latin-1 characters are their own keysyms, the others Unicode keysyms.
KeySym keysymOf(char32_t character) {
  if ((character >= 0x20 && character <= 0x7E) || (character >= 0xA0 && character <= 0xFF)) return character;
  return 0x01000000 | character;
}

// The keyboard map as the server has it now, for finding the key that types a character.
struct KeyboardMapping {
  int firstKeycode = 0;
  int keysymsPerKeycode = 0;
  std::vector<KeySym> keysyms;

  static KeyboardMapping read(Display* display) {
    KeyboardMapping mapping;
    int last = 0;
    XDisplayKeycodes(display, &mapping.firstKeycode, &last);
    KeySym* keysyms = XGetKeyboardMapping(display, static_cast<KeyCode>(mapping.firstKeycode),
                                          last - mapping.firstKeycode + 1, &mapping.keysymsPerKeycode);
    if (keysyms != nullptr) {
      mapping.keysyms.assign(keysyms,
                             keysyms + (last - mapping.firstKeycode + 1) * mapping.keysymsPerKeycode);
      XFree(keysyms);
    }
    return mapping;
  }
  int keycodeCount() const { return keysymsPerKeycode > 0 ? int(keysyms.size()) / keysymsPerKeycode : 0; }
  KeySym at(int index, int column) const {
    return column < keysymsPerKeycode ? keysyms[std::size_t(index * keysymsPerKeycode + column)] : NoSymbol;
  }
};

}  // namespace

XTestTyping::XTestTyping() : connection_(X11Connection::open()) {
  auto held = connection_->lock();
  int event = 0;
  int error = 0;
  int major = 0;
  int minor = 0;
  if (!XTestQueryExtension(connection_->display(), &event, &error, &major, &minor))
    throw foundation::TextError("the X server cannot take typed keys from programs (no XTest extension)");
  // Keys pressed by this program are not held back by another client's grab of the keyboard.
  XTestGrabControl(connection_->display(), True);
  shiftKeycode_ = XKeysymToKeycode(connection_->display(), XK_Shift_L);
}

XTestTyping::~XTestTyping() {
  // The lent key codes were unused: they are given back empty.
  auto held = connection_->lock();
  for (const auto& lent : lentKeys_) {
    KeySym nothing[2] = {NoSymbol, NoSymbol};
    XChangeKeyboardMapping(connection_->display(), static_cast<int>(lent.keycode), 2, nothing, 1);
  }
  XSync(connection_->display(), False);
}

unsigned int XTestTyping::lentKeycode(unsigned long keysym) {
  for (const auto& lent : lentKeys_)
    if (lent.keysym == keysym) return lent.keycode;
  Display* display = connection_->display();
  if (lentKeys_.empty()) {
    // The pool: up to 16 key codes that type nothing, from the end of the map.
    constexpr std::size_t kPoolSize = 16;
    const KeyboardMapping mapping = KeyboardMapping::read(display);
    for (int index = mapping.keycodeCount() - 1; index >= 0 && lentKeys_.size() < kPoolSize; --index) {
      bool isUnused = true;
      for (int c = 0; c < mapping.keysymsPerKeycode; ++c)
        isUnused = isUnused && mapping.at(index, c) == NoSymbol;
      if (isUnused) lentKeys_.push_back({static_cast<unsigned int>(mapping.firstKeycode + index), NoSymbol});
    }
    if (lentKeys_.empty()) return 0;
  }
  auto& lent = lentKeys_[nextLentKey_];
  nextLentKey_ = (nextLentKey_ + 1) % lentKeys_.size();
  // The same keysym on both levels: X reads one keysym alone as a lower and upper case pair, which would
  // type "É" as "é".
  KeySym pair[2] = {keysym, keysym};
  XChangeKeyboardMapping(display, static_cast<int>(lent.keycode), 2, pair, 1);
  XSync(display, False);
  lent.keysym = keysym;
  std::this_thread::sleep_for(std::chrono::milliseconds(kKeyPauseMilliseconds));
  return lent.keycode;
}

bool XTestTyping::isFocusedProcess(int processIdentifier) {
  if (!isProcessRunning(processIdentifier)) return false;
  Display* display = connection_->display();
  const auto active = longProperty(display, DefaultRootWindow(display), "_NET_ACTIVE_WINDOW", XA_WINDOW);
  if (active.empty() || active[0] == None)
    return true;  // a window manager that does not say: X focus decides
  const auto owner = longProperty(display, active[0], "_NET_WM_PID", XA_CARDINAL);
  return owner.empty() || static_cast<int>(owner[0]) == processIdentifier;
}

bool XTestTyping::postKeyboardEvent(int processIdentifier, const InputEvent& event) {
  std::lock_guard typing(typingMutex_);
  auto held = connection_->lock();
  if (!isFocusedProcess(processIdentifier)) return false;
  SyntheticInputScope scope;
  const bool isKeyDown = event.type == "keyDown";
  if (!event.characters.empty()) {
    if (isKeyDown) typeText(event.characters);
    return true;
  }
  if (!isKeyDown && event.type != "keyUp") return true;
  std::optional<unsigned int> keycode;
  try {
    keycode = KeyboardMap::read(connection_->display())->keycode(event.keyCode);
  } catch (const std::exception&) {
  }
  if (!keycode) return true;
  Display* display = connection_->display();
  std::vector<unsigned int> modifiers;
  const auto addModifier = [&](std::uint64_t flag, KeySym keysym) {
    if (event.modifierFlags & flag) modifiers.push_back(XKeysymToKeycode(display, keysym));
  };
  addModifier(event_flag::shift, XK_Shift_L);
  addModifier(event_flag::control, XK_Control_L);
  addModifier(event_flag::option, XK_Alt_L);
  addModifier(event_flag::command, XK_Super_L);
  if (isKeyDown) {
    for (const unsigned int modifier : modifiers) sendKey(modifier, true);
    sendKey(*keycode, true);
  } else {
    sendKey(*keycode, false);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) sendKey(*it, false);
  }
  return true;
}

void XTestTyping::typeText(const std::string& text) {
  Display* display = connection_->display();
  const KeyboardMapping mapping = KeyboardMapping::read(display);
  XkbStateRec state{};
  XkbGetState(display, XkbUseCoreKbd, &state);
  // The core map lists two keysyms per group: columns 0 and 1 for the first group, 2 and 3 for the second.
  const int column = state.group < 2 ? state.group * 2 : 0;
  const auto isLent = [&](int keycode) {
    for (const auto& lent : lentKeys_)
      if (int(lent.keycode) == keycode) return true;
    return false;
  };
  // Where no key code is unused, the last key is borrowed for the moment and gets back exactly what it had.
  std::optional<int> borrowedIndex;
  std::vector<KeySym> borrowedKeysyms;
  for (const char32_t character : foundation::unicodeScalars(text)) {
    if (character == U'\n') {
      pressKey(XKeysymToKeycode(display, XK_Return), true);
      continue;
    }
    const KeySym keysym = character == U'\t' ? XK_Tab : keysymOf(character);
    std::optional<std::pair<int, bool>> key;  // (index, with Shift)
    for (int index = 0; index < mapping.keycodeCount() && !key; ++index) {
      if (isLent(mapping.firstKeycode + index) || (borrowedIndex && index == *borrowedIndex)) continue;
      if (mapping.at(index, column) == keysym)
        key = {index, false};
      else if (mapping.at(index, column + 1) == keysym)
        key = {index, true};
    }
    if (key) {
      pressKey(static_cast<unsigned int>(mapping.firstKeycode + key->first), key->second);
    } else if (const unsigned int lent = lentKeycode(keysym); lent != 0) {
      pressKey(lent, false);
    } else if (mapping.keycodeCount() > 0) {
      if (!borrowedIndex) {
        borrowedIndex = mapping.keycodeCount() - 1;
        for (int c = 0; c < mapping.keysymsPerKeycode; ++c)
          borrowedKeysyms.push_back(mapping.at(*borrowedIndex, c));
      }
      const int borrowed = mapping.firstKeycode + *borrowedIndex;
      KeySym pair[2] = {keysym, keysym};
      XChangeKeyboardMapping(display, borrowed, 2, pair, 1);
      XSync(display, False);
      std::this_thread::sleep_for(std::chrono::milliseconds(kKeyPauseMilliseconds));
      pressKey(static_cast<unsigned int>(borrowed), false);
    }
  }
  if (borrowedIndex) {
    XChangeKeyboardMapping(display, mapping.firstKeycode + *borrowedIndex, int(borrowedKeysyms.size()),
                           borrowedKeysyms.data(), 1);
    XSync(display, False);
  }
}

void XTestTyping::pressKey(unsigned int keycode, bool withShift) {
  if (keycode == 0) return;
  if (withShift) sendKey(shiftKeycode_, true);
  sendKey(keycode, true);
  sendKey(keycode, false);
  if (withShift) sendKey(shiftKeycode_, false);
}

void XTestTyping::sendKey(unsigned int keycode, bool isPress) {
  XTestFakeKeyEvent(connection_->display(), keycode, isPress ? True : False, CurrentTime);
  XSync(connection_->display(), False);
  if (!isPress) std::this_thread::sleep_for(std::chrono::milliseconds(kKeyPauseMilliseconds));
}

}  // namespace desktop::x11
