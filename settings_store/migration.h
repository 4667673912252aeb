// Rewrites settings kept as JSON text by the store's earlier format into their current stored form.
#pragma once

#include <optional>
#include <type_traits>

#include "platform/foundation/json_text.h"
#include "settings_store/key.h"

namespace Defaults {

// The stored format a migration leads to; 5 is the only one.
enum class Version { v5 = 5 };

inline int rawValue(Version version) { return static_cast<int>(version); }
inline std::optional<Version> fromRawValue(std::type_identity<Version>, int raw) {
  if (raw == 5) return Version::v5;
  return std::nullopt;
}

// Rewrites one key's stored JSON text: the text the suite answers for the key's name (a stored number
// answers with its decimal text; a registered default counts) is decoded as one JSON value of the key's
// type and written through the key, so a natively stored type ends in its native form. Nothing stored,
// invalid JSON or a value of the wrong shape leave the key as it was, silently.
template <Serializable Value>
requires detail::JsonConvertible<Value>
void migrateStoredValue(const Key<Value>& key, Version = Version::v5) {
  auto& suite = *key.suite();
  const auto text = suite.stringForKey(key.name());
  if (!text) return;
  const auto json = foundation::parseJsonIfValid(*text);
  if (!json) return;
  auto value = detail::valueOfJson<Value>(*json);
  if (!value) return;
  storeValue(suite, *value, key);
}

// Migrates each key in order; a key that fails is left as it was and the others go on.
template <class... Values>
void migrateStoredValues(Version version, const Key<Values>&... keys) {
  (migrateStoredValue(keys, version), ...);
}

}  // namespace Defaults
