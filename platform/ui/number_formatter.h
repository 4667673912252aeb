// Whole numbers as text and back, as a number formatter with the platform's default settings (no
// number style) writes and reads them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ui {

class NumberFormatter {
 public:
  // Decimal digits with a minus sign for negative numbers, without grouping.
  std::string string(std::int64_t value) const;
  // The whole number a text holds: an optional sign and decimal digits, surrounding blanks ignored;
  // nothing for any other text (fractions, exponents, words, an empty text, numbers out of range).
  std::optional<std::int64_t> number(const std::string& text) const;
};

}  // namespace ui
