#include "platform/ui/number_formatter.h"

#include <charconv>
#include <string_view>

namespace ui {

std::string NumberFormatter::string(std::int64_t value) const { return std::to_string(value); }

std::optional<std::int64_t> NumberFormatter::number(const std::string& text) const {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::nullopt;
  const auto last = text.find_last_not_of(" \t");
  std::string_view digits(text.data() + first, last - first + 1);
  // One sign at most: from_chars reads a minus sign itself.
  if (!digits.empty() && digits.front() == '+') {
    digits.remove_prefix(1);
    if (!digits.empty() && digits.front() == '-') return std::nullopt;
  }
  if (digits.empty()) return std::nullopt;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

}  // namespace ui
