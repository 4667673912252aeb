#include "platform/foundation/http/http_header_fields.h"

#include <algorithm>

namespace foundation {

namespace {

char lowered(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool isSameHeaderName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowered(x) == lowered(y); });
}

void HTTPHeaderFields::setValue(std::string value, std::string_view name) {
  std::erase_if(fields_, [&](const Field& field) { return isSameHeaderName(field.first, name); });
  fields_.emplace_back(std::string(name), std::move(value));
}

void HTTPHeaderFields::addValue(std::string value, std::string name) {
  fields_.emplace_back(std::move(name), std::move(value));
}

std::optional<std::string> HTTPHeaderFields::value(std::string_view name) const {
  for (const auto& field : fields_) {
    if (isSameHeaderName(field.first, name)) return field.second;
  }
  return std::nullopt;
}

}  // namespace foundation
