// Mixing of hash values for the document model's value types.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace MarkdownRender::detail {

// Folds one more value into a running hash (order-sensitive, so [a, b] and [b, a] differ).
inline void hashCombine(std::size_t& seed, std::size_t value) {
  std::uint64_t x = static_cast<std::uint64_t>(seed) ^
                    (static_cast<std::uint64_t>(value) + 0x9e3779b97f4a7c15ULL +
                     (static_cast<std::uint64_t>(seed) << 6) + (static_cast<std::uint64_t>(seed) >> 2));
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  seed = static_cast<std::size_t>(x);
}

template <class T>
void hashValue(std::size_t& seed, const T& value) {
  hashCombine(seed, std::hash<T>{}(value));
}

}  // namespace MarkdownRender::detail
