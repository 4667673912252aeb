#include <algorithm>
#include <array>
#include <cstdint>

#include "settings_store/serialization.h"

namespace Defaults::detail {

namespace {
constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int sextet(char character) {
  if (character >= 'A' && character <= 'Z') return character - 'A';
  if (character >= 'a' && character <= 'z') return character - 'a' + 26;
  if (character >= '0' && character <= '9') return character - '0' + 52;
  if (character == '+') return 62;
  if (character == '/') return 63;
  return -1;
}
}  // namespace

std::string base64Text(const PlistValue::Data& data) {
  std::string text;
  text.reserve((data.size() + 2) / 3 * 4);
  for (std::size_t index = 0; index < data.size(); index += 3) {
    const std::size_t count = std::min<std::size_t>(3, data.size() - index);
    std::uint32_t group = std::uint32_t{data[index]} << 16;
    if (count > 1) group |= std::uint32_t{data[index + 1]} << 8;
    if (count > 2) group |= data[index + 2];
    text += alphabet[(group >> 18) & 63];
    text += alphabet[(group >> 12) & 63];
    text += count > 1 ? alphabet[(group >> 6) & 63] : '=';
    text += count > 2 ? alphabet[group & 63] : '=';
  }
  return text;
}

std::optional<PlistValue::Data> dataOfBase64Text(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  PlistValue::Data data;
  data.reserve(text.size() / 4 * 3);
  for (std::size_t index = 0; index < text.size(); index += 4) {
    const bool isLast = index + 4 == text.size();
    const int padding = isLast ? (text[index + 3] == '=') + (text[index + 2] == '=') : 0;
    if (padding == 1 && text[index + 2] == '=') return std::nullopt;  // "x=" in the middle of a group
    std::uint32_t group = 0;
    for (int offset = 0; offset < 4 - padding; ++offset) {
      const int value = sextet(text[index + offset]);
      if (value < 0) return std::nullopt;
      group = (group << 6) | static_cast<std::uint32_t>(value);
    }
    group <<= 6 * padding;
    data.push_back(static_cast<std::uint8_t>(group >> 16));
    if (padding < 2) data.push_back(static_cast<std::uint8_t>(group >> 8));
    if (padding < 1) data.push_back(static_cast<std::uint8_t>(group));
  }
  return data;
}

}  // namespace Defaults::detail
