// Lengths relative to the font in force (em and rem), resolved to whole points.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>

#include "MarkdownRender/styles/font_properties.h"

namespace MarkdownRender {

struct RelativeSize {
  // `em` measures against the font as drawn (size times scale); `rem` against the base size alone.
  enum class Unit { em, rem };

  double value = 0;
  Unit unit = Unit::em;

  static constexpr RelativeSize em(double value) { return {value, Unit::em}; }
  static constexpr RelativeSize rem(double value) { return {value, Unit::rem}; }
  // 0 rem: a length of nothing whatever the font.
  static const RelativeSize zeroRem;

  // Whole points against the given font record (the default record when absent), rounded to the nearest
  // whole number with halves away from zero. For `em` the effective size is rounded before it is
  // multiplied, so 1.5 em of a 19.5-point font is 30 points, not 29.
  double resolved(const std::optional<FontProperties>& fontProperties) const;

  bool operator==(const RelativeSize&) const = default;
};

inline constexpr RelativeSize RelativeSize::zeroRem = RelativeSize::rem(0);

inline constexpr std::array<RelativeSize::Unit, 2> allRelativeSizeUnits{RelativeSize::Unit::em,
                                                                        RelativeSize::Unit::rem};

}  // namespace MarkdownRender

template <>
struct std::hash<MarkdownRender::RelativeSize> {
  std::size_t operator()(const MarkdownRender::RelativeSize& size) const {
    return std::hash<double>{}(size.value) ^ (static_cast<std::size_t>(size.unit) << 1);
  }
};
