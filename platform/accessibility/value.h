// Boxed accessibility values: a point, a size, a rectangle, a text range or an error, tagged with the
// platform's kind numbers.
#pragma once

#include <cstdint>
#include <optional>
#include <variant>

#include "platform/accessibility/error.h"
#include "platform/foundation/geometry.h"

namespace ax {

// A range as accessibility counts it: a location and a length in UTF-16 code units, signed (−1 marks a
// missing position).
struct Range {
  std::int64_t location = 0;
  std::int64_t length = 0;
  bool operator==(const Range&) const = default;
};

// The kind of a boxed value, with the platform's numbers.
enum class ValueType : std::uint32_t { illegal = 0, point = 1, size = 2, rect = 3, range = 4, error = 5 };

class Value {
 public:
  using Payload = std::variant<foundation::Point, foundation::Size, foundation::Rect, Range, Error>;

  explicit Value(foundation::Point point) : payload_(point) {}
  explicit Value(foundation::Size size) : payload_(size) {}
  explicit Value(foundation::Rect rect) : payload_(rect) {}
  explicit Value(Range range) : payload_(range) {}
  explicit Value(Error error) : payload_(error) {}

  ValueType type() const;
  // The boxed value when it is of kind T, else nothing.
  template <class T>
  std::optional<T> get() const {
    if (const T* value = std::get_if<T>(&payload_)) return *value;
    return std::nullopt;
  }
  const Payload& payload() const { return payload_; }

  bool operator==(const Value&) const = default;

 private:
  Payload payload_;
};

inline ValueType Value::type() const {
  switch (payload_.index()) {
    case 0:
      return ValueType::point;
    case 1:
      return ValueType::size;
    case 2:
      return ValueType::rect;
    case 3:
      return ValueType::range;
    case 4:
      return ValueType::error;
  }
  return ValueType::illegal;
}

}  // namespace ax
