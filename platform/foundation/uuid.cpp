#include "platform/foundation/uuid.h"

#include <sys/random.h>

#include <cerrno>
#include <random>

namespace foundation {
namespace {

void fillRandom(UUID::Bytes& bytes) {
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = getrandom(bytes.data() + filled, bytes.size() - filled, 0);
    if (got > 0) {
      filled += static_cast<std::size_t>(got);
    } else if (got < 0 && errno != EINTR) {
      break;
    }
  }
  if (filled == bytes.size()) return;
  // getrandom is unavailable (very old kernels): the library's non-deterministic source instead.
  thread_local std::random_device device;
  for (auto& byte : bytes) byte = static_cast<std::uint8_t>(device());
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isHyphenPosition(std::size_t i) { return i == 8 || i == 13 || i == 18 || i == 23; }

}  // namespace

UUID::UUID() {
  fillRandom(bytes_);
  bytes_[6] = static_cast<std::uint8_t>((bytes_[6] & 0x0F) | 0x40);  // version 4
  bytes_[8] = static_cast<std::uint8_t>((bytes_[8] & 0x3F) | 0x80);  // variant 1 (RFC 4122)
}

std::optional<UUID> UUID::parse(std::string_view text) {
  if (text.size() != 36) return std::nullopt;
  Bytes bytes{};
  std::size_t nibble = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isHyphenPosition(i)) {
      if (text[i] != '-') return std::nullopt;
      continue;
    }
    const int value = hexValue(text[i]);
    if (value < 0) return std::nullopt;
    bytes[nibble / 2] = static_cast<std::uint8_t>(bytes[nibble / 2] | (nibble % 2 == 0 ? value << 4 : value));
    ++nibble;
  }
  return UUID(bytes);
}

std::string UUID::uuidString() const {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(36);
  for (std::size_t i = 0; i < bytes_.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text.push_back('-');
    text.push_back(digits[bytes_[i] >> 4]);
    text.push_back(digits[bytes_[i] & 0x0F]);
  }
  return text;
}

}  // namespace foundation

std::size_t std::hash<foundation::UUID>::operator()(const foundation::UUID& uuid) const noexcept {
  // FNV-1a over the 16 bytes.
  std::uint64_t hash = 1469598103934665603ull;
  for (auto byte : uuid.bytes()) {
    hash ^= byte;
    hash *= 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}
