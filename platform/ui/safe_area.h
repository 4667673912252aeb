// The safe area: the part of a hosting view that the window's chrome leaves uncovered, and the modifier
// with which a view reaches beyond it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/view_spec.h"
#include "platform/ui/view_values.h"

namespace ui {

// What takes room from the safe area: the window's chrome (container) and the keyboard.
enum class SafeAreaRegions : std::uint8_t { container = 1, keyboard = 2, all = 3 };

// The modified view's frame reaches, on the chosen edges that lie on the safe area's boundary, out to the
// edge of the hosting view. Only the container region takes room on this platform, so `regions` that
// leave it out change nothing.
struct IgnoresSafeAreaModifier final : detail::Modifier {
  SafeAreaRegions regions = SafeAreaRegions::all;
  Edges edges = Edges::all;
  std::string name() const override { return "ignoresSafeArea"; }
  std::string describe() const override;
};

}  // namespace ui
