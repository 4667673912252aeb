// Roman numerals for the markers of numbered lists.
#pragma once

#include <cstdint>
#include <string>

namespace MarkdownRender {

// The number in upper-case roman numerals when it lies in 1 to 3999, otherwise its decimal digits (with a
// leading minus sign when negative).
std::string romanNumeral(std::int64_t number);

}  // namespace MarkdownRender
