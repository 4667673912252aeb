#include "Quillo/web_chat/data_url.h"

#include <array>
#include <cstdint>

namespace Quillo {
namespace {

constexpr std::array<int, 256> kBase64Values = [] {
  std::array<int, 256> values{};
  values.fill(-1);
  constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (std::size_t i = 0; i < alphabet.size(); ++i)
    values[static_cast<unsigned char>(alphabet[i])] = static_cast<int>(i);
  return values;
}();

bool equalsIgnoringASCIICase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> decodedBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::size_t padding = 0;
  if (!text.empty() && text.back() == '=') ++padding;
  if (text.size() >= 2 && text[text.size() - 2] == '=') ++padding;
  std::string bytes;
  bytes.reserve(text.size() / 4 * 3);
  std::uint32_t accumulator = 0;
  const std::size_t dataLength = text.size() - padding;
  for (std::size_t i = 0; i < dataLength; ++i) {
    const int value = kBase64Values[static_cast<unsigned char>(text[i])];
    if (value < 0) return std::nullopt;  // also a "=" before the end
    accumulator = (accumulator << 6) | static_cast<std::uint32_t>(value);
    if (i % 4 == 3) {
      bytes.push_back(static_cast<char>((accumulator >> 16) & 0xFF));
      bytes.push_back(static_cast<char>((accumulator >> 8) & 0xFF));
      bytes.push_back(static_cast<char>(accumulator & 0xFF));
      accumulator = 0;
    }
  }
  // The last, padded group: two characters give one byte, three give two; the bits left over must be zero.
  if (padding == 2) {
    if (accumulator & 0xF) return std::nullopt;
    bytes.push_back(static_cast<char>((accumulator >> 4) & 0xFF));
  } else if (padding == 1) {
    if (accumulator & 0x3) return std::nullopt;
    bytes.push_back(static_cast<char>((accumulator >> 10) & 0xFF));
    bytes.push_back(static_cast<char>((accumulator >> 2) & 0xFF));
  }
  return bytes;
}

std::optional<DataURLPayload> decodedDataURL(std::string_view url) {
  constexpr std::string_view scheme = "data:";
  if (url.size() < scheme.size() || !equalsIgnoringASCIICase(url.substr(0, scheme.size()), scheme)) {
    return std::nullopt;
  }
  const auto rest = url.substr(scheme.size());
  const auto comma = rest.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const auto header = rest.substr(0, comma);
  const auto payload = rest.substr(comma + 1);
  // The header is "<media type>;<parameter>...;base64"; the Base64 mark must be the last parameter.
  constexpr std::string_view mark = ";base64";
  if (header.size() < mark.size() ||
      !equalsIgnoringASCIICase(header.substr(header.size() - mark.size()), mark)) {
    return std::nullopt;
  }
  if (payload.empty()) return std::nullopt;
  auto bytes = decodedBase64(payload);
  if (!bytes) return std::nullopt;
  const auto beforeMark = header.substr(0, header.size() - mark.size());
  return DataURLPayload{std::string(beforeMark.substr(0, beforeMark.find(';'))), std::move(*bytes)};
}

}  // namespace Quillo
