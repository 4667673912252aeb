#include "platform/carbon/keyboard_layout.h"

#include <mutex>
#include <utility>

namespace carbon {
namespace {

struct CurrentLayout {
  std::mutex mutex;  // guards source
  std::shared_ptr<const InputSource> source = std::make_shared<InputSource>(InputSource{
      "com.apple.keylayout.US", std::shared_ptr<const KeyLayoutData>(std::shared_ptr<const KeyLayoutData>{},
                                                                     &KeyLayoutData::unitedStates())});
};

CurrentLayout& currentLayout() {
  static CurrentLayout* layout = new CurrentLayout;  // never destroyed: may be read during exit
  return *layout;
}

KeyLayoutData makeUnitedStates() {
  // Virtual key code, the character alone, the character with Shift.
  struct Entry {
    std::uint16_t code;
    char plain;
    char shifted;
  };
  static constexpr Entry kEntries[] = {
      {0, 'a', 'A'},  {1, 's', 'S'},   {2, 'd', 'D'},  {3, 'f', 'F'},  {4, 'h', 'H'},   {5, 'g', 'G'},
      {6, 'z', 'Z'},  {7, 'x', 'X'},   {8, 'c', 'C'},  {9, 'v', 'V'},  {11, 'b', 'B'},  {12, 'q', 'Q'},
      {13, 'w', 'W'}, {14, 'e', 'E'},  {15, 'r', 'R'}, {16, 'y', 'Y'}, {17, 't', 'T'},  {18, '1', '!'},
      {19, '2', '@'}, {20, '3', '#'},  {21, '4', '$'}, {22, '6', '^'}, {23, '5', '%'},  {24, '=', '+'},
      {25, '9', '('}, {26, '7', '&'},  {27, '-', '_'}, {28, '8', '*'}, {29, '0', ')'},  {30, ']', '}'},
      {31, 'o', 'O'}, {32, 'u', 'U'},  {33, '[', '{'}, {34, 'i', 'I'}, {35, 'p', 'P'},  {37, 'l', 'L'},
      {38, 'j', 'J'}, {39, '\'', '"'}, {40, 'k', 'K'}, {41, ';', ':'}, {42, '\\', '|'}, {43, ',', '<'},
      {44, '/', '?'}, {45, 'n', 'N'},  {46, 'm', 'M'}, {47, '.', '>'}, {49, ' ', ' '},  {50, '`', '~'},
      {65, '.', '.'}, {67, '*', '*'},  {69, '+', '+'}, {75, '/', '/'}, {78, '-', '-'},  {81, '=', '='},
      {82, '0', '0'}, {83, '1', '1'},  {84, '2', '2'}, {85, '3', '3'}, {86, '4', '4'},  {87, '5', '5'},
      {88, '6', '6'}, {89, '7', '7'},  {91, '8', '8'}, {92, '9', '9'},
  };
  KeyLayoutData layout;
  for (const auto& entry : kEntries) {
    layout.keys[entry.code] = {static_cast<char16_t>(entry.plain), static_cast<char16_t>(entry.shifted)};
  }
  return layout;
}

}  // namespace

const KeyLayoutData& KeyLayoutData::unitedStates() {
  static const KeyLayoutData layout = makeUnitedStates();
  return layout;
}

std::shared_ptr<const InputSource> copyCurrentASCIICapableKeyboardLayoutInputSource() {
  auto& current = currentLayout();
  std::lock_guard lock(current.mutex);
  return current.source;
}

ScopedKeyboardLayout::ScopedKeyboardLayout(std::shared_ptr<const InputSource> source) {
  auto& current = currentLayout();
  std::lock_guard lock(current.mutex);
  previous_ = std::exchange(current.source, std::move(source));
}

ScopedKeyboardLayout::~ScopedKeyboardLayout() {
  auto& current = currentLayout();
  std::shared_ptr<const InputSource> replaced;  // released outside the lock
  std::lock_guard lock(current.mutex);
  replaced = std::exchange(current.source, std::move(previous_));
}

std::uint8_t keyboardType() { return 40; }  // an ANSI keyboard

OSStatus keyTranslate(const KeyLayoutData& layout, std::uint16_t virtualKeyCode, std::uint16_t keyAction,
                      std::uint32_t modifierKeyState, std::uint32_t /*keyboardType*/,
                      std::uint32_t /*keyTranslateOptions*/, std::uint32_t* deadKeyState,
                      std::size_t maxStringLength, std::size_t* actualStringLength, char16_t* unicodeString) {
  if (!actualStringLength || (!unicodeString && maxStringLength > 0) || keyAction > kUCKeyActionDisplay) {
    return paramErr;
  }
  *actualStringLength = 0;
  if (deadKeyState) *deadKeyState = 0;
  const auto found = layout.keys.find(virtualKeyCode);
  if (found == layout.keys.end()) return kUCKeyTranslateUnknownKeyErr;
  // The display action shows the key's own (unshifted) character, whatever the modifiers.
  const bool isShifted = keyAction != kUCKeyActionDisplay && ((modifierKeyState << 8) & shiftKey) != 0;
  if (maxStringLength == 0) return noErr;
  unicodeString[0] = isShifted ? found->second.shifted : found->second.plain;
  *actualStringLength = 1;
  return noErr;
}

}  // namespace carbon
