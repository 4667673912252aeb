// Folding several hash values into one, in order (for records whose hash combines their fields).
#pragma once

#include <cstddef>

namespace Quillo::detail {

inline void hashCombine(std::size_t& seed, std::size_t value) {
  seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

}  // namespace Quillo::detail
