// Small setting types of every capability the store selects a bridge by.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/foundation/json_text.h"
#include "platform/foundation/text_error.h"
#include "settings_store/serialization.h"

namespace sample {

// A codable record; its JSON members are written in declaration order.
struct Profile {
  std::string name;
  int age = 0;
  bool operator==(const Profile&) const = default;
};
inline void to_json(foundation::Json& json, const Profile& profile) {
  json = foundation::Json::object();
  json["name"] = profile.name;
  json["age"] = profile.age;
}
inline void from_json(const foundation::Json& json, Profile& profile) {
  profile.name = foundation::requiredString(json, "name");
  profile.age = static_cast<int>(foundation::requiredInteger(json, "age"));
}

// A codable record whose encoding fails for a non-finite score.
struct Score {
  double value = 0;
  bool operator==(const Score&) const = default;
};
inline void to_json(foundation::Json& json, const Score& score) {
  json = foundation::Json{{"value", score.value}};
}
inline void from_json(const foundation::Json& json, Score& score) {
  score.value = foundation::requiredDouble(json, "value");
}

// Codable and raw-representable: coded as its raw text.
enum class Engine { turbo, large };
inline std::string rawValue(Engine engine) { return engine == Engine::turbo ? "gpt-3.5-turbo" : "gpt-4"; }
inline std::optional<Engine> fromRawValue(std::type_identity<Engine>, const std::string& raw) {
  if (raw == "gpt-3.5-turbo") return Engine::turbo;
  if (raw == "gpt-4") return Engine::large;
  return std::nullopt;
}
inline void to_json(foundation::Json& json, const Engine& engine) { json = rawValue(engine); }
inline void from_json(const foundation::Json& json, Engine& engine) {
  auto value = fromRawValue(std::type_identity<Engine>{}, foundation::stringValue(json));
  if (!value) throw foundation::TextError("unknown engine");
  engine = *value;
}

// The same capabilities, but preferring the raw value.
enum class Mode { fast, careful };
inline std::string rawValue(Mode mode) { return mode == Mode::fast ? "fast" : "careful"; }
inline std::optional<Mode> fromRawValue(std::type_identity<Mode>, const std::string& raw) {
  if (raw == "fast") return Mode::fast;
  if (raw == "careful") return Mode::careful;
  return std::nullopt;
}
inline void to_json(foundation::Json& json, const Mode& mode) { json = rawValue(mode); }
inline void from_json(const foundation::Json& json, Mode& mode) {
  mode = fromRawValue(std::type_identity<Mode>{}, foundation::stringValue(json)).value_or(Mode::fast);
}

// Raw-representable only, by text.
enum class Size { small, large };
inline std::string rawValue(Size size) { return size == Size::small ? "small" : "large"; }
inline std::optional<Size> fromRawValue(std::type_identity<Size>, const std::string& raw) {
  if (raw == "small") return Size::small;
  if (raw == "large") return Size::large;
  return std::nullopt;
}

// Raw-representable only, by whole number, with raw-value members.
class Priority {
 public:
  explicit Priority(int level = 0) : level_(level) {}
  int rawValue() const { return level_; }
  static std::optional<Priority> fromRawValue(int raw) {
    if (raw < 0 || raw > 3) return std::nullopt;
    return Priority(raw);
  }
  bool operator==(const Priority&) const = default;

 private:
  int level_;
};

// A half-open range.
template <class B>
struct Range {
  using Bound = B;
  B lowerBound;
  B upperBound;
  bool operator==(const Range&) const = default;
};

// A set-like type stored as its sorted elements.
struct Tags {
  using value_type = std::string;
  std::vector<std::string> sorted;
  std::vector<std::string> elementsArray() const { return sorted; }
  static Tags fromElementsArray(std::vector<std::string> elements) {
    std::sort(elements.begin(), elements.end());
    return Tags{elements};
  }
  bool operator==(const Tags&) const = default;
};

// A collection of records kept in its own order.
struct History {
  using value_type = Profile;
  std::vector<Profile> entries;
  auto begin() const { return entries.begin(); }
  auto end() const { return entries.end(); }
  static History fromElementsArray(std::vector<Profile> elements) { return History{std::move(elements)}; }
  bool operator==(const History&) const = default;
};

// A type archived as a data block.
struct Badge {
  std::uint8_t level = 0;
  bool operator==(const Badge&) const = default;
};

}  // namespace sample

template <>
inline constexpr bool Defaults::prefersRawRepresentable<sample::Mode> = true;

template <>
struct Defaults::SecureCoding<sample::Badge> {
  static std::optional<PlistValue::Data> archivedData(const sample::Badge& badge) {
    if (badge.level == 0) return std::nullopt;  // level 0 cannot be archived
    return PlistValue::Data{'B', badge.level};
  }
  static sample::Badge unarchivedObject(const PlistValue::Data& data) {
    if (data.size() != 2 || data[0] != 'B') throw foundation::TextError("Not a badge archive.");
    return sample::Badge{data[1]};
  }
};
