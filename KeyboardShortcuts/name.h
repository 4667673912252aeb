// The name of a user-assignable global shortcut, and the two kinds of hot-key event.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "KeyboardShortcuts/shortcut.h"

namespace KeyboardShortcuts {

// A name; its raw value is also the suffix of its storage key. Equality and hashing use the raw value
// only, so two names with the same text and different defaults are the same name.
struct Name {
  std::string rawValue;
  std::optional<Shortcut> defaultShortcut;

  // A name without default; touches nothing.
  explicit Name(std::string rawValue) : rawValue(std::move(rawValue)) {}
  // A name with a default: when the user defaults hold no value at all under the name's key (a stored
  // false counts as a value), the default is stored at once (registered and announced as well). Call it
  // on the main thread.
  Name(std::string rawValue, std::optional<Shortcut> defaultShortcut);

  // The user-defaults key of the name: "KeyboardShortcuts_" followed by the raw value.
  std::string storageKey() const { return "KeyboardShortcuts_" + rawValue; }

  bool operator==(const Name& other) const { return rawValue == other.rawValue; }
};

enum class EventType { keyDown, keyUp };
inline constexpr std::array<EventType, 2> kAllEventTypes{EventType::keyDown, EventType::keyUp};

}  // namespace KeyboardShortcuts

template <>
struct std::hash<KeyboardShortcuts::Name> {
  std::size_t operator()(const KeyboardShortcuts::Name& name) const noexcept {
    return std::hash<std::string>{}(name.rawValue);
  }
};
