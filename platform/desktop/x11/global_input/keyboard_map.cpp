#include "platform/desktop/x11/global_input/keyboard_map.h"

#include <X11/Xlib-xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <string>

#include "platform/desktop/x11/global_input/virtual_key_codes.h"
#include "platform/foundation/text_error.h"

namespace desktop::x11 {

std::unique_ptr<KeyboardMap> KeyboardMap::read(Display* display) {
  std::unique_ptr<KeyboardMap> keyboard(new KeyboardMap);
  xcb_connection_t* connection = XGetXCBConnection(display);
  if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                   XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr))
    throw foundation::TextError("the X server has no keyboard extension (XKB)");
  const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
  keyboard->context_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  if (keyboard->context_ != nullptr && device >= 0)
    keyboard->keymap_ =
        xkb_x11_keymap_new_from_device(keyboard->context_, connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS);
  if (keyboard->keymap_ != nullptr)
    keyboard->state_ = xkb_x11_state_new_from_device(keyboard->keymap_, connection, device);
  if (keyboard->state_ == nullptr) throw foundation::TextError("the X keyboard's layout cannot be read");
  return keyboard;
}

KeyboardMap::~KeyboardMap() {
  xkb_state_unref(state_);
  xkb_keymap_unref(keymap_);
  xkb_context_unref(context_);
}

std::optional<unsigned int> KeyboardMap::keycode(std::uint16_t virtualKeyCode) const {
  const auto name = xkbKeyName(virtualKeyCode);
  if (!name) return std::nullopt;
  const xkb_keycode_t code = xkb_keymap_key_by_name(keymap_, std::string(*name).c_str());
  if (code == XKB_KEYCODE_INVALID) return std::nullopt;
  return code;
}

std::optional<std::uint16_t> KeyboardMap::virtualKeyCode(unsigned int keycode) const {
  const char* name = xkb_keymap_key_get_name(keymap_, keycode);
  if (name == nullptr) return std::nullopt;
  return x11::virtualKeyCode(name);
}

std::shared_ptr<const KeyboardLayout> KeyboardMap::layout() const {
  // The layout in use if it types ASCII letters, else the first of the keyboard's other layouts that does
  // (as a person with a Russian and an English layout expects to see "K" for a hot key, not "Л").
  const xkb_layout_index_t current = xkb_state_serialize_layout(state_, XKB_STATE_LAYOUT_EFFECTIVE);
  const xkb_layout_index_t count = xkb_keymap_num_layouts(keymap_);
  for (xkb_layout_index_t step = 0; step < count; ++step) {
    const xkb_layout_index_t group = (current + step) % count;
    if (auto layout = layoutOfGroup(group); layout) return layout;
  }
  return nullptr;
}

std::shared_ptr<const KeyboardLayout> KeyboardMap::layoutOfGroup(unsigned int group) const {
  auto keys = std::make_shared<KeyLayout>();
  // What one level of the key types, if it is a character of UTF-16's first plane.
  const auto character = [&](xkb_keycode_t code, xkb_level_index_t level) -> char16_t {
    const xkb_keysym_t* symbols = nullptr;
    if (xkb_keymap_key_get_syms_by_level(keymap_, code, group, level, &symbols) < 1) return 0;
    const std::uint32_t scalar = xkb_keysym_to_utf32(symbols[0]);
    return scalar > 0 && scalar <= 0xFFFF && (scalar < 0xD800 || scalar > 0xDFFF) ? char16_t(scalar) : 0;
  };
  bool typesAsciiLetters = false;
  for (std::uint16_t virtualKey = 0; virtualKey < 128; ++virtualKey) {
    const auto code = keycode(virtualKey);
    if (!code) continue;
    const char16_t plain = character(*code, 0);
    if (plain == 0 || plain < 0x20 || plain == 0x7F) continue;  // keys that edit or move, not type
    const char16_t shifted = character(*code, 1);
    keys->keys[virtualKey] = {plain, shifted != 0 ? shifted : plain};
    typesAsciiLetters = typesAsciiLetters || (plain >= u'a' && plain <= u'z');
  }
  if (!typesAsciiLetters) return nullptr;
  const char* name = xkb_keymap_layout_get_name(keymap_, group);
  return std::make_shared<const KeyboardLayout>(KeyboardLayout{
      std::string("org.freedesktop.xkb.layout.") + (name ? name : "unnamed"), std::move(keys)});
}

}  // namespace desktop::x11
