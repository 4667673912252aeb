#include "platform/desktop/x11/keys.h"

#include <gdk/gdkkeysyms.h>

#include <array>
#include <utility>

namespace desktop::x11 {

namespace {

// Linux input codes (the X key code less 8) and the platform's virtual key code of the same place.
constexpr std::array<std::pair<std::uint16_t, std::uint16_t>, 103> kPlaces{{
    {1, 53},    {2, 18},    {3, 19},    {4, 20},    {5, 21},    {6, 23},    {7, 22},    {8, 26},
    {9, 28},    {10, 25},   {11, 29},   {12, 27},   {13, 24},   {14, 51},   {15, 48},   {16, 12},
    {17, 13},   {18, 14},   {19, 15},   {20, 17},   {21, 16},   {22, 32},   {23, 34},   {24, 31},
    {25, 35},   {26, 33},   {27, 30},   {28, 36},   {29, 59},   {30, 0},    {31, 1},    {32, 2},
    {33, 3},    {34, 5},    {35, 4},    {36, 38},   {37, 40},   {38, 37},   {39, 41},   {40, 39},
    {41, 50},   {42, 56},   {43, 42},   {44, 6},    {45, 7},    {46, 8},    {47, 9},    {48, 11},
    {49, 45},   {50, 46},   {51, 43},   {52, 47},   {53, 44},   {54, 60},   {55, 67},   {56, 58},
    {57, 49},   {58, 57},   {59, 122},  {60, 120},  {61, 99},   {62, 118},  {63, 96},   {64, 97},
    {65, 98},   {66, 100},  {67, 101},  {68, 109},  {69, 71},   {71, 89},   {72, 91},   {73, 92},
    {74, 78},   {75, 86},   {76, 87},   {77, 88},   {78, 69},   {79, 83},   {80, 84},   {81, 85},
    {82, 82},   {83, 65},   {86, 10},   {87, 103},  {88, 111},  {96, 76},   {97, 62},   {98, 75},
    {100, 61},  {102, 115}, {103, 126}, {104, 116}, {105, 123}, {106, 124}, {107, 119}, {108, 125},
    {109, 121}, {110, 114}, {111, 117}, {117, 81},  {125, 55},  {126, 54},  {183, 105},
}};

constexpr std::uint32_t kXOffset = 8;

}  // namespace

std::optional<std::uint16_t> virtualKeyCode(std::uint32_t xKeyCode) {
  if (xKeyCode < kXOffset) return std::nullopt;
  for (const auto& [input, code] : kPlaces)
    if (input == xKeyCode - kXOffset) return code;
  return std::nullopt;
}

std::optional<std::uint32_t> xKeyCode(std::uint16_t virtualKeyCode) {
  for (const auto& [input, code] : kPlaces)
    if (code == virtualKeyCode) return input + kXOffset;
  return std::nullopt;
}

appkit::ModifierFlags applicationModifiers(GdkModifierType state) {
  appkit::ModifierFlags flags;
  if (state & GDK_SHIFT_MASK) flags |= appkit::ModifierFlags::shift;
  if (state & GDK_LOCK_MASK) flags |= appkit::ModifierFlags::capsLock;
  if (state & GDK_CONTROL_MASK) flags |= appkit::ModifierFlags::command;
  if (state & GDK_MOD1_MASK) flags |= appkit::ModifierFlags::option;
  if (state & (GDK_SUPER_MASK | GDK_MOD4_MASK)) flags |= appkit::ModifierFlags::control;
  return flags;
}

GdkModifierType hotKeyModifiers(appkit::ModifierFlags flags) {
  unsigned state = 0;
  if (flags.contains(appkit::ModifierFlags::shift)) state |= GDK_SHIFT_MASK;
  if (flags.contains(appkit::ModifierFlags::control)) state |= GDK_CONTROL_MASK;
  if (flags.contains(appkit::ModifierFlags::option)) state |= GDK_MOD1_MASK;
  // X servers report Super as the fourth modifier; GDK adds its own Super bit on its events only.
  if (flags.contains(appkit::ModifierFlags::command)) state |= GDK_MOD4_MASK;
  return static_cast<GdkModifierType>(state);
}

appkit::ModifierFlags hotKeyModifierFlags(GdkModifierType state) {
  appkit::ModifierFlags flags;
  if (state & GDK_SHIFT_MASK) flags |= appkit::ModifierFlags::shift;
  if (state & GDK_CONTROL_MASK) flags |= appkit::ModifierFlags::control;
  if (state & GDK_MOD1_MASK) flags |= appkit::ModifierFlags::option;
  if (state & (GDK_SUPER_MASK | GDK_MOD4_MASK)) flags |= appkit::ModifierFlags::command;
  return flags;
}

std::string charactersOfKey(guint keyval) {
  using appkit::SpecialKey;
  switch (keyval) {
    case GDK_KEY_Return:
      return SpecialKey::carriageReturn.characters();
    case GDK_KEY_KP_Enter:
      return SpecialKey::enter.characters();
    case GDK_KEY_Tab:
      return SpecialKey::tab.characters();
    case GDK_KEY_ISO_Left_Tab:
      return SpecialKey::backTab.characters();
    case GDK_KEY_BackSpace:
      return SpecialKey::delete_.characters();
    case GDK_KEY_Delete:
    case GDK_KEY_KP_Delete:
      return SpecialKey::deleteForward.characters();
    case GDK_KEY_Escape:
      return "\x1b";
    case GDK_KEY_Up:
    case GDK_KEY_KP_Up:
      return SpecialKey::upArrow.characters();
    case GDK_KEY_Down:
    case GDK_KEY_KP_Down:
      return SpecialKey::downArrow.characters();
    case GDK_KEY_Left:
    case GDK_KEY_KP_Left:
      return SpecialKey::leftArrow.characters();
    case GDK_KEY_Right:
    case GDK_KEY_KP_Right:
      return SpecialKey::rightArrow.characters();
    case GDK_KEY_Home:
    case GDK_KEY_KP_Home:
      return SpecialKey::home.characters();
    case GDK_KEY_End:
    case GDK_KEY_KP_End:
      return SpecialKey::end.characters();
    case GDK_KEY_Page_Up:
    case GDK_KEY_KP_Page_Up:
      return SpecialKey::pageUp.characters();
    case GDK_KEY_Page_Down:
    case GDK_KEY_KP_Page_Down:
      return SpecialKey::pageDown.characters();
    case GDK_KEY_Help:
      return SpecialKey::help.characters();
    default:
      break;
  }
  if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F35)
    return SpecialKey::functionKey(static_cast<int>(keyval - GDK_KEY_F1) + 1).characters();
  const gunichar character = gdk_keyval_to_unicode(keyval);
  if (character == 0) return {};
  char text[8] = {};
  const int length = g_unichar_to_utf8(character, text);
  return std::string(text, static_cast<std::size_t>(length));
}

}  // namespace desktop::x11
