#include "MarkdownRender/model/roman_numeral.h"

#include <array>
#include <string_view>
#include <utility>

namespace MarkdownRender {

std::string romanNumeral(std::int64_t number) {
  if (number < 1 || number > 3999) return std::to_string(number);
  static constexpr std::array<std::pair<int, std::string_view>, 13> symbols{{{1000, "M"},
                                                                             {900, "CM"},
                                                                             {500, "D"},
                                                                             {400, "CD"},
                                                                             {100, "C"},
                                                                             {90, "XC"},
                                                                             {50, "L"},
                                                                             {40, "XL"},
                                                                             {10, "X"},
                                                                             {9, "IX"},
                                                                             {5, "V"},
                                                                             {4, "IV"},
                                                                             {1, "I"}}};
  std::string numeral;
  auto remaining = number;
  for (const auto& [value, symbol] : symbols) {
    for (auto count = remaining / value; count > 0; --count) numeral += symbol;
    remaining %= value;
  }
  return numeral;
}

}  // namespace MarkdownRender
