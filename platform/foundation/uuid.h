// Universally unique identifiers: random version-4 values and their canonical text form.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

class UUID {
 public:
  using Bytes = std::array<std::uint8_t, 16>;

  // A fresh random (version 4, variant 1) identifier from the system's secure random source.
  UUID();
  explicit UUID(const Bytes& bytes) : bytes_(bytes) {}

  // A fresh random identifier (the same as the default constructor, spelled out).
  static UUID random() { return UUID(); }

  // The identifier of a text of 32 hexadecimal digits in groups of 8, 4, 4, 4 and 12 joined by hyphens
  // (either letter case), or nothing for any other text.
  static std::optional<UUID> parse(std::string_view text);

  // The canonical text: 36 characters, upper-case hexadecimal digits, groups 8-4-4-4-12.
  std::string uuidString() const;

  const Bytes& bytes() const { return bytes_; }

  bool operator==(const UUID&) const = default;

 private:
  Bytes bytes_;
};

}  // namespace foundation

template <>
struct std::hash<foundation::UUID> {
  std::size_t operator()(const foundation::UUID& uuid) const noexcept;
};
