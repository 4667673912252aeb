#include "platform/desktop/keyboard_layout.h"

namespace desktop {
namespace {

KeyLayout makeUnitedStates() {
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
  KeyLayout layout;
  for (const auto& entry : kEntries) {
    layout.keys[entry.code] = {static_cast<char16_t>(entry.plain), static_cast<char16_t>(entry.shifted)};
  }
  return layout;
}

}  // namespace

const KeyLayout& KeyLayout::unitedStates() {
  static const KeyLayout layout = makeUnitedStates();
  return layout;
}

std::shared_ptr<const KeyboardLayout> KeyboardLayout::unitedStates() {
  // Never destroyed: layouts may be read during exit. The key table is a static that outlives every
  // layout handed out, so the pointer to it owns nothing.
  static const auto* const layout =
      new std::shared_ptr<const KeyboardLayout>(std::make_shared<const KeyboardLayout>(KeyboardLayout{
          "com.apple.keylayout.US",
          std::shared_ptr<const KeyLayout>(std::shared_ptr<const KeyLayout>{}, &KeyLayout::unitedStates())}));
  return *layout;
}

}  // namespace desktop
