// Telling types apart by their type_info where it is done most often (the environment's keys, the kinds of
// nodes that layout and hosting ask about).
#pragma once

#include <cassert>
#include <typeinfo>

namespace ui::detail {

// Whether two type_info objects name one type. The program is linked as one, so a type has a single
// type_info and its address decides; the standard comparison falls back to comparing the types' names as
// strings whenever the objects differ, which for two different types is every time. Builds with
// assertions check that both agree.
inline bool isSameType(const std::type_info& a, const std::type_info& b) {
  const bool isSame = &a == &b;
  assert(isSame == (a == b));
  return isSame;
}

}  // namespace ui::detail
