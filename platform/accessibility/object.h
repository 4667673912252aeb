// The untyped values accessibility calls hand over: nothing, a string, a number, a boolean, an element, a
// boxed value or an array of these.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/accessibility/element.h"
#include "platform/accessibility/value.h"

namespace ax {

// The type of an object, as a type check sees it.
enum class ObjectType { null, string, number, boolean, element, value, array };

class Object {
 public:
  struct Number {
    double value = 0;
    bool operator==(const Number&) const = default;
  };
  using Array = std::vector<Object>;

  Object() = default;
  Object(std::string string) : storage_(std::move(string)) {}
  Object(const char* string) : storage_(std::string(string)) {}
  Object(Number number) : storage_(number) {}
  Object(bool boolean) : storage_(boolean) {}
  Object(Element element) : storage_(element) {}
  Object(Value value) : storage_(std::move(value)) {}
  Object(Array array) : storage_(std::move(array)) {}

  ObjectType type() const { return static_cast<ObjectType>(storage_.index()); }
  bool isNull() const { return type() == ObjectType::null; }

  // The content when the object is of that type, else null / nothing.
  const std::string* string() const { return std::get_if<std::string>(&storage_); }
  std::optional<double> number() const;
  std::optional<bool> boolean() const;
  const Element* element() const { return std::get_if<Element>(&storage_); }
  const Value* value() const { return std::get_if<Value>(&storage_); }
  const Array* array() const { return std::get_if<Array>(&storage_); }

  bool operator==(const Object&) const = default;

 private:
  std::variant<std::monostate, std::string, Number, bool, Element, Value, Array> storage_;
};

inline std::optional<double> Object::number() const {
  if (const Number* n = std::get_if<Number>(&storage_)) return n->value;
  return std::nullopt;
}

inline std::optional<bool> Object::boolean() const {
  if (const bool* b = std::get_if<bool>(&storage_)) return *b;
  return std::nullopt;
}

}  // namespace ax
