// Typed settings: keys with registered defaults, reading, writing and removing stored values.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/foundation/user_defaults.h"
#include "settings_store/serializable.h"

namespace Defaults {

// The untyped part of a key: the name under which the value is stored and the suite that holds it.
// Two keys are equal when their names are equal and their suites are the same suite.
class AnyKey {
 public:
  AnyKey(std::string name, std::shared_ptr<foundation::UserDefaults> suite);
  virtual ~AnyKey() = default;

  const std::string& name() const { return name_; }
  const std::shared_ptr<foundation::UserDefaults>& suite() const { return suite_; }

  // Removes the stored value; a registered default shows again.
  virtual void removeStoredValue() const;

  bool operator==(const AnyKey& other) const;
  std::size_t hashValue() const;

 private:
  std::string name_;
  std::shared_ptr<foundation::UserDefaults> suite_;
};

// The process's standard suite, the suite of keys made without one.
inline std::shared_ptr<foundation::UserDefaults> standardSuite() {
  return foundation::UserDefaults::standard();
}

// One typed setting. A key does not cache its value: every read goes to the suite.
template <Serializable Value>
class Key : public AnyKey {
 public:
  // A key with a default value, which is registered with the suite (unless it is empty or has no stored
  // form); reads fall back to it.
  Key(std::string name, Value defaultValue, std::shared_ptr<foundation::UserDefaults> suite = standardSuite())
      : AnyKey(std::move(name), std::move(suite)),
        defaultValueGetter_([defaultValue] { return defaultValue; }) {
    registerDefault(defaultValue);
  }

  // A key of an optional value without a default: the default is the empty optional; nothing is
  // registered.
  explicit Key(std::string name, std::shared_ptr<foundation::UserDefaults> suite = standardSuite()) requires
      IsOptional<Value>::value : AnyKey(std::move(name), std::move(suite)),
                                 defaultValueGetter_([] { return Value(); }) {}

  // A key whose default is computed anew at each use; nothing is registered.
  Key(std::string name, std::shared_ptr<foundation::UserDefaults> suite,
      std::function<Value()> defaultValueGetter)
      : AnyKey(std::move(name), std::move(suite)), defaultValueGetter_(std::move(defaultValueGetter)) {}

  Value currentDefault() const { return defaultValueGetter_(); }
  const std::function<Value()>& defaultValueGetter() const { return defaultValueGetter_; }

 private:
  void registerDefault(const Value& defaultValue) const {
    if (isNilValue(defaultValue)) return;
    auto stored = storableValue<Value>(defaultValue);
    if (!stored) return;
    suite()->registerDefaults({{name(), std::move(*stored)}});
  }

  std::function<Value()> defaultValueGetter_;
};

// Reads the key's value from `suite` (not from the key's own suite): the stored object converted to the
// key's type, else the key's default. A stored object that does not convert is left in place.
template <Serializable Value>
Value valueOrDefault(const foundation::UserDefaults& suite, const Key<Value>& key) {
  auto object = suite.objectForKey(key.name());
  if (!object) return key.currentDefault();
  if (auto value = typedValue<Value>(*object)) return std::move(*value);
  return key.currentDefault();
}

// Writes the value under the key's name into `suite`. An empty value removes the stored entry. A value
// without a stored form (its bridge failed and printed why) changes nothing: what was stored stays.
template <Serializable Value>
void storeValue(foundation::UserDefaults& suite, const std::type_identity_t<Value>& value,
                const Key<Value>& key) {
  if (isNilValue(value)) {
    suite.removeObject(key.name());
    return;
  }
  auto stored = storableValue<Value>(value);
  if (!stored) return;
  suite.setObject(std::move(*stored), key.name());
}

// The setting's value, read through the key's own suite.
template <Serializable Value>
Value get(const Key<Value>& key) {
  return valueOrDefault(*key.suite(), key);
}

// Writes the setting through the key's own suite.
template <Serializable Value>
void set(const Key<Value>& key, const std::type_identity_t<Value>& value) {
  storeValue(*key.suite(), value, key);
}

// Reads the value, lets `change` modify it and writes the result back, also when `change` throws.
template <Serializable Value, class Change>
void modify(const Key<Value>& key, Change&& change) {
  Value value = get(key);
  struct WriteBack {
    const Key<Value>& key;
    Value& value;
    ~WriteBack() { set(key, value); }
  } writeBack{key, value};
  std::forward<Change>(change)(value);
}

// Removes the stored values of the keys, in order, each from its own suite.
void removeStoredValues(const std::vector<const AnyKey*>& keys);
void removeStoredValues(std::initializer_list<std::reference_wrapper<const AnyKey>> keys);
// Removes the stored values of the names, in order, from the suite.
void removeStoredValues(const std::vector<std::string>& names, foundation::UserDefaults& suite);
// Removes every value the suite lists (registered ones stay registered).
void removeAllStoredValues(foundation::UserDefaults& suite);

// Whether a name can serve as an observable key name: it does not begin with "@" and holds only ASCII
// characters other than ".". The empty name is usable.
bool isUsableKeyName(std::string_view name);

}  // namespace Defaults

template <>
struct std::hash<Defaults::AnyKey> {
  std::size_t operator()(const Defaults::AnyKey& key) const { return key.hashValue(); }
};
