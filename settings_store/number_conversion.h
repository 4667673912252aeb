// The one table of conversions between stored numbers (whole, fractional, truth values) and the numeric
// types a setting may hold. Every read of a number in the store goes through it.
#pragma once

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>
#include <optional>
#include <type_traits>
#include <utility>

namespace Defaults {

// The numeric types a setting stores natively: truth values, whole numbers of every width, fractional
// numbers.
template <class T>
concept NumericValue =
    std::is_arithmetic_v<T> && !std::is_same_v<T, char> && !std::is_same_v<T, wchar_t> &&
    !std::is_same_v<T, char8_t> && !std::is_same_v<T, char16_t> && !std::is_same_v<T, char32_t>;

// The table, by source kind and target type:
//
//   stored \ wanted   truth value   whole number                fractional number
//   truth value       as it is      never                       never
//   whole number      never         when it fits the type       always (nearest value)
//   fractional        never         when exact and it fits      as it is (float: nearest value)
//
// A truth value is never read from a number nor a number from a truth value, so 1 and true stay apart.
template <NumericValue T>
std::optional<T> numberFromBool(bool value) {
  if constexpr (std::is_same_v<T, bool>) {
    return value;
  } else {
    return std::nullopt;
  }
}

// A whole number as stored: signed (std::int64_t) or, beyond its range, unsigned (std::uint64_t).
template <NumericValue T, class Whole>
requires std::same_as<Whole, std::int64_t> || std::same_as<Whole, std::uint64_t> std::optional<T>
numberFromWhole(Whole value) {
  if constexpr (std::is_same_v<T, bool>) {
    return std::nullopt;
  } else if constexpr (std::is_floating_point_v<T>) {
    return static_cast<T>(value);
  } else {
    if (!std::in_range<T>(value)) return std::nullopt;
    return static_cast<T>(value);
  }
}

template <NumericValue T>
std::optional<T> numberFromDouble(double value) {
  if constexpr (std::is_same_v<T, bool>) {
    return std::nullopt;
  } else if constexpr (std::is_floating_point_v<T>) {
    return static_cast<T>(value);
  } else {
    if (!std::isfinite(value) || std::trunc(value) != value) return std::nullopt;
    // The bounds are compared as doubles: 2^63 and 2^64 are exact there, while the types' maxima are not.
    if constexpr (std::is_signed_v<T>) {
      constexpr double lowest = static_cast<double>(std::numeric_limits<T>::min());
      if (value < lowest || value >= -lowest) return std::nullopt;
    } else {
      constexpr double beyond = static_cast<double>(std::numeric_limits<T>::max() / 2 + 1) * 2.0;
      if (value < 0 || value >= beyond) return std::nullopt;
    }
    return static_cast<T>(value);
  }
}

}  // namespace Defaults
